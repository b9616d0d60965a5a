#include "rules/game_random.h"

namespace game {

std::int32_t GameRandom::Next(std::int32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0) {
        return 0;
    }
    // The high half of seed × n is uniform in [0, n) without a division.
    const std::uint64_t product = std::uint64_t{seed_} * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(product >> 32);
}

} // namespace game
