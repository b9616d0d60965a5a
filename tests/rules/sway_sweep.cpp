// Compares KnockSway with the floating-point sway it replaced, for every
// frame counter in a range: the proof that the integer version changes no
// run. Build it in a release build and run it once after touching the sway:
//   sway_sweep [first=0] [last=100000000]
// It prints the counters whose sway is ±15 (the delicate ones, where the
// library's sin rounds to ±1) and exits non-zero on any difference.
#include "rules/knock_sway.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const std::int64_t first = argc > 1 ? std::atoll(argv[1]) : 0;
    const std::int64_t last = argc > 2 ? std::atoll(argv[2]) : 100'000'000;
    std::int64_t differences = 0;
    for (std::int64_t c = first; c <= last; ++c) {
        const auto n = static_cast<std::int32_t>(c);
        const auto before = static_cast<std::int32_t>(std::sin(2.0 * n) * 15.0);
        const std::int32_t now = game::KnockSway(n);
        if (now != before) {
            if (++differences <= 20)
                std::printf("differs at %d: %d, was %d\n", n, now, before);
        } else if (now == 15 || now == -15) {
            std::printf("top at %d: %d\n", n, now);
        }
    }
    std::printf("%lld counters from %lld to %lld: %lld differ\n",
                static_cast<long long>(last - first + 1), static_cast<long long>(first),
                static_cast<long long>(last), static_cast<long long>(differences));
    return differences == 0 ? 0 : 1;
}
