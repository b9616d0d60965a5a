#pragma once
// A form over a Qt widget: the window the game's forms derive from. A
// derived form creates its controls and components in its constructor,
// sets their settings and then calls FinishLoading().

#include "platform/component/form.h"

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace ui {

class QtForm : public TForm {
public:
    explicit QtForm(TComponent* owner = nullptr);
    ~QtForm() override;

    // The top-level widget; controls are created as its children.
    QWidget* Widget() const;

    void* Handle() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int width) override;
    void SetClientHeight(int height) override;

    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void SetLeft(int left) override;
    void SetTop(int top) override;
    void SetBounds(int left, int top, int width, int height) override;

    bool Visible() const override;
    void Show() override;
    void Hide() override;
    void BringToFront() override;

    TBorderStyle BorderStyle() const override { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style) override;
    TWindowState WindowState() const override;
    void SetWindowState(TWindowState state) override;

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Places the window in the middle of the screen it is on.
    void CentreOnDesktop();

    // Delivers a key as the window system would (used by the key filter):
    // returns true when a handler consumed it. `nativeScanCode` is the
    // platform's key code, 0 when unknown.
    bool DeliverKey(bool press, int qtKey, int modifiers, bool autoRepeat, std::uint32_t nativeScanCode = 0);

private:
    class FormWidget;
    class KeyFilter;
    friend class FormWidget;

    void HandleClose(bool& accept);
    void ApplySizeConstraints();

    std::unique_ptr<KeyFilter> keyFilter_;
    FormWidget* widget_;
    TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
    TColor color_ = 0x00C0C0C0;
};

} // namespace ui
