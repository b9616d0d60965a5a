// A session's behaviour when the partner goes quiet, when the worlds part,
// and when strangers send it packets.
#include "online/packet.h"
#include "online/session.h"
#include "support/online_pair.h"
#include "support/sim_link.h"

#include <gtest/gtest.h>

#include <memory>

using namespace online;
using onlinetest::SimLink;
using onlinetest::VirtualClock;

namespace {

constexpr std::uint32_t kNonce = 0xC0FFEE;

// Host and guest over a 40 ms link, ticking in turn every 26 ms.
struct TwoSessions {
    VirtualClock clock;
    SimLink link{{40, 0, 0, 0, 0}, 7, clock};
    game::FrameSink sink;
    std::unique_ptr<Session> host;
    std::unique_ptr<Session> guest;

    explicit TwoSessions(std::int32_t checksumFrames = kChecksumFrames) {
        game::World world;
        world.StartRun(false, false);
        SessionOptions options;
        options.SessionNonce = kNonce;
        options.ChecksumFrames = checksumFrames;
        host = std::make_unique<Session>(world, options, clock, link.Side(0));
        options.Host = false;
        guest = std::make_unique<Session>(world, options, clock, link.Side(1));
    }
    // Both tick; the host's results are returned.
    Session::Tick Frame(bool guestTicks = true) {
        clock.Set(clock.NowUs() + 13'000);
        if (guestTicks) {
            guest->Advance(PlayerInput{1, 0, false}, sink);
        }
        clock.Set(clock.NowUs() + 13'000);
        return host->Advance(PlayerInput{-1, 0, true}, sink);
    }
};

} // namespace

TEST(Session, AQuietPartnerStopsTheWorldAfterThePredictionThenEndsTheRun) {
    TwoSessions pair;
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(pair.Frame(), Session::Tick::Stepped);
    }
    const std::int32_t heard = pair.host->NextFrame();
    pair.link.SetCut(true);
    int stepped = 0;
    while (pair.Frame(false) == Session::Tick::Stepped) {
        ++stepped;
    }
    // Frames already on their way still arrive; then at most kPredictionFrames are guessed.
    EXPECT_LE(pair.host->NextFrame() - heard, kPredictionFrames + 2);
    EXPECT_FALSE(pair.host->PartnerQuiet());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(pair.Frame(false), Session::Tick::Waited);
    }
    EXPECT_TRUE(pair.host->PartnerQuiet());
    Session::Tick tick = Session::Tick::Waited;
    int waits = 0;
    while ((tick = pair.Frame(false)) == Session::Tick::Waited) {
        ++waits;
    }
    ASSERT_EQ(tick, Session::Tick::Ended);
    // Ten seconds after the last packet.
    EXPECT_NEAR(stepped + 20 + waits, 10'000 / 26, 3);
    EXPECT_EQ(pair.host->Ending()->Reason, EndReason::Timeout);
    EXPECT_TRUE(pair.host->Ending()->ByPartner);
}

TEST(Session, WorldsThatPartAreFoundAtTheNextCheckAndStopBothSides) {
    onlinetest::PairSetup setup;
    setup.Link = {100, 10, 5, 1, 1};
    setup.ForceDesyncAtFrame = 300;
    const onlinetest::PairRun run = onlinetest::RunPair(setup);
    // The first checked frame from 300 on: frames 15, 31, … are checked.
    for (const auto& side : run.Sides) {
        ASSERT_TRUE(side.End);
        EXPECT_EQ(side.End->Reason, EndReason::Desync);
        EXPECT_EQ(side.End->DesyncFrame, 303);
        EXPECT_LT(side.Confirmed.size(), 303u + 40u);
    }
    // At least one side found it itself and knows both checksums.
    const auto& finder = run.Sides[0].End->ByPartner ? *run.Sides[1].End : *run.Sides[0].End;
    EXPECT_FALSE(finder.ByPartner);
    EXPECT_EQ(finder.LastGoodFrame, 287);
    EXPECT_NE(finder.LocalChecksum, finder.PartnerChecksum);
}

TEST(Session, PacketsFromStrangersAreDroppedAndCounted) {
    TwoSessions pair;
    for (int i = 0; i < 10; ++i) {
        pair.Frame();
    }
    InputPacket foreign;
    foreign.SessionNonce = kNonce + 1;
    foreign.Frame = 5;
    foreign.FirstFrame = 0;
    foreign.Inputs.assign(20, PlayerInput{0, 1, true});
    pair.link.Inject(0, EncodePacket(foreign));
    pair.link.Inject(0, {'P', 'M', 1, 4, 0, 0});
    pair.link.Inject(0, EncodePacket(End{kNonce + 1, EndReason::Desync, 3}));
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(pair.Frame(), Session::Tick::Stepped);
    }
    EXPECT_EQ(pair.host->Stats().PacketsDropped, 3);
    // Only the first guess, before the partner was heard, was wrong: the stranger's inputs were not
    // taken.
    EXPECT_LE(pair.host->Stats().Rollbacks, 1);
}

TEST(Session, BothPlayersPressingEscEndAtTheSameFrame) {
    TwoSessions pair;
    for (int i = 0; i < 100; ++i) {
        pair.Frame();
    }
    pair.host->Quit();
    pair.Frame();
    pair.Frame();
    pair.guest->Quit();
    for (int i = 0; i < 200 && !(pair.host->Ending() && pair.guest->Ending()); ++i) {
        pair.Frame();
    }
    ASSERT_TRUE(pair.host->Ending() && pair.guest->Ending());
    EXPECT_EQ(pair.host->Ending()->Reason, EndReason::Quit);
    EXPECT_EQ(pair.guest->Ending()->Reason, EndReason::Quit);
    EXPECT_EQ(pair.host->ConfirmedFrames(), pair.guest->ConfirmedFrames());
    EXPECT_GE(pair.host->ConfirmedFrames(), 100);
}

TEST(Session, EveryCheckedFrameIsComparedThoughACatchUpConfirmsSeveralAtOnce) {
    // Checked often, so that the frames a stall held back cross several.
    TwoSessions pair(4);
    for (int stall = 0; stall < 5; ++stall) {
        for (int i = 0; i < 40; ++i) {
            pair.Frame();
        }
        pair.link.SetCut(true);
        for (int i = 0; i < 20; ++i) {
            pair.Frame();
        }
        pair.link.SetCut(false);
    }
    const std::int32_t confirmed = pair.host->ConfirmedFrames();
    // Time for the last checksums to cross.
    for (int i = 0; i < 10; ++i) {
        pair.Frame();
    }
    for (const Session* side : {pair.host.get(), pair.guest.get()}) {
        EXPECT_GE(side->Stats().ChecksumsMatched, confirmed / 4);
    }
}
