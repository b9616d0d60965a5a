#pragma once
// A form as the components see it: a window with a handle, a client area and
// a creation event that a component may intercept. The Qt implementation
// lives beside it (qt_form.h); components use only this interface.

#include "platform/component/component.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

using TNotifyEvent = std::function<void()>;

// Modifier keys held during a key event, as a set of bits.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;

// Key handlers get the Windows virtual-key number; setting it to 0 consumes
// the key so the focused control does not see it. A key whose symbol has no
// virtual-key number but whose place is known (KeyScanCode) arrives as 0.
using TKeyEvent = std::function<void(std::uint16_t& key, TShiftState shift)>;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// A close handler may change the action; caNone keeps the window open.
using TCloseEvent = std::function<void(TCloseAction& action)>;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// Colour reference 0x00BBGGRR.
using TColor = std::uint32_t;

class TForm : public TComponent {
public:
    using TComponent::TComponent;

    // The creation event: fired once, after every owned component's Loaded.
    // A component may save the form's handler and install its own.
    TNotifyEvent OnCreate;
    // Key preview: these see every key of the window before the focused
    // control does. Auto-repeated presses arrive as further key-downs.
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TCloseEvent OnClose;
    // The window stopped being the active one: keys let go from now on are
    // seen by another window.
    TNotifyEvent OnDeactivate;

    // While OnKeyDown or OnKeyUp runs: where the key sits on the keyboard,
    // as the scan code of that place on a US keyboard (W 0x11, A 0x1E, left
    // Shift 0x2A), whatever the layout prints on it; 0 when not known.
    std::uint8_t KeyScanCode() const { return keyScanCode_; }

    // The native window (a QWidget* in the Qt implementation).
    virtual void* Handle() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual void SetClientWidth(int width) = 0;
    virtual void SetClientHeight(int height) = 0;

    // Outer bounds of the window on the desktop, frame included.
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    virtual void SetBounds(int left, int top, int width, int height) = 0;

    virtual bool Visible() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void BringToFront() = 0;

    virtual TBorderStyle BorderStyle() const = 0;
    virtual void SetBorderStyle(TBorderStyle style) = 0;
    virtual TWindowState WindowState() const = 0;
    virtual void SetWindowState(TWindowState state) = 0;

protected:
    // Called by the concrete form's constructor after its components exist
    // and their settings are set: each component's Loaded, then OnCreate.
    void FinishLoading();

    std::uint8_t keyScanCode_ = 0;
};

} // namespace ui
