#pragma once
// How SDL's joystick values become DirectInput's: axes rescaled to the range
// the program asked for, hats as point-of-view angles, and the hat steering a
// stick left at rest.

#include <cstdint>

namespace dinput {

// An SDL axis value (-32768 ... 32767) in the range [min, max], rounded to the
// nearest step: the ends of SDL's range give exactly min and max.
std::int32_t ScaleAxis(std::int32_t sdlValue, std::int32_t min, std::int32_t max);

// SDL hat bits (up 1, right 2, down 4, left 8) as hundredths of a degree
// clockwise from north; centred (or an impossible combination such as up and
// down together) is POV_CENTERED.
std::uint32_t PovFromHat(std::uint8_t hat);

// While the stick (`x`, `y`, SDL values) rests near its centre and the hat
// (SDL bits) is pressed, the stick reads as pushed all the way in the hat's
// direction: so a directional pad steers whatever reads the stick. A pushed
// stick is left as it is.
void SteerWithHat(std::int16_t& x, std::int16_t& y, std::uint8_t hat);

} // namespace dinput
