// The replays folder: files named for a person, written whole or not at all,
// the newest 100 and the 10 best kept, a folder that takes nothing said in
// words, and the list newest first.
#include "game/replay_folder.h"
#include "game/recorded_files.h"

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
    // 115 runs recorded here a minute apart; the oldest 15 scored best.
    const std::string folder = dir_.Path().string();
    std::set<std::string> expected{game::kRecordedListName};
    game::RecordedFiles recorded(folder);
    for (int i = 0; i < 115; ++i) {
        const std::string name = game::ReplayFileName(1796825002 + 60 * i, i < 15 ? 1000 + i : i);
        testsupport::WriteFileBytes(dir_.File(name), "x");
        recorded.Add(name);
        if (i >= 5)
            expected.insert(name);
    }
    ASSERT_EQ(recorded.Save(), "");
    testsupport::WriteFileBytes(dir_.File("from-a-friend.pimuru-replay"), "x");
    expected.insert("from-a-friend.pimuru-replay");
    game::PruneReplays(folder);
    EXPECT_EQ(Names(dir_.Path()), expected);
}

// Only what was recorded here is ever removed: a friend's file under a name
// of the same shape (older and worse than all), and one the player put in
// place of a recorded replay, stay; a removed replay takes its report along.
TEST_F(ReplayFolder, PruningRemovesOnlyWhatWasRecordedHere) {
    const std::string folder = dir_.Path().string();
    const std::string friendName = game::ReplayFileName(1000, 0);
    testsupport::WriteFileBytes(dir_.File(friendName), "a friend's run");
    std::string error;
    const std::string replaced = game::KeepReplay(SomeReplay(2000, 1), folder, error);
    testsupport::WriteFileBytes(replaced, "the player's own bytes");
    const std::string old = game::KeepReplay(SomeReplay(3000, 2), folder, error);
    ASSERT_TRUE(game::KeepDesyncReport(old, "apart at frame 80\n", error)) << error;
    EXPECT_EQ(testsupport::ReadFileBytes(old + game::kDesyncReportSuffix), "apart at frame 80\n");
    const std::string newest = game::KeepReplay(SomeReplay(4000, 3), folder, error);

    game::PruneReplays(folder, 1, 0);
    EXPECT_EQ(Names(dir_.Path()),
              (std::set<std::string>{game::kRecordedListName, friendName,
                                     fs::path(replaced).filename(), fs::path(newest).filename()}));
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
