// Runs kept as replays and watched again in the game screen: a run ended
// with Esc or by closing the window leaves its replay in the player's folder,
// a folder that takes nothing costs only the replay, and watching plays the
// file through the same run and returns to the launcher with Esc.
#include "launcher_fixture.h"

#include "base/cp932.h"
#include "game/replay_folder.h"
#include "game/replay_list.h"
#include "play/replay_playback.h"
#include "replay/replay_check.h"

#include <QCheckBox>
#include <QFrame>
#include <gmock/gmock.h>

namespace gametest {
namespace {

class ReplayRunTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        form_->CheckBox1->setChecked(false);
        desktop_->bitsPerPixel = 16; // no colour-depth advice in a window
    }

    std::vector<game::ReplaySummary> Kept() const {
        return game::ListReplays(game::ReplayFolder());
    }

    // Watches a file; `during` runs once the replay has got `frames` frames
    // in, and then Esc ends the watching.
    void Watch(const std::string& path, std::int64_t frames, const std::function<void()>& during) {
        DuringRun([&] { form_->WatchReplay(path); },
                  [&] {
                      const play::ReplayPlayback* watching = form_->Watching();
                      if (!watching || watching->Position() < frames)
                          return false;
                      during();
                      return true;
                  });
    }
};

TEST_F(ReplayRunTest, ARunEndedWithEscIsKeptAndListed) {
    PlayScript({{3, [&] { QTest::keyPress(Window(), Qt::Key_Left); }},
                {20, [&] { QTest::keyRelease(Window(), Qt::Key_Left); }}});
    const std::vector<game::ReplaySummary> kept = Kept();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].Error, "");
    EXPECT_EQ(kept[0].Frames, form_->GameWorld().FrameCounter());
    EXPECT_THAT(kept[0].Path, ::testing::EndsWith("_score-0.pimuru-replay"));
    const replay::DecodedReplay read = replay::ReadReplayFile(kept[0].Path);
    ASSERT_TRUE(read.Value);
    EXPECT_TRUE(replay::CheckReplay(*read.Value).Clean);
    // Pimuru 2 walked left in the replay as in the run.
    EXPECT_TRUE(read.Value->Inputs[10].Keys.Left);

    game::ReplayList list(form_->Widget(), game::ReplayFolder());
    ASSERT_EQ(list.Rows().size(), 1u);
    EXPECT_EQ(list.Rows()[0][1], "ふつう");
    EXPECT_EQ(list.Rows()[0][3], "0");
}

// Each option box is read as its own choice: the harder game ticked alone
// plays and is kept harder, not in couple mode.
TEST_F(ReplayRunTest, ARunIsPlayedAndKeptWithTheOptionTicked) {
    form_->CheckBox4->setChecked(true);
    PlayFrames(5);
    ASSERT_EQ(Kept().size(), 1u);
    const replay::DecodedReplay read = replay::ReadReplayFile(Kept()[0].Path);
    ASSERT_TRUE(read.Value);
    EXPECT_TRUE(read.Value->Hard);
    EXPECT_FALSE(read.Value->CoupleMode);
    ASSERT_FALSE(read.Value->Inputs.empty());
    EXPECT_TRUE(read.Value->Inputs[0].Hard);
}

TEST_F(ReplayRunTest, ARunEndedByClosingTheWindowIsKept) {
    PlayFrames(5, [&] { form_->Widget()->close(); });
    EXPECT_TRUE(form_->TerminateRequested());
    ASSERT_EQ(Kept().size(), 1u);
    EXPECT_GE(Kept()[0].Frames, 5);
}

TEST_F(ReplayRunTest, AFolderThatTakesNothingCostsOnlyTheReplay) {
    testsupport::WriteFileBytes(userData_.File("pimuru"), "a file where the folder should be");
    PlayFrames(5);
    EXPECT_EQ(form_->GameWorld().FrameCounter(), 5);
    EXPECT_TRUE(desktop_->messages.empty());
    EXPECT_FALSE(form_->TerminateRequested());
    EXPECT_TRUE(form_->Panel1->isVisible());
    EXPECT_THAT(base::Cp932ToUtf8(testsupport::ReadFileBytes(logs_.File("dddd.debug"))),
                ::testing::HasSubstr("リプレイを保存できません("));
}

TEST_F(ReplayRunTest, WatchingPlaysTheRunAgainAndEscReturnsToTheLauncher) {
    PlayScript({{3, [&] { QTest::keyPress(Window(), Qt::Key_Left); }},
                {30, [&] { QTest::keyRelease(Window(), Qt::Key_Left); }},
                {60, {}}});
    const std::string path = Kept().at(0).Path;
    const game::World::CarryOver carryOver = form_->GameWorld().GetCarryOver();
    const std::uint64_t afterRun = form_->GameWorld().Checksum();

    // Watched 40 frames in, then at ×2 and 10 s on (past the end): it
    // stands on the world the run ended with.
    std::uint64_t watchedAtEnd = 0;
    bool atEnd = false;
    Watch(path, 40, [&] {
        QTest::keyClick(Window(), Qt::Key_2);
        QTest::keyClick(Window(), Qt::Key_Right);
        atEnd = form_->Watching()->AtEnd();
        watchedAtEnd = form_->Watching()->GameWorld().Checksum();
    });
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(watchedAtEnd, form_->GameWorld().Checksum());
    EXPECT_TRUE(form_->Panel1->isVisible());
    EXPECT_EQ(form_->ClientWidth(), 501);
    EXPECT_FALSE(form_->Running());
    // Watching leaves the launcher's own world as it was.
    EXPECT_EQ(form_->GameWorld().GetCarryOver(), carryOver);
    EXPECT_EQ(form_->GameWorld().Checksum(), afterRun);
    EXPECT_EQ(Kept().size(), 1u); // watching records nothing
}

TEST_F(ReplayRunTest, AFaultyFileSaysWhyAndStaysAtTheLauncher) {
    testsupport::WriteFileBytes(userData_.File("bad.pimuru-replay"),
                                "PIMURURP and then nothing sound");
    form_->WatchReplay(userData_.File("bad.pimuru-replay"));
    ASSERT_EQ(desktop_->messages.size(), 1u);
    EXPECT_THAT(desktop_->messages[0], ::testing::HasSubstr("リプレイ"));
    EXPECT_TRUE(form_->Panel1->isVisible());
    EXPECT_FALSE(form_->Running());
}

} // namespace
} // namespace gametest
