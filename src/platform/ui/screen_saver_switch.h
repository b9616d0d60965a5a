#pragma once
// The screen saver switch: switched off, it asks the freedesktop screen
// saver service on the session bus to hold the screen saver back; where no
// such service exists the setting is only kept.

#include <cstdint>
#include <optional>

namespace ui {

class ScreenSaverSwitch {
public:
    ScreenSaverSwitch() = default;
    ~ScreenSaverSwitch();
    ScreenSaverSwitch(const ScreenSaverSwitch&) = delete;
    ScreenSaverSwitch& operator=(const ScreenSaverSwitch&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool active);
    // Whether the screen saver is being held back through the service now.
    bool Inhibiting() const { return cookie_.has_value(); }

private:
    bool active_ = true;
    std::optional<std::uint32_t> cookie_;
};

} // namespace ui
