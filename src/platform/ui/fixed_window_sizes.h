#pragma once
// Fixed-size windows on Wayland, where a compositor may maximise them
// anyway (Qt's own title bars offer it on every window, and weston has a key
// for it) and ends a client that keeps its own size in a maximised or
// full-screen state. Qt would keep a fixed-size window's size, so there
// every top-level window has no size limits of Qt's own: the compositor is
// told the fixed size instead, which keeps the window from being resized by
// hand, and a maximised or full-screen window takes the size it is given.
// Elsewhere nothing changes: an X window manager keeps to the size hints or
// resizes the window, which Qt then follows.

#include <QObject>

class QWidget;
class QWindow;

namespace ui {

class FixedWindowSizes : public QObject {
public:
    // Watches every top-level widget the application shows from now on.
    FixedWindowSizes();
    ~FixedWindowSizes() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QWidget* widget, QWindow* window);
};

} // namespace ui
