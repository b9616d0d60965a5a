// Sealed meeting messages: what opens, what does not, and how long an offer
// is good.
#include "meeting/meeting_message.h"

#include <gtest/gtest.h>

using namespace meeting;

namespace {

MeetingMessage Offer() {
    MeetingMessage m;
    m.Type = MessageType::Offer;
    m.CreatedAt = 1'800'000'000;
    m.Protocol = 1;
    m.ProgramVersion = "1.1";
    m.DataVersion = 7;
    m.Ice.Ufrag = "aB3d";
    m.Ice.Password = "0123456789abcdefghijkl";
    m.Ice.Candidates = {"a=candidate:1 1 UDP 2015363327 192.0.2.1 40000 typ host",
                        "a=candidate:2 1 UDP 8331263 203.0.113.9 50000 typ relay raddr 0.0.0.0"};
    m.Guest = "zY9w";
    m.SessionKey = NewSessionKey();
    return m;
}

} // namespace

TEST(MeetingMessage, OpensWithTheRoomKeyOnly) {
    const Key room = RoomSealingKey("K7Q4MX");
    const MeetingMessage offer = Offer();
    const auto sealed = SealMessage(offer, room);
    ASSERT_TRUE(sealed);
    const auto opened = OpenMessage(*sealed, room);
    ASSERT_TRUE(opened);
    EXPECT_EQ(*opened, offer);
    EXPECT_FALSE(OpenMessage(*sealed, RoomSealingKey("K7Q4MY")));
    EXPECT_NE(*SealMessage(offer, room), *sealed) << "each seal has its own nonce";
}

TEST(MeetingMessage, AnythingChangedCutOrGarbageIsIgnored) {
    const Key room = RoomSealingKey("K7Q4MX");
    const auto sealed = *SealMessage(Offer(), room);
    for (std::size_t i = 0; i < sealed.size(); i += 7) {
        auto changed = sealed;
        changed[i] ^= 0x20;
        EXPECT_FALSE(OpenMessage(changed, room)) << "byte " << i;
    }
    for (std::size_t size : {std::size_t{0}, std::size_t{39}, sealed.size() - 1}) {
        EXPECT_FALSE(OpenMessage(std::span(sealed).first(size), room)) << size;
    }
    EXPECT_FALSE(OpenMessage(std::vector<std::uint8_t>(kMaxSealedMessage + 1, 0), room));
}

TEST(MeetingMessage, OverTheBoundsIsNotSealed) {
    const Key room = RoomSealingKey("K7Q4MX");
    auto many = Offer();
    many.Ice.Candidates.assign(kMaxCandidates + 1, "a=candidate:1 1 UDP 1 192.0.2.1 1 typ host");
    EXPECT_FALSE(SealMessage(many, room));
    auto longText = Offer();
    longText.Ice.Password.assign(kMaxMessageText + 1, 'x');
    EXPECT_FALSE(SealMessage(longText, room));
    auto control = Offer();
    control.Ice.Candidates[0] += "\r\nx";
    EXPECT_FALSE(SealMessage(control, room));
    auto full = Offer();
    full.Ice.Candidates.assign(kMaxCandidates, std::string(kMaxMessageText - 1, 'c'));
    EXPECT_FALSE(SealMessage(full, room)) << "over the sealed size";
}

TEST(MeetingMessage, AnOfferIsGoodForThirtyMinutes) {
    const std::int64_t made = 1'800'000'000;
    EXPECT_TRUE(StillGood(made, made));
    EXPECT_TRUE(StillGood(made, made + 30 * 60));
    EXPECT_FALSE(StillGood(made, made + 30 * 60 + 1));
    EXPECT_TRUE(StillGood(made, made - 60)) << "the host's clock a minute ahead";
    EXPECT_FALSE(StillGood(made, made - 3600)) << "an hour ahead is not a clock's error";
}
