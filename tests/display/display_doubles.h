#pragma once
// Doubles for the display component's surroundings: a form without a
// window system, a desktop whose depth and screen saver a test sets, and a
// window system that places the form's client area where a test wants it.

#include "platform/ddraw/ddraw.h"
#include "platform/component/desktop.h"
#include "support/fake_form.h"

#include <string>
#include <vector>

namespace displaytest {

class FakeDesktop : public ui::Desktop {
public:
    FakeDesktop() { previous_ = ui::SetDesktop(this); }
    ~FakeDesktop() override { ui::SetDesktop(previous_); }

    int ShowCursor(bool) override { return 0; }
    void SwitchImeOff(void*) override {}
    void ShowMessage(const std::string&, const std::string& text, ui::MessageKind) override {
        Messages.push_back(text);
    }
    void ProcessMessages() override {}
    void WaitForMessages(std::uint32_t) override {}
    bool ScreenSaverActive() const override { return SaverActive; }
    void SetScreenSaverActive(bool active) override {
        SaverActive = active;
        SaverWrites.push_back(active);
    }
    int ScreenBitsPerPixel() const override { return Bits; }

    int Bits = 32;
    bool SaverActive = true;
    std::vector<bool> SaverWrites;
    std::vector<std::string> Messages;

private:
    ui::Desktop* previous_;
};

// A windowless form whose handle is the form itself, so the fake window
// system can find its bounds.
class FakeForm : public testsupport::FakeForm {
public:
    FakeForm() { WindowHandle = this; }
};

// One 1920x1080x32 screen (plus optional others); every window is visible
// and its client area is the form's bounds.
class FakeWindowSystem : public ddraw::WindowSystem {
public:
    FakeWindowSystem() { ddraw::SetWindowSystem(this); }
    ~FakeWindowSystem() override { ddraw::SetWindowSystem(nullptr); }

    std::vector<ddraw::ScreenInfo> Screens() const override { return ScreenList; }
    bool ClientRectOnScreen(ddraw::HWND window, ddraw::RECT* rect) const override {
        auto* form = static_cast<FakeForm*>(window);
        if (!form)
            return false;
        *rect = base::MakeRect(form->X, form->Y, form->X + form->W, form->Y + form->H);
        return true;
    }
    bool IsWindowVisible(ddraw::HWND window) const override { return window != nullptr; }

    std::vector<ddraw::ScreenInfo> ScreenList{{"Primary display", "display", 1920, 1080, 32}};
};

} // namespace displaytest
