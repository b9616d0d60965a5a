#include "game/game_run.h"

#include "diagnostics/dddd_log.h"
#include "game/main_form.h"
#include "game/run_frame_sink.h"
#include "game/replay_folder.h"
#include "game/run_sounds.h"
#include "game/scene_composer.h"
#include "game/watch_overlay.h"
#include "game/online_overlay.h"
#include "platform/component/desktop.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QRect>
#include <QScreen>

#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <string>

namespace game {

namespace {

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr std::int32_t kBitCount = 16;

constexpr char kTrueColourAdvice[] =
    "画面の色がTrue Colorになっています。\r動作が遅い場合は、画面の色数をHigh Color(16 ﾋﾞｯﾄ)に設定しましょう。";
constexpr char kHighColourRequired[] = "画面の色数をHigh Color(16 ﾋﾞｯﾄ)に設定してから起動して下さい。";
constexpr char kRunDisturbed[] = "ゲームの実行が妨害されました。終了します。";

// The picture files in sheet order.
constexpr const char* kSheetFiles[] = {"haikei.bmp", "char.bmp", "kai_g.bmp", "kai_p.bmp"};
constexpr Sheet kSheets[] = {Sheet::Background, Sheet::Characters, Sheet::Pimuru1, Sheet::Pimuru2};

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(kWidth, kHeight);
}

} // namespace

GameRun::GameRun(Tfrm_main& form)
    : form_(form), desktop_(ui::CurrentDesktop()), canvas_(*form.DDDD1), devices_(form) {}

GameRun::GameRun(Tfrm_main& form, play::ReplayPlayback& watching, const play::WatchKeys& keys)
    : GameRun(form) {
    watching_ = &watching;
    watchKeys_ = &keys;
}

GameRun::GameRun(Tfrm_main& form, OnlineConnection& connection) : GameRun(form) {
    connection_ = &connection;
}

GameRun::~GameRun() = default;

void GameRun::Execute() {
    desktop_.ShowCursor(false);
    try {
        if (!StartUp())
            return;
        RunFrames();
        // Before the launcher is back, so that what the player sees next is
        // a launcher ready for them.
        SaveRecording();
        EndRun();
        if (!endMessage_.empty())
            desktop_.ShowMessage(Tfrm_main::MessageCaption(), endMessage_, ui::MessageKind::Information);
    } catch (const std::exception& error) {
        // The message tells the player; the log keeps the cause.
        dddd::ReportMessage(std::string("ゲームの実行が妨害されました(") + error.what() + ")");
        SaveRecording();
        Fail();
    }
}

bool GameRun::StartUp() {
    form_.KeyState.ClearKeys();
    // Pads plugged in or pulled out while the launcher showed take their
    // places in this run.
    if (form_.DDIDEX1->JoysticksChanged())
        form_.DDIDEX1->Initialize();
    LoadSounds();
    coupleMode_ = watching_ ? watching_->Recorded().CoupleMode : form_.CheckBox2->isChecked();
    hard_ = watching_ ? watching_->Recorded().Hard : form_.CheckBox4->isChecked();
    if (connection_) {
        // The host's options decide an online run.
        coupleMode_ = connection_->Start.Run.CoupleMode;
        hard_ = connection_->Start.Run.Hard;
    }
    savedClientWidth_ = form_.ClientWidth();
    savedClientHeight_ = form_.ClientHeight();
    savedPlace_ = form_.Widget()->geometry().topLeft();
    ReshapeForGame();
    form_.DDDD1->SetSurfaceLocation(form_.CheckBox3->isChecked() ? dddd::smtSystemMemory
                                                                 : dddd::smtVideoMemory);
    if (!SetUpDisplay())
        return false;
    ShowTitle();
    StartMusic(*form_.MediaPlayer1, desktop_);
    LoadPictures();
    if (connection_) {
        // Online each machine's devices steer its own player's pimuru; the
        // partner on the other machine takes the other.
        online_ = std::make_unique<play::OnlinePlay>(form_.GameWorld(), connection_->Start, devices_, clock_,
                                                     connection_->Link->Transport(), PIMURU_VERSION);
        // For whoever started the game from a script or a shortcut's log.
        std::cerr << "pimuru: the online run starts as " << (connection_->Start.Host ? "host" : "guest") << '\n';
    } else if (!watching_) {
        // The partners draw from a seed of their own, taken from the world's
        // so that a run is the same from the same start.
        seated_ = std::make_unique<partner::SeatedInput>(devices_, form_.SeatChoice->Choice(),
                                                         form_.GameWorld().RandomSeed());
        live_ = std::make_unique<play::LivePlay>(form_.GameWorld(), coupleMode_, hard_, *seated_,
                                                 PIMURU_VERSION, std::time(nullptr));
    }
    form_.KeyState.QuitRequest = 0;
    desktop_.SwitchImeOff(form_.Handle());
    return true;
}

void GameRun::LoadSounds() {
    for (int n = 0; n < kSoundCount; ++n) {
        sounds_[n] = std::make_unique<ddsd::TDDSDWaveData>(form_.DDSD1,
                                                          "se" + std::to_string(n + 1) + ".wav");
        form_.DDSD1->GetChannel(n)->setWaveData(sounds_[n].get());
    }
}

void GameRun::ReshapeForGame() {
    const QSize screen = ScreenSize();
    form_.Hide();
    form_.SetClientWidth(kWidth);
    form_.SetClientHeight(kHeight);
    form_.SetTop(screen.height() / 2 - kHeight / 2);
    form_.SetLeft(screen.width() / 2 - kWidth / 2);
    form_.Show();
    form_.Panel1->hide();
}

bool GameRun::SetUpDisplay() {
    dddd::TDDDD& display = *form_.DDDD1;
    if (form_.CheckBox1->isChecked()) {
        display.Initialize(true, kWidth, kHeight, kBitCount, 0, "");
        return true;
    }
    // Online the partner is already waiting: a box that waits for a click
    // could outlast their patience, and this one only advises.
    if (display.GetScreenBitsPerPixel() > kBitCount && !connection_) {
        desktop_.ShowCursor(true);
        desktop_.ShowMessage(Tfrm_main::MessageCaption(), kTrueColourAdvice,
                             ui::MessageKind::Information);
        desktop_.ShowCursor(false);
    }
    if (display.GetScreenBitsPerPixel() < kBitCount) {
        desktop_.ShowCursor(true);
        form_.SetWindowState(ui::TWindowState::wsMinimized);
        desktop_.ShowMessage(Tfrm_main::MessageCaption(), kHighColourRequired,
                             ui::MessageKind::Information);
        form_.KeyState.QuitRequest = -1;
        form_.RequestTerminate(EXIT_FAILURE);
        return false;
    }
    display.Initialize(false, kWidth, kHeight, kBitCount, 0, "");
    return true;
}

void GameRun::ShowTitle() {
    dddd::TDDDD& display = *form_.DDDD1;
    display.Clear();
    display.Flip();
    display.Clear();
    display.Flip();
    display.Clear();
    SceneComposer::DrawTitle(canvas_);
    display.Flip();
}

void GameRun::LoadPictures() {
    for (auto& sheet : sheets_)
        sheet = std::make_unique<dddd::TDDDDSurface>(form_.DDDD1, kWidth, kHeight, 0);
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        sheets_[i]->LoadFromFile(kSheetFiles[i]);
        canvas_.SetSheet(kSheets[i], sheets_[i].get());
    }
    dddd::TDDDDSurface& background = *sheets_[0];
    background.SetColorKey(background.ColorMatch(0x000000));
}

void GameRun::RunFrames() {
    RunFrameSink sink(canvas_, *form_.DDSD1, *form_.MediaPlayer1);
    play::FrameDriver& driver = watching_ ? static_cast<play::FrameDriver&>(*watching_)
                                : online_ ? static_cast<play::FrameDriver&>(*online_)
                                          : *live_;
    WatchOverlay overlay(canvas_);
    OnlineOverlay onlineOverlay(canvas_, connection_ && connection_->Link->Relayed());
    bool musicHeld = false;
    // A run also ends when the program is asked to end while it starts (a
    // signal or a close while the colour advice shows). An online run goes on
    // a moment more, to end at the same frame as its partner.
    while (driver.Continue(form_.KeyState.QuitRequest != 0 || form_.TerminateRequested())) {
        if (watching_)
            overlay.Show(watchKeys_->OverlayShown());
        driver.Advance(sink);
        if (watching_) {
            overlay.Draw(*watching_);
            // The music waits while the picture stands still.
            const bool still = watching_->Paused() || watching_->AtEnd();
            if (still != musicHeld)
                HoldMusic(*form_.MediaPlayer1, musicHeld = still);
        }
        if (online_)
            onlineOverlay.Draw(*online_, form_.OnlineLineShown);
        form_.Pacer().WaitFrame(driver.ExtraFrameMs());
        form_.DDDD1->Flip();
    }
}

void GameRun::SaveRecording() {
    if (!live_ && !online_)
        return;
    // A replay that cannot be kept is lost with a log line, never the run.
    std::string error;
    try {
        const replay::Replay replay = live_ ? live_->Finish() : online_->Finish();
        live_.reset();
        std::string desyncReport;
        if (online_) {
            endMessage_ = online_->EndMessage();
            desyncReport = online_->DesyncReport();
        }
        online_.reset();
        const std::string kept = game::KeepReplay(replay, ReplayFolder(), error);
        if (kept.empty())
            dddd::ReportMessage("リプレイを保存できません(" + error + ")");
        else if (!desyncReport.empty() && !game::KeepDesyncReport(kept, desyncReport, error))
            dddd::ReportMessage("ずれの報告を保存できません(" + error + ")");
    } catch (const std::exception& failure) {
        dddd::ReportMessage(std::string("リプレイを保存できません(") + failure.what() + ")");
    }
    live_.reset();
    online_.reset();
}

void GameRun::EndRun() {
    EndMusic(*form_.MediaPlayer1);
    for (std::size_t i = sheets_.size(); i-- > 0;) {
        canvas_.SetSheet(kSheets[i], nullptr);
        sheets_[i].reset();
    }
    for (std::size_t n = sounds_.size(); n-- > 0;)
        sounds_[n].reset();
    form_.DDDD1->Initialize(false, kWidth, kHeight, kBitCount, 0, "");
    desktop_.ShowCursor(true);
    RestoreLauncher();
    // The run's pictures and sounds are gone; hand their memory back to the
    // system so that runs in a row do not keep the heap at its high mark.
    malloc_trim(0);
}

// The launcher comes back where the player left it (centred on the screen
// unless they moved it). Its inside goes back to its place: a place for the
// frame would be worked out from the frame's size as last known, which a
// full-screen window does not have. It takes its own fixed size while it is
// hidden: a window manager draws the frame for the size limits the window
// has when it is shown, and may keep a resize handle from limits that
// change while it shows.
void GameRun::RestoreLauncher() {
    form_.Hide();
    form_.SetBorderStyle(ui::TBorderStyle::bsDialog);
    form_.SetClientWidth(savedClientWidth_);
    form_.SetClientHeight(savedClientHeight_);
    form_.Widget()->setGeometry(QRect(savedPlace_, form_.Widget()->size()));
    form_.Panel1->show();
    form_.Show();
    form_.BitBtn1->setFocus();
}

void GameRun::Fail() {
    desktop_.ShowCursor(true);
    form_.SetWindowState(ui::TWindowState::wsMinimized);
    desktop_.ShowMessage(Tfrm_main::MessageCaption(), kRunDisturbed, ui::MessageKind::Error);
    form_.RequestTerminate(EXIT_FAILURE);
}

} // namespace game
