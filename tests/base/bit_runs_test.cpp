// Rows of bits walked run by run, across the words they are kept in.
#include "base/bit_runs.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

TEST(BitRuns, RunsCrossWordsAndStopAtTheCount) {
    std::array<std::uint64_t, 3> row{};
    base::SetBits(row, 0, 2);
    base::SetBits(row, 60, 130); // over two word boundaries
    base::SetBits(row, 150, 192);
    EXPECT_EQ(row[1], ~std::uint64_t{0});
    std::vector<std::pair<int, int>> runs;
    base::ForEachRun(row, 170, [&](int first, int end) { runs.emplace_back(first, end); });
    EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{0, 2}, {60, 130}, {150, 170}}));
}
