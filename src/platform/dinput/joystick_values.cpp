#include "platform/dinput/joystick_values.h"

#include "platform/dinput/dinput.h"

#include <algorithm>
#include <cstdlib>

namespace dinput {

std::int32_t ScaleAxis(std::int32_t sdlValue, std::int32_t min, std::int32_t max) {
    std::int64_t offset = std::clamp<std::int64_t>(sdlValue, -32768, 32767) + 32768;
    std::int64_t span = static_cast<std::int64_t>(max) - min;
    std::int64_t scaled = (offset * span + (span >= 0 ? 32767 : -32767)) / 65535;
    return static_cast<std::int32_t>(min + scaled);
}

void SteerWithHat(std::int16_t& x, std::int16_t& y, std::uint8_t hat) {
    // Where a stick at rest may still lean: the dead zone XInput advises
    // for a left stick.
    constexpr int kRest = 7849;
    if (PovFromHat(hat) == POV_CENTERED || std::abs(x) > kRest || std::abs(y) > kRest)
        return;
    auto towards = [](bool less, bool more) -> std::int16_t { return less ? -32768 : more ? 32767 : 0; };
    x = towards(hat & 0x08, hat & 0x02);
    y = towards(hat & 0x01, hat & 0x04);
}

std::uint32_t PovFromHat(std::uint8_t hat) {
    switch (hat) {
    case 0x01: return 0;     // up
    case 0x03: return 4500;  // right-up
    case 0x02: return 9000;  // right
    case 0x06: return 13500; // right-down
    case 0x04: return 18000; // down
    case 0x0C: return 22500; // left-down
    case 0x08: return 27000; // left
    case 0x09: return 31500; // left-up
    default: return POV_CENTERED;
    }
}

} // namespace dinput
