#pragma once
// Doubles for the display component's surroundings: a form without a
// window system, a desktop whose depth and screen saver a test sets, and a
// window system that places the form's client area where a test wants it.

#include "platform/ddraw/ddraw.h"
#include "platform/ui/desktop.h"
#include "platform/ui/form.h"

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

class FakeForm : public ui::TForm {
public:
    FakeForm() : ui::TForm(nullptr) {}
    // Runs the components' Loaded and the creation event, as a form's
    // constructor does once its settings are read.
    void Load() { FinishLoading(); }

    void* Handle() const override { return const_cast<FakeForm*>(this); }
    int ClientWidth() const override { return W; }
    int ClientHeight() const override { return H; }
    void SetClientWidth(int width) override { W = width; }
    void SetClientHeight(int height) override { H = height; }
    int Left() const override { return X; }
    int Top() const override { return Y; }
    int Width() const override { return W; }
    int Height() const override { return H; }
    void SetLeft(int left) override { X = left; }
    void SetTop(int top) override { Y = top; }
    void SetBounds(int left, int top, int width, int height) override {
        X = left;
        Y = top;
        W = width;
        H = height;
    }
    bool Visible() const override { return Shown; }
    void Show() override { Shown = true; }
    void Hide() override { Shown = false; }
    void BringToFront() override { BroughtToFront = true; }
    ui::TBorderStyle BorderStyle() const override { return ui::TBorderStyle::bsSingle; }
    void SetBorderStyle(ui::TBorderStyle) override {}
    ui::TWindowState WindowState() const override { return ui::TWindowState::wsNormal; }
    void SetWindowState(ui::TWindowState) override {}

    int X = 100, Y = 100, W = 640, H = 480;
    bool Shown = false;
    bool BroughtToFront = false;
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
