#pragma once
// What the launcher and game-run tests share: a desktop that records the
// messages and the pointer and can pretend another colour depth, a music
// player that records its commands, and a fixture that builds the main
// window from the game's data folder with the Qt back ends in place.

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

#include <filesystem>
#include <cstdlib>
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
        form_ = std::make_unique<game::Tfrm_main>();
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

    // Clicks the start button and does the steps as the run's frames go by,
    // then quits with Esc. Returns when the click returns. A run that never
    // gets that far is ended by force after a while and fails the test.
    void PlayScript(const std::vector<Step>& steps) {
        auto& keys = form_->KeyState;
        keys.QuitRequest = -1; // as left by the launcher; the run clears it before its loop
        std::size_t next = 0;
        bool done = false;
        int ticks = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (done)
                return;
            if (++ticks > 3000) {
                ADD_FAILURE() << "the run did not get through its steps";
                keys.QuitRequest = -1;
                done = true;
                return;
            }
            if (keys.QuitRequest != 0)
                return;
            while (next < steps.size() && form_->GameWorld().FrameCounter() >= steps[next].frame) {
                if (steps[next].action)
                    steps[next].action();
                ++next;
            }
            if (next == steps.size()) {
                done = true;
                if (keys.QuitRequest == 0)
                    QTest::keyClick(Window(), Qt::Key_Escape);
            }
        });
        watch.start(5);
        form_->BitBtn1->click();
    }

    void PlayFrames(int frames, const std::function<void()>& during = {}) {
        PlayScript({{frames, during}});
    }

    testsupport::TempDir logs_;
    testsupport::TempDir userData_;
    std::filesystem::path previousDirectory_;
    std::unique_ptr<ui::QtBackends> backends_;
    std::unique_ptr<TestDesktop> desktop_;
    std::vector<std::string> music_;
    std::unique_ptr<game::Tfrm_main> form_;
};

} // namespace gametest
