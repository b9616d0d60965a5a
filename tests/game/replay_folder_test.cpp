// The replays folder: files named for a person, written whole or not at all,
// the newest 100 and the 10 best kept, a folder that takes nothing said in
// words, and the list newest first.
#include "game/replay_folder.h"

#include "replay/recorder.h"

#include "support/full_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

// A run of `frames` frames without input, said to have scored `best`.
replay::Replay SomeReplay(std::int64_t startedAt, std::int32_t best, int frames = 50) {
    game::World world;
    replay::Recorder recorder(world, false, false, "test", startedAt);
    world.StartRun(false, false);
    game::FrameSink quiet;
    for (int n = 0; n < frames; ++n) {
        world.Step({}, quiet);
        recorder.Record({}, world);
    }
    replay::Replay replay = recorder.Finish(world);
    replay.BestRallyScore = best;
    return replay;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class ReplayFolder : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        unsetenv("TZ");
        tzset();
    }
    testsupport::TempDir dir_;
};

TEST_F(ReplayFolder, KeepsARunUnderItsDateTimeAndScore) {
    const std::string folder = (dir_.Path() / "pimuru/replays/").string();
    std::string error;
    const std::string first = game::KeepReplay(SomeReplay(1796825002, 1234), folder, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(fs::path(first).filename(), "2026-12-09_14-03-22_score-1234.pimuru-replay");
    const std::string second = game::KeepReplay(SomeReplay(1796825002, 1234), folder, error);
    EXPECT_EQ(fs::path(second).filename(), "2026-12-09_14-03-22_score-1234-2.pimuru-replay");
    const replay::DecodedReplay read = replay::ReadReplayFile(first);
    ASSERT_TRUE(read.Value) << read.Error;
    EXPECT_EQ(read.Value->FrameCount(), 50);
    EXPECT_EQ(game::ReplayFolder([](const char* name) -> const char* {
                  return std::string(name) == "XDG_DATA_HOME" ? "/data" : nullptr;
              }),
              "/data/pimuru/replays/");
}

TEST_F(ReplayFolder, KeepsTheNewestHundredAndTheTenBest) {
    // 115 runs a minute apart; the oldest 15 scored best.
    const std::string folder = dir_.Path().string();
    std::set<std::string> expected;
    for (int i = 0; i < 115; ++i) {
        const std::string name = game::ReplayFileName(1796825002 + 60 * i, i < 15 ? 1000 + i : i);
        testsupport::WriteFileBytes(dir_.File(name), "x");
        if (i >= 5)
            expected.insert(name);
    }
    testsupport::WriteFileBytes(dir_.File("from-a-friend.pimuru-replay"), "x");
    expected.insert("from-a-friend.pimuru-replay");
    game::PruneReplays(folder);
    EXPECT_EQ(Names(dir_.Path()), expected);
}

TEST_F(ReplayFolder, AFolderThatTakesNothingLosesTheReplayWithAReason) {
    testsupport::WriteFileBytes(dir_.File("in-the-way"), "x");
    std::string error;
    EXPECT_EQ(game::KeepReplay(SomeReplay(1, 0), dir_.File("in-the-way/replays/"), error), "");
    EXPECT_NE(error, "");

    testsupport::FullFolder full;
    if (!full.Available())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    full.Fill();
    EXPECT_EQ(game::KeepReplay(SomeReplay(1, 0, 100000), full.Path(), error), "");
    EXPECT_NE(error, "");
    EXPECT_EQ(Names(full.Path()), std::set<std::string>{"filler"}); // no short file left
}

TEST_F(ReplayFolder, ListsNewestFirstAndSaysWhichCannotBeRead) {
    std::string error;
    game::KeepReplay(SomeReplay(1796825002, 10, 2308), dir_.Path().string(), error);
    game::KeepReplay(SomeReplay(1796828602, 20), dir_.Path().string(), error);
    testsupport::WriteFileBytes(dir_.File("broken.pimuru-replay"), "PIMURURP");
    testsupport::WriteFileBytes(dir_.File("notes.txt"), "not a replay");
    const std::vector<game::ReplaySummary> list = game::ListReplays(dir_.Path().string());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].BestRallyScore, 20);
    EXPECT_EQ(list[1].Frames, 2308);
    EXPECT_EQ(fs::path(list[2].Path).filename(), "broken.pimuru-replay");
    EXPECT_NE(list[2].Error, "");
}

} // namespace
