#pragma once
// The game's own message pump: handle what is pending, or sleep in the event
// loop until something arrives or a deadline passes, so a waiting game uses
// no processor time.

#include <cstdint>

namespace ui {

void ProcessPendingEvents();
void WaitForEvents(std::uint32_t maxWaitMs);

} // namespace ui
