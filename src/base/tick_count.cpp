#include "base/tick_count.h"

#include <chrono>

namespace base {

std::uint32_t GetTickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<std::uint32_t>(ms);
}

} // namespace base
