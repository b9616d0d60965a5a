// The addresses joined last: newest first, each once, five at most, and a
// file that holds junk gives only what is sound in it.
#include "game/recent_joins.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace game;

TEST(RecentJoins, NewestFirstEachOnceAndOnlyTheLastFive) {
    testsupport::TempDir dir;
    const std::string folder = dir.File("state/pimuru/"); // made on the first join
    EXPECT_TRUE(LoadRecentJoins(folder).empty());
    for (const char* address : {"a:1", "b", "[::1]:7170", "a:1", "c", "d", "e"})
        RememberJoin(folder, address);
    EXPECT_EQ(LoadRecentJoins(folder),
              (std::vector<std::string>{"e", "d", "c", "a:1", "[::1]:7170"}));

    std::ofstream(folder + "recent_joins.txt") << "x\n\n" << std::string(300, 'y') << "\nx\nz\n";
    EXPECT_EQ(LoadRecentJoins(folder), (std::vector<std::string>{"x", "z"}));
}
