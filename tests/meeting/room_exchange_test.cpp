// What a guest and a host make of what they read in a room, with the words a
// player sees when the room cannot be joined.
#include "meeting/room_exchange.h"

#include <gtest/gtest.h>

using namespace meeting;

namespace {

const online::Versions kMine{"1.1", 7};
constexpr std::int64_t kNow = 1'800'000'000;
const IceSide kHostSide{
    "host", "hostpassword0123456789", {"a=candidate:1 1 UDP 1 192.0.2.1 1 typ host"}};

} // namespace

TEST(RoomExchange, GuestConnectsOnItsOwnOfferAndSaysWhyNotOtherwise) {
    const Key key = NewSessionKey();
    EXPECT_TRUE(
        ReadAsGuest(MakeOffer(kHostSide, kMine, key, "me", kNow), kMine, "me", kNow).Answer);

    const auto other =
        ReadAsGuest(MakeOffer({}, {"1.2", 7}, key, "me", kNow), kMine, "me", kNow);
    EXPECT_FALSE(other.Answer);
    EXPECT_NE(other.Refusal.find("1.2"), std::string::npos) << other.Refusal;

    const auto taken = ReadAsGuest(MakeTaken("me", kNow), kMine, "me", kNow);
    EXPECT_NE(taken.Refusal.find("もう相手"), std::string::npos) << taken.Refusal;

    // Replies to other guests, guests' requests and old replies are no concern.
    for (const MeetingMessage& none :
         {MakeTaken("someone", kNow), MakeOffer(kHostSide, kMine, key, "someone", kNow),
          MakeAnswer(kHostSide, kMine, key, kNow),
          MakeOffer(kHostSide, kMine, key, "me", kNow - 31 * 60)}) {
        const auto reading = ReadAsGuest(none, kMine, "me", kNow);
        EXPECT_FALSE(reading.Answer);
        EXPECT_TRUE(reading.Refusal.empty()) << reading.Refusal;
    }
}

TEST(RoomExchange, HostTakesAFreshRequestOfItsOwnVersionAndTellsOthers) {
    const Key key = NewSessionKey();
    EXPECT_EQ(ReadAsHost(MakeAnswer(kHostSide, kMine, key, kNow), kMine, kNow), HostReading::Take);
    EXPECT_EQ(ReadAsHost(MakeAnswer(kHostSide, {"1.1", 8}, key, kNow), kMine, kNow),
              HostReading::Mismatch);
    EXPECT_EQ(ReadAsHost(MakeOffer(kHostSide, kMine, key, "me", kNow), kMine, kNow),
              HostReading::Ignore);
    EXPECT_EQ(ReadAsHost(MakeAnswer(kHostSide, kMine, key, kNow - 3600), kMine, kNow),
              HostReading::Ignore);
    EXPECT_EQ(ReadAsHost(MakeAnswer({}, kMine, key, kNow), kMine, kNow), HostReading::Ignore);
}
