#pragma once
// The game's own message pump: handle what is pending, or sleep in the event
// loop until something arrives or a deadline passes, so a waiting game uses
// no processor time.

#include <cstdint>

namespace ui {

void ProcessPendingEvents();
void WaitForEvents(std::uint32_t maxWaitMs);

// Chooses Qt's own event loop rather than GLib's, unless QT_NO_GLIB says
// otherwise: a running game wakes the loop 40 times a second, and each
// wake-up costs less there. Call before the application object is made.
void PreferQtEventLoop();

} // namespace ui
