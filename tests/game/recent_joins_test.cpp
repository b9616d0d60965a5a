// The addresses joined last: newest first, each once, five at most, a file
// that holds junk gives only what is sound in it, and the file is replaced
// whole.
#include "game/recent_joins.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace game;

TEST(RecentJoins, NewestFirstEachOnceAndOnlyTheLastFive) {
    testsupport::TempDir dir;
    const std::string folder = dir.File("state/pimuru/"); // made on the first join
    EXPECT_TRUE(LoadRecentJoins(folder).empty());
    for (const char* address : {"a:1", "b", "[::1]:7170", "a:1", "c", "d", "e"})
        RememberJoin(folder, address);
    EXPECT_EQ(LoadRecentJoins(folder),
              (std::vector<std::string>{"e", "d", "c", "a:1", "[::1]:7170"}));

    const std::string junk = "x\n\n" + std::string(300, 'y') + "\nx\nz\n";
    testsupport::WriteFileBytes(folder + "recent_joins.txt", junk);
    EXPECT_EQ(LoadRecentJoins(folder), (std::vector<std::string>{"x", "z"}));

    // The list is replaced whole, never rewritten in place: a second name of
    // the old file still holds the old list.
    std::filesystem::create_hard_link(folder + "recent_joins.txt", folder + "before.txt");
    RememberJoin(folder, "f");
    EXPECT_EQ(testsupport::ReadFileBytes(folder + "before.txt"), junk);
    EXPECT_EQ(LoadRecentJoins(folder), (std::vector<std::string>{"f", "x", "z"}));
}
