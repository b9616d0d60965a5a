#pragma once
// What the X window manager offers and does: whether one runs that grants
// full screen through the desktop's conventions (_NET_WM_STATE_FULLSCREEN),
// whether it still holds a window, and a way to map again a window it left
// unmapped.

class QWidget;

namespace ui {

// True when Qt runs on X and a window manager that lists the full-screen
// state among what it supports is running there.
bool X11ManagerGrantsFullScreen();

// Whether the widget's native X window is mapped; true where Qt does not
// run on X.
bool X11WindowMapped(QWidget* window);

// Whether a window manager still holds the widget's window as a managed one
// (its WM_STATE says normal or iconic): after an unmap the manager withdraws
// it, and until then a new map request may be lost. False where Qt does not
// run on X or no manager runs.
bool X11WindowManaged(QWidget* window);

// Maps the widget's native X window again (a manager may lose a map request
// that comes while it still withdraws the window). Nothing where Qt does not
// run on X.
void X11MapAgain(QWidget* window);

} // namespace ui
