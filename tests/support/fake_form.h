#pragma once
// A form without a window for component tests: remembers its placement and
// runs its components' Loaded on request, as a real form's constructor does.

#include "platform/component/form.h"

namespace testsupport {

class FakeForm : public ui::TForm {
public:
    FakeForm() : ui::TForm(nullptr) {}
    void Load() { FinishLoading(); }

    void* Handle() const override { return WindowHandle; }
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
    ui::TBorderStyle BorderStyle() const override { return Border; }
    void SetBorderStyle(ui::TBorderStyle style) override { Border = style; }
    ui::TWindowState WindowState() const override { return State; }
    void SetWindowState(ui::TWindowState state) override { State = state; }

    void* WindowHandle = reinterpret_cast<void*>(0x1234);
    int X = 100, Y = 100, W = 640, H = 480;
    bool Shown = false;
    bool BroughtToFront = false;
    ui::TBorderStyle Border = ui::TBorderStyle::bsSingle;
    ui::TWindowState State = ui::TWindowState::wsNormal;
};

} // namespace testsupport
