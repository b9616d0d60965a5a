#include "game/main_form.h"

#include "game/game_run.h"
#include "game/help.h"
#include "game/launcher_pictures.h"
#include "game/online_connect.h"
#include "game/recent_joins.h"
#include "game/replay_folder.h"
#include "game/replay_list.h"
#include "game/scene_canvas.h"
#include "base/tick_count.h"
#include "base/user_folders.h"
#include "platform/component/desktop.h"
#include "platform/ui/fonts.h"
#include "play/replay_playback.h"
#include "play/watch_keys.h"

#include <QApplication>
#include <QEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <ctime>
#include <iostream>
#include <utility>

namespace game {

namespace {

constexpr char kFormFace[] = "ＭＳ ゴシック";

QColor ToQColor(std::uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

QFont FormFont(int pixels, bool bold = false) {
    QFont font = ui::MakeFont(kFormFace, pixels);
    font.setBold(bold);
    return font;
}

// The text colour of a label, button or check box.
void SetTextColour(QWidget* widget, std::uint32_t rgb) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(rgb));
    palette.setColor(QPalette::ButtonText, ToQColor(rgb));
    palette.setColor(QPalette::Text, ToQColor(rgb));
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* caption, int left, int top, int width, int height,
                  const QFont& font, std::uint32_t colour) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(left, top, width, height);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* caption, int left, int top, int width,
                        int height, const QFont& font, std::uint32_t colour, const char* glyphFile,
                        QSize glyphSize) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setGeometry(left, top, width, height);
    button->setFont(font);
    SetTextColour(button, colour);
    const QPixmap glyph = LoadButtonGlyph(QString::fromUtf8(glyphFile));
    if (!glyph.isNull()) {
        button->setIcon(QIcon(glyph));
        button->setIconSize(glyphSize);
    }
    return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* caption, int left, int top, int width,
                        int height, const QFont& font, std::uint32_t colour) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setGeometry(left, top, width, height);
    box->setFont(font);
    SetTextColour(box, colour);
    return box;
}

// Keeps the launcher's panel in the middle of a form that a desktop made
// larger than the panel (a compositor's maximise, say).
class PanelCentring : public QObject {
public:
    PanelCentring(QWidget* form, QWidget* panel) : QObject(form), form_(form), panel_(panel) {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == form_ && event->type() == QEvent::Resize)
            panel_->move(std::max(0, (form_->width() - panel_->width()) / 2),
                         std::max(0, (form_->height() - panel_->height()) / 2));
        return false;
    }

private:
    QWidget* form_;
    QWidget* panel_;
};

constexpr std::uint32_t kBlue = Rgb(0, 0, 255);
constexpr std::uint32_t kRed = Rgb(255, 0, 0);
constexpr std::uint32_t kPink = Rgb(255, 0, 128);
constexpr std::uint32_t kGreen = Rgb(0, 128, 0);
constexpr std::uint32_t kWindowText = Rgb(0, 0, 0);

} // namespace

Tfrm_main::Tfrm_main()
    : Tfrm_main(FramePacer([] { return base::GetTickCount(); },
                           FramePacer::SleepThenHandle([] { ui::CurrentDesktop().ProcessMessages(); }))) {}

Tfrm_main::Tfrm_main(FramePacer pacer) : pacer_(std::move(pacer)) {
    Name = "frm_main";
    // The form's own handlers come first: the display component keeps the
    // creation handler it finds and runs it after its own set-up.
    OnCreate = [this] { FormCreate(); };
    OnClose = [this](ui::TCloseAction& action) {
        FormClose(action);
        // Closing the main window ends the program.
        if (action != ui::TCloseAction::caNone && action != ui::TCloseAction::caMinimize)
            RequestTerminate();
    };
    OnKeyDown = [this](std::uint16_t& key, ui::TShiftState shift) { FormKeyDown(key, shift); };
    OnKeyUp = [this](std::uint16_t& key, ui::TShiftState shift) { FormKeyUp(key, shift); };
    OnDeactivate = [this] { FormDeactivate(); };

    SetCaption("ぴむるのゲーム Ver.1.1");
    SetColor(0x000000);
    Widget()->setFont(FormFont(12));
    const QIcon icon = LoadWindowIcon(QStringLiteral("icon.bmp"));
    if (!icon.isNull())
        Widget()->setWindowIcon(icon);
    SetClientWidth(501);
    SetClientHeight(256);
    SetBorderStyle(ui::TBorderStyle::bsDialog);

    CreateControls();
    CreateComponents();
    CentreOnDesktop();
    FinishLoading();
}

Tfrm_main::~Tfrm_main() = default;

void Tfrm_main::CreateControls() {
    Panel1 = new QFrame(Widget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 501, 256);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    // The default panel look: button face, not the form's black.
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    Panel1->setPalette(panelPalette);
    Panel1->setAutoFillBackground(true);
    new PanelCentring(Widget(), Panel1);

    Label9 = MakeLabel(Panel1, "KUZのミニゲームシリーズ１", 176, 16, 150, 12, FormFont(12), kBlue);
    Label8 = MakeLabel(Panel1, "ぴむるのゲーム", 144, 32, 225, 27, FormFont(27, true), kPink);
    BitBtn2 = MakeButton(Panel1, "遊び方", 32, 80, 145, 77, FormFont(16, true), kGreen, "help.bmp",
                         QSize(34, 30));
    BitBtn1 = MakeButton(Panel1, "ぴむるゲーム スタート", 200, 80, 271, 77, FormFont(16, true), kPink,
                         "start.bmp", QSize(32, 69));
    CheckBox1 = MakeCheckBox(Panel1, "大きな画面で遊ぶ", 78, 192, 153, 13, FormFont(12), kBlue);
    CheckBox4 = MakeCheckBox(Panel1, "難しくする。", 214, 192, 99, 13, FormFont(12), kRed);
    CheckBox2 = MakeCheckBox(Panel1, "カップルモード", 326, 192, 115, 13, FormFont(12), kPink);
    CheckBox3 = MakeCheckBox(Panel1, "VRAMモード切替（動作が遅い時、速くできる場合があります）", 78,
                             214, 355, 13, FormFont(12), kWindowText);
    ReplayButton = new QPushButton(QStringLiteral("リプレイ…"), Panel1);
    ReplayButton->setObjectName(QStringLiteral("ReplayButton"));
    ReplayButton->setGeometry(371, 229, 100, 20);
    ReplayButton->setFont(FormFont(12));
    SetTextColour(ReplayButton, kWindowText);
    OnlineButton = new QPushButton(QStringLiteral("オンライン…"), Panel1);
    OnlineButton->setObjectName(QStringLiteral("OnlineButton"));
    OnlineButton->setGeometry(259, 229, 106, 20);
    OnlineButton->setFont(FormFont(12));
    SetTextColour(OnlineButton, kWindowText);
    CheckBox1->setChecked(true);
    // Between the outer edges of the help and start buttons.
    SeatChoice = std::make_unique<SeatChoiceBox>(Panel1, 163, 32, 471);

    QWidget::setTabOrder(BitBtn2, BitBtn1);
    QWidget::setTabOrder(BitBtn1, CheckBox1);
    QWidget::setTabOrder(CheckBox1, CheckBox4);
    QWidget::setTabOrder(CheckBox4, CheckBox2);
    QWidget::setTabOrder(CheckBox2, CheckBox3);
    QWidget::setTabOrder(CheckBox3, SeatChoice->List(0));
    QWidget::setTabOrder(SeatChoice->List(0), SeatChoice->List(1));
    QWidget::setTabOrder(SeatChoice->List(1), OnlineButton);
    QWidget::setTabOrder(OnlineButton, ReplayButton);

    QObject::connect(BitBtn1, &QPushButton::clicked, [this] { BitBtn1Click(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, [this] { BitBtn2Click(); });
    QObject::connect(ReplayButton, &QPushButton::clicked, [this] { ReplayButtonClick(); });
    QObject::connect(OnlineButton, &QPushButton::clicked, [this] { OnlineButtonClick(); });
}

void Tfrm_main::CreateComponents() {
    DDIDEX1 = new ddid::TDDIDEX(this);
    DDIDEX1->Name = "DDIDEX1";
    DDIDEX1->BackGround = true;

    DDDD1 = new dddd::TDDDD(this);
    DDDD1->Name = "DDDD1";
    DDDD1->SetDisplayMode(dddd::dmWin640x480x16);
    DDDD1->BackColor = 0;
    DDDD1->AutoDisplayModeInitialize = false;
    DDDD1->SetDisableScreenSaver(true);
    DDDD1->Use3D = false;
    DDDD1->D3DOptions = 0;
    DDDD1->VsyncAtWindowed = true;
    DDDD1->AllowRakugaki = false;

    DDSD1 = new ddsd::TDDSD(this);
    DDSD1->Name = "DDSD1";

    MediaPlayer1 = new TMediaPlayer(this);
    MediaPlayer1->Name = "MediaPlayer1";
    MediaPlayer1->FileName = "TIME.MID";
    MediaPlayer1->Visible = false;
    MediaPlayer1->AutoEnable = false;
    MediaPlayer1->TabStop = false;
}

void Tfrm_main::FormCreate() {}

void Tfrm_main::FormClose(ui::TCloseAction&) { KeyState.QuitRequest = -1; }

void Tfrm_main::FormKeyDown(std::uint16_t& key, ui::TShiftState shift) {
    if (watchKeys_ && (shift & (ui::ssCtrl | ui::ssAlt)) == 0 && watchKeys_->KeyDown(key))
        return;
    if (online_ && (shift & (ui::ssCtrl | ui::ssAlt)) == 0 && key == 'H') {
        OnlineLineShown = !OnlineLineShown;
        return;
    }
    KeyState.KeyDown(key, shift, KeyScanCode());
}

void Tfrm_main::FormKeyUp(std::uint16_t& key, ui::TShiftState) { KeyState.KeyUp(key, KeyScanCode()); }

// Keys let go while another window has the keyboard never come back as
// releases here: no key may stay held.
void Tfrm_main::FormDeactivate() { KeyState.ClearKeys(); }

void Tfrm_main::BitBtn1Click() {
    // The launcher is hidden while a run lasts; a click that still gets
    // through must not start a second run inside the first.
    if (running_)
        return;
    running_ = true;
    GameRun run(*this);
    run.Execute();
    running_ = false;
}

void Tfrm_main::BitBtn2Click() {
    if (HelpWindow)
        HelpWindow->ShowModal();
}

void Tfrm_main::ReplayButtonClick() {
    if (running_)
        return;
    ReplayList list(Widget(), ReplayFolder());
    if (list.exec() == QDialog::Accepted)
        WatchReplay(list.Chosen());
}

void Tfrm_main::WatchReplay(const std::string& path) {
    if (running_)
        return;
    replay::DecodedReplay read = replay::ReadReplayFile(path);
    if (!read.Value) {
        ui::CurrentDesktop().ShowMessage(MessageCaption(), read.Error, ui::MessageKind::Error);
        return;
    }
    running_ = true;
    play::ReplayPlayback playback(std::move(*read.Value));
    play::WatchKeys keys(playback);
    watching_ = &playback;
    watchKeys_ = &keys;
    GameRun run(*this, playback, keys);
    run.Execute();
    watching_ = nullptr;
    watchKeys_ = nullptr;
    running_ = false;
}

void Tfrm_main::OnlineButtonClick() {
    if (running_)
        return;
    OnlineDialog dialog(Widget(), LoadRecentJoins(base::UserStateFolder()), MeetingServer);
    if (dialog.exec() == QDialog::Accepted)
        PlayOnline(dialog.Request());
}

void Tfrm_main::PlayOnline(const OnlineRequest& request) {
    if (running_)
        return;
    running_ = true;
    // The host's options and world decide the run; a joiner's are replaced by them.
    online::Welcome offer;
    const World::CarryOver start = world_.GetCarryOver();
    offer.RandomSeed = start.RandomSeed;
    offer.HighScore = start.HighScore;
    offer.CoupleMode = CheckBox2->isChecked();
    offer.Hard = CheckBox4->isChecked();
    offer.StartedAt = std::time(nullptr);
    std::string error;
    KeyState.QuitRequest = 0;
    std::optional<OnlineConnection> connection =
        ConnectOnline(Widget(), request, offer, [this] { return KeyState.QuitRequest != 0; }, error);
    if (connection) {
        if (!request.Host && !request.ByCode)
            RememberJoin(base::UserStateFolder(), request.Address);
        online_ = true;
        GameRun run(*this, *connection);
        run.Execute();
        online_ = false;
    } else if (!error.empty()) {
        // Also where a desktop shortcut's or a script's output goes.
        std::cerr << "pimuru: " << error << '\n';
        ui::CurrentDesktop().ShowMessage(MessageCaption(), error, ui::MessageKind::Error);
    }
    running_ = false;
}

void Tfrm_main::RequestTerminate(int exitStatus) {
    terminateRequested_ = true;
    QCoreApplication::exit(exitStatus);
}

const std::string& Tfrm_main::MessageCaption() {
    static const std::string caption = "ぴむるのゲーム Ver.1.1";
    return caption;
}

} // namespace game
