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

TEST(RoomExchange, GuestAnswersAGoodOfferAndSaysWhyNotOtherwise) {
    const Key key = NewSessionKey();
    EXPECT_TRUE(ReadAsGuest(MakeOffer(kHostSide, kMine, key, kNow), kMine, "me", kNow).Answer);

    const auto old =
        ReadAsGuest(MakeOffer(kHostSide, kMine, key, kNow - 31 * 60), kMine, "me", kNow);
    EXPECT_FALSE(old.Answer);
    EXPECT_NE(old.Refusal.find("期限"), std::string::npos) << old.Refusal;

    const auto other = ReadAsGuest(MakeOffer(kHostSide, {"1.2", 7}, key, kNow), kMine, "me", kNow);
    EXPECT_FALSE(other.Answer);
    EXPECT_NE(other.Refusal.find("1.2"), std::string::npos) << other.Refusal;

    const auto taken = ReadAsGuest(MakeTaken("someone", kNow), kMine, "me", kNow);
    EXPECT_NE(taken.Refusal.find("もう相手"), std::string::npos) << taken.Refusal;
    const auto mine = ReadAsGuest(MakeTaken("me", kNow), kMine, "me", kNow);
    EXPECT_FALSE(mine.Answer);
    EXPECT_TRUE(mine.Refusal.empty()) << "the host took this guest";

    const auto answer = ReadAsGuest(MakeAnswer(kHostSide, kMine, key, kNow), kMine, "me", kNow);
    EXPECT_FALSE(answer.Answer);
    EXPECT_TRUE(answer.Refusal.empty()) << "another guest's answer is no concern";
}

TEST(RoomExchange, HostTakesOnlyAFreshAnswerOfItsOwnVersion) {
    const Key key = NewSessionKey();
    EXPECT_TRUE(TakeAsHost(MakeAnswer(kHostSide, kMine, key, kNow), kMine, kNow));
    EXPECT_FALSE(TakeAsHost(MakeOffer(kHostSide, kMine, key, kNow), kMine, kNow));
    EXPECT_FALSE(TakeAsHost(MakeAnswer(kHostSide, {"1.1", 8}, key, kNow), kMine, kNow));
    EXPECT_FALSE(TakeAsHost(MakeAnswer(kHostSide, kMine, key, kNow - 3600), kMine, kNow));
    EXPECT_FALSE(TakeAsHost(MakeAnswer({}, kMine, key, kNow), kMine, kNow));
}
