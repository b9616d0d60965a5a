#pragma once
// Sends what Qt has asked of the X server or the Wayland compositor (a
// window's newly painted image, say) now, rather than when Qt's event loop
// next runs: a game runs that loop only after its next frame's wait.

namespace ui {

void FlushWindowSystem();

} // namespace ui
