#pragma once
// What the launcher and game-run tests share: a desktop that records the
// messages and the pointer and can pretend another colour depth, a music
// player that records its commands, and a fixture that builds the main
// window from the game's data folder with the Qt back ends in place and its
// frames paced on a virtual clock.

#include "diagnostics/diagnostic_log.h"
#include "game/main_form.h"
#include "platform/dinput/install.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/qt_desktop.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace gametest {

// Events go to the real Qt desktop; messages are only recorded.
class TestDesktop : public ui::Desktop {
public:
    explicit TestDesktop(ui::Desktop& real) : real_(real) {}

    int ShowCursor(bool show) override { return cursorCount += show ? 1 : -1; }
    void SwitchImeOff(void* window) override {
        imeSwitchedOffFor = window;
        if (failOnImeSwitch)
            throw std::runtime_error("input method gone");
    }
    void ShowMessage(const std::string&, const std::string& text, ui::MessageKind) override {
        messages.push_back(text);
    }
    void ProcessMessages() override { real_.ProcessMessages(); }
    void WaitForMessages(std::uint32_t maxWaitMs) override { real_.WaitForMessages(maxWaitMs); }
    bool ScreenSaverActive() const override { return screenSaverActive; }
    void SetScreenSaverActive(bool active) override { screenSaverActive = active; }
    int ScreenBitsPerPixel() const override { return bitsPerPixel; }

    int cursorCount = 0;
    void* imeSwitchedOffFor = nullptr;
    bool failOnImeSwitch = false;
    std::vector<std::string> messages;
    bool screenSaverActive = true;
    int bitsPerPixel = 32;

private:
    ui::Desktop& real_;
};

class RecordingMidiPlayer : public media::IMidiPlayer {
public:
    explicit RecordingMidiPlayer(std::vector<std::string>& log) : log_(log) {}

    void Open(const std::string& fileName) override {
        log_.push_back("Open " + fileName);
        open_ = true;
    }
    void Rewind() override { log_.push_back("Rewind"); }
    void Play() override { log_.push_back("Play"); }
    void Stop() override { log_.push_back("Stop"); }
    void Close() override {
        log_.push_back("Close");
        open_ = false;
    }
    bool IsOpen() const override { return open_; }
    bool IsPlaying() const override { return false; }

private:
    std::vector<std::string>& log_;
    bool open_ = false;
};

class LauncherTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool installed = false;
        if (!installed)
            dinput::InstallSdlQtDirectInput();
        installed = true;
    }

    void SetUp() override {
        // Runs keep their replays in the player's data folder: a test's own.
        setenv("XDG_DATA_HOME", userData_.Path().c_str(), 1);
        previousDirectory_ = std::filesystem::current_path();
        std::filesystem::current_path(PIMURU_DATA_DIR);
        diagnostics::SetLogDirectoryForTesting(logs_.Path().string());
        backends_ = ui::InstallQtBackends();
        desktop_ = std::make_unique<TestDesktop>(backends_->Desktop());
        ui::SetDesktop(desktop_.get());
        form_ = std::make_unique<game::Tfrm_main>(VirtualPacer());
        form_->MediaPlayer1->SetPlayerForTesting(std::make_unique<RecordingMidiPlayer>(music_));
        form_->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
    }

    void TearDown() override {
        form_.reset();
        ui::SetDesktop(&backends_->Desktop());
        desktop_.reset();
        backends_.reset();
        diagnostics::SetLogDirectoryForTesting("");
        std::filesystem::current_path(previousDirectory_);
        unsetenv("XDG_DATA_HOME");
    }

    QWindow* Window() const { return form_->Widget()->windowHandle(); }

    // What a test does inside a run, once the run's frame counter reaches
    // the frame given.
    struct Step {
        int frame;
        std::function<void()> action;
    };

    // Clicks the start button and does each step between its frame and the
    // next, then quits with Esc. Returns when the click returns.
    void PlayScript(const std::vector<Step>& steps) {
        form_->KeyState.QuitRequest = -1; // as left by the launcher; the run clears it before its loop
        std::size_t next = 0;
        DuringRun([&] { form_->BitBtn1->click(); },
                  [&] {
                      while (next < steps.size() && form_->GameWorld().FrameCounter() >= steps[next].frame) {
                          if (steps[next].action)
                              steps[next].action();
                          ++next;
                      }
                      return next == steps.size();
                  });
    }

    // Starts a run with `start` and calls `betweenFrames` in every frame's
    // wait until it returns true; Esc then ends the run. Returns when
    // `start` returns. A run that never gets that far is ended by force
    // and fails the test.
    void DuringRun(const std::function<void()>& start, const std::function<bool()>& betweenFrames) {
        auto& keys = form_->KeyState;
        bool done = false;
        int waits = 0;
        betweenFrames_ = [&] {
            if (done)
                return;
            if (++waits > 5000) {
                ADD_FAILURE() << "the run did not get that far";
                keys.QuitRequest = -1;
                done = true;
                return;
            }
            if (keys.QuitRequest != 0 || !betweenFrames())
                return;
            done = true;
            if (keys.QuitRequest == 0)
                QTest::keyClick(Window(), Qt::Key_Escape);
        };
        start();
        betweenFrames_ = nullptr;
    }

    void PlayFrames(int frames, const std::function<void()>& during = {}) {
        PlayScript({{frames, during}});
    }

    // Frames paced on a virtual millisecond counter that each wait moves on
    // by the time asked for: a run takes no wall-clock time beyond its own
    // work, and a test's step comes between the same two frames however
    // busy the machine is.
    game::FramePacer VirtualPacer() {
        return game::FramePacer([this] { return virtualMs_; },
                                [this](std::uint32_t maxWaitMs) {
                                    virtualMs_ += std::max<std::uint32_t>(maxWaitMs, 1);
                                    if (betweenFrames_)
                                        betweenFrames_();
                                    ui::CurrentDesktop().ProcessMessages();
                                });
    }

    std::uint32_t virtualMs_ = 0;
    std::function<void()> betweenFrames_;
    testsupport::TempDir logs_;
    testsupport::TempDir userData_;
    std::filesystem::path previousDirectory_;
    std::unique_ptr<ui::QtBackends> backends_;
    std::unique_ptr<TestDesktop> desktop_;
    std::vector<std::string> music_;
    std::unique_ptr<game::Tfrm_main> form_;
};

} // namespace gametest
