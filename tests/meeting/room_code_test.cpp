// Room codes as players read and type them, and what a code stands for on
// the meeting server.
#include "meeting/room_code.h"
#include "meeting/room_keys.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace meeting;

TEST(RoomCode, NewCodesUseTheAlphabetAndDiffer) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string code = NewRoomCode();
        ASSERT_EQ(code.size(), kRoomCodeLength);
        for (const char c : code) {
            EXPECT_NE(kRoomCodeAlphabet.find(c), std::string_view::npos) << code;
        }
        seen.insert(code);
    }
    EXPECT_GT(seen.size(), 195u); // 31^6 codes: repeats in 200 are very unlikely
}

TEST(RoomCode, ShownGroupedAndReadBackForgivingly) {
    EXPECT_EQ(ShowRoomCode("K7Q4MX"), "K7Q-4MX");
    std::string error;
    for (const char* typed : {"K7Q-4MX", "k7q4mx", " k7q 4mx ", "K7Q--4MX", "-K7Q4MX-"}) {
        EXPECT_EQ(ParseRoomCode(typed, error), "K7Q4MX") << typed;
    }
}

TEST(RoomCode, RefusesWhatIsNotACodeWithWords) {
    struct Case {
        const char* Typed;
        const char* Says;
    };
    for (const Case& c :
         {Case{"K7Q-4M", "6 文字"}, Case{"K7Q-4MXX", "長すぎ"}, Case{"K7Q-4M0", "0, 1, I, L, O"},
          Case{"KIQ-4MX", "0, 1, I, L, O"}, Case{"K7Q_4MX", "使われない文字"}, Case{"", "6 文字"},
          Case{"K7Q-4MÄ", "使われない文字"}}) {
        std::string error;
        EXPECT_FALSE(ParseRoomCode(c.Typed, error)) << c.Typed;
        EXPECT_NE(error.find(c.Says), std::string::npos) << c.Typed << ": " << error;
    }
}

TEST(RoomKeys, TopicAndKeyBelongToOneCode) {
    const std::string topic = RoomTopic("K7Q4MX");
    EXPECT_TRUE(std::regex_match(topic, std::regex("pimuru/v1/room/[0-9a-f]{32}"))) << topic;
    EXPECT_EQ(topic, RoomTopic("K7Q4MX"));
    EXPECT_NE(topic, RoomTopic("K7Q4MY"));
    EXPECT_EQ(RoomSealingKey("K7Q4MX"), RoomSealingKey("K7Q4MX"));
    EXPECT_NE(RoomSealingKey("K7Q4MX"), RoomSealingKey("K7Q4MY"));

    const Key host = NewSessionKey();
    const Key guest = NewSessionKey();
    EXPECT_NE(host, guest);
    EXPECT_EQ(RunPacketKey(host, guest), RunPacketKey(host, guest));
    EXPECT_NE(RunPacketKey(host, guest), RunPacketKey(guest, host));
}
