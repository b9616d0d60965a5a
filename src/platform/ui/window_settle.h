#pragma once
// Waits, for a limited time, until a change of a top-level window has taken
// effect: a shown window is on the screen (and what the caller waits for,
// such as the manager's answer to a state, holds); a hidden one has been
// let go by the window manager. A window the manager left unmapped is mapped
// again. After the time limit the caller goes on with what it has.

#include <functional>

class QWidget;

namespace ui {

// Long enough for a manager on a busy machine, short enough that one that
// never answers costs the player only a moment.
constexpr int kWindowSettleLimitMs = 2000;

// After a show or a state change of a visible window. True when the window
// was on the screen and `done` held before the limit.
bool SettleShown(QWidget* window, const std::function<bool()>& done = {},
                 int limitMs = kWindowSettleLimitMs);

// After a hide: until the manager has withdrawn the window, so that the
// next show is not lost.
void SettleHidden(QWidget* window, int limitMs = kWindowSettleLimitMs);

} // namespace ui
