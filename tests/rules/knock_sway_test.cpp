// The integer sway gives what std::sin gave on the machine the game was made
// on. The full proof is sway_sweep over every counter up to 10^8 and beyond;
// this keeps a sample of it in every test run.
#include "rules/knock_sway.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::int32_t WithSin(std::int32_t n) {
    return static_cast<std::int32_t>(std::sin(2.0 * n) * 15.0);
}

TEST(KnockSway, MatchesTheFloatingPointSway) {
    for (std::int32_t n = 0; n <= 100'000; ++n)
        ASSERT_EQ(game::KnockSway(n), WithSin(n)) << n;
    // Strided over the whole range, negatives too, where sin needs its
    // careful argument reduction.
    for (std::int64_t n = -2'147'483'648; n <= 2'147'483'647; n += 4099)
        ASSERT_EQ(game::KnockSway(static_cast<std::int32_t>(n)),
                  WithSin(static_cast<std::int32_t>(n)))
            << n;
    // Some of the 28 counters whose sin rounds to exactly ±1 (the sweep lists them).
    for (std::int32_t n : {144'316'263, 267'241'724, 1'993'617'529, -678'799'711})
        EXPECT_EQ(game::KnockSway(n), WithSin(n)) << n;
    EXPECT_EQ(game::KnockSway(144'316'263), 15);
}

} // namespace
