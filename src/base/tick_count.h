#pragma once
// A monotonic millisecond counter, unsigned 32-bit, wrapping like the
// Windows tick count the game's frame pacing was written for.

#include <cstdint>

namespace base {

std::uint32_t GetTickCount();

} // namespace base
