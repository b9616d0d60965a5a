// A run played online as the game runs it: both machines keep the same
// replay, and a frame on which the world waits for the partner is shown
// again without a sound.
#include "play/online_play.h"
#include "replay/replay_check.h"
#include "rules/recording_sink.h"
#include "support/online_pair.h"
#include "support/scripted_player.h"

#include <gtest/gtest.h>

namespace {

// One machine's player: the script's choice for this side's pimuru on the
// first pad (the host's is pimuru 1, the guest's pimuru 2).
class ScriptedInput : public play::InputSource {
public:
    ScriptedInput(std::uint32_t seed, int side) : player_({.Seed = seed}), side_(side) {}
    game::FrameInput Read(const game::World& world) override {
        game::FrameInput input = player_.Next(world, frame_++);
        const game::PadInput own = input.Pads[side_];
        input.Pads[0] = own;
        input.Pads[1] = {};
        return input;
    }

private:
    testsupport::ScriptedPlayer player_;
    int side_;
    std::int64_t frame_ = 0;
};

struct OnlinePair {
    onlinetest::VirtualClock clock;
    onlinetest::SimLink link{{60, 10, 5, 1, 1}, 9, clock};
    game::World hostWorld;
    game::World guestWorld;
    ScriptedInput hostPads{1, 0};
    ScriptedInput guestPads{2, 1};
    std::unique_ptr<play::OnlinePlay> host;
    std::unique_ptr<play::OnlinePlay> guest;

    // The two machines' own high scores.
    explicit OnlinePair(std::int32_t hostBest = 120, std::int32_t guestBest = 0) {
        // The guest's own world is replaced by the host's start.
        hostWorld.SetCarryOver({77, hostBest});
        guestWorld.SetCarryOver({5, guestBest});
        play::OnlineStart start;
        start.Run = {1, 0xC0DE, 77, hostBest, true, false, 1'765'289'002};
        start.InputDelay = -1;
        host = std::make_unique<play::OnlinePlay>(hostWorld, start, hostPads, clock, link.Side(0),
                                                  "test");
        start.Host = false;
        guest = std::make_unique<play::OnlinePlay>(guestWorld, start, guestPads, clock,
                                                   link.Side(1), "test");
    }
    // Both sides tick in turn a frame apart; the host asks to quit at quitAt.
    void Play(int quitAt, game::FrameSink& sink) {
        bool hostOn = true;
        bool guestOn = true;
        for (int tick = 0; hostOn || guestOn; ++tick) {
            ASSERT_LT(tick, quitAt + 1000);
            clock.Set(clock.NowUs() + 13'000);
            if (hostOn && (hostOn = host->Continue(tick >= quitAt)))
                host->Advance(sink);
            clock.Set(clock.NowUs() + 13'000);
            if (guestOn && (guestOn = guest->Continue(false)))
                guest->Advance(sink);
        }
    }
};

} // namespace

TEST(OnlinePlay, BothMachinesKeepTheSameReplayOfTheHostsRun) {
    OnlinePair pair;
    game::FrameSink quiet;
    pair.Play(2000, quiet);
    const replay::Replay host = pair.host->Finish();
    const replay::Replay guest = pair.guest->Finish();
    EXPECT_GE(host.FrameCount(), 1900);
    ASSERT_EQ(host.FrameCount(), guest.FrameCount());
    for (std::int64_t f = 0; f < host.FrameCount(); ++f)
        ASSERT_TRUE(host.Inputs[f] == guest.Inputs[f]) << f;
    EXPECT_EQ(host.Checksums, guest.Checksums);
    EXPECT_EQ(host.FinalChecksum, guest.FinalChecksum);
    EXPECT_EQ(guest.Start, (game::World::CarryOver{77, 120}));
    EXPECT_EQ(guest.StartedAt, 1'765'289'002);
    EXPECT_TRUE(guest.CoupleMode);
    EXPECT_TRUE(replay::CheckReplay(guest).Clean);
    EXPECT_EQ(pair.guest->EndMessage(), "相手がゲームを終了しました。");
    EXPECT_EQ(pair.host->EndMessage(), "");
    pair.host.reset();
    // The launcher keeps what the run confirmed: its generator and high score.
    EXPECT_EQ(pair.hostWorld.Checksum(), host.FinalChecksum);
}

TEST(OnlinePlay, EachMachineKeepsItsOwnHighScoreUnlessTheRunBeatsIt) {
    OnlinePair pair(0, 9990);
    game::FrameSink quiet;
    pair.Play(2000, quiet);
    std::int32_t runBest = 0;
    for (const auto* side : {pair.host.get(), pair.guest.get()})
        runBest = std::max(runBest, side->GameWorld().HighScore());
    pair.host.reset();
    pair.guest.reset();
    ASSERT_GT(runBest, 0) << "the run should beat the host's best";
    EXPECT_EQ(pair.hostWorld.HighScore(), runBest);
    EXPECT_EQ(pair.guestWorld.HighScore(), 9990);
}

TEST(OnlinePlay, AFrameOnWhichTheWorldWaitsIsShownAgainSilently) {
    OnlinePair pair;
    gametest::RecordingSink sink;
    game::FrameSink quiet;
    for (int tick = 0; tick < 200; ++tick) {
        pair.clock.Set(pair.clock.NowUs() + 13'000);
        pair.host->Advance(quiet);
        pair.clock.Set(pair.clock.NowUs() + 13'000);
        pair.guest->Advance(quiet);
    }
    pair.link.SetCut(true);
    for (int tick = 0; tick < 20 && !pair.host->Waiting(); ++tick) {
        pair.clock.Set(pair.clock.NowUs() + 26'000);
        pair.host->Advance(quiet);
    }
    ASSERT_TRUE(pair.host->Waiting());
    pair.clock.Set(pair.clock.NowUs() + 26'000);
    sink.events.clear();
    pair.host->Advance(sink);
    EXPECT_TRUE(pair.host->Waiting());
    EXPECT_TRUE(sink.Has("background"));
    EXPECT_TRUE(sink.Has("pimuru 0"));
    for (const std::string& event : sink.events)
        EXPECT_EQ(event.rfind("sound", 0), std::string::npos) << event;
}
