#pragma once
// The desktop services the components and the game ask of the window system:
// the mouse pointer, the input method, the message box, the event pump, the
// screen saver switch and the desktop's colour depth.

#include <cstdint>
#include <string>

namespace ui {

enum class MessageKind { Information, Warning, Error };

class Desktop {
public:
    virtual ~Desktop() = default;

    // Hides or shows the pointer with a display counter: each call moves the
    // counter by one and the pointer shows while it is 0 or more. Returns
    // the new count.
    virtual int ShowCursor(bool show) = 0;

    // Closes the input method for the window (a form's Handle()).
    virtual void SwitchImeOff(void* window) = 0;

    // A modal box with one OK button; returns when it is closed. A carriage
    // return in the text breaks the line. Text is UTF-8.
    virtual void ShowMessage(const std::string& caption, const std::string& text,
                             MessageKind kind) = 0;

    // Handles every pending event and returns.
    virtual void ProcessMessages() = 0;
    // Handles pending events; when there are none, sleeps until an event
    // arrives or maxWaitMs milliseconds have passed.
    virtual void WaitForMessages(std::uint32_t maxWaitMs) = 0;

    // Whether the screen saver may start; switching it off keeps it from
    // starting where the desktop allows that, and is only stored elsewhere.
    virtual bool ScreenSaverActive() const = 0;
    virtual void SetScreenSaverActive(bool active) = 0;

    // Bits per pixel of the desktop (32 on a true-colour desktop).
    virtual int ScreenBitsPerPixel() const = 0;
};

// The installed desktop; the program installs the Qt one at start-up, tests
// may install a double. Throws std::logic_error when none is installed.
Desktop& CurrentDesktop();
// Installs a desktop (not owned; nullptr removes it). Returns the previous.
Desktop* SetDesktop(Desktop* desktop);

} // namespace ui
