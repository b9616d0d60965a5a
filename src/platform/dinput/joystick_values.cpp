#include "platform/dinput/joystick_values.h"

#include "platform/dinput/dinput.h"

#include <algorithm>

namespace dinput {

std::int32_t ScaleAxis(std::int32_t sdlValue, std::int32_t min, std::int32_t max) {
    std::int64_t offset = std::clamp<std::int64_t>(sdlValue, -32768, 32767) + 32768;
    std::int64_t span = static_cast<std::int64_t>(max) - min;
    std::int64_t scaled = (offset * span + (span >= 0 ? 32767 : -32767)) / 65535;
    return static_cast<std::int32_t>(min + scaled);
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
