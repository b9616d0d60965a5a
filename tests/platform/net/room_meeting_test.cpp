// Two players meeting by a room code through a meeting server of the test's
// own on loopback (mosquitto and coturn): directly, through the relay, and
// the bad cases with the words a player sees.
#include "meeting/room_code.h"
#include "meeting/room_keys.h"
#include "meeting/sealed_transport.h"
#include "platform/net/room_keeper.h"
#include "platform/net/room_meeting.h"
#include "support/meeting_servers.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace net;
using namespace std::chrono_literals;

namespace {

const online::Versions kVersions{"1.1", 7};

// Loopback servers answer at once; longer waits keep the test steady on a
// busy machine.
MeetingTimes TestTimes() {
    MeetingTimes t;
    t.Guest = 30s;
    t.Offer = 15s;
    t.Connecting = 30s;
    return t;
}

struct Player {
    Player(std::uint16_t turnPort, bool host, RelayUse relay, const char* loopback = "127.0.0.1")
        : ice(IceOptions{host, loopback, turnPort, "pimuru", "pimuru-relay", relay, {loopback}}) {}
    MeetingClient client;
    IceTransport ice;
    MeetingOutcome outcome;
};

class RoomMeeting : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto missing = testsupport::MeetingServers::Missing(); !missing.empty()) {
            GTEST_SKIP() << "not installed: " << missing << " (scripts/install-deps installs it)";
        }
        ASSERT_TRUE(servers_.Start()) << servers_.Error();
    }

    // Connects the player to the room and starts its ICE agent.
    void Enter(Player& p, const std::string& code) {
        ASSERT_TRUE(p.client.Connect("127.0.0.1", servers_.MqttPort(), meeting::RoomTopic(code)))
            << p.client.Error();
        ASSERT_TRUE(p.ice.Start()) << p.ice.Error();
    }

    // The host and a guest meet in a fresh room.
    void Meet(Player& host, Player& guest, const std::string& code) {
        Enter(host, code);
        Enter(guest, code);
        auto hosting = std::async(std::launch::async, [&] {
            return MeetAsHost(host.client, host.ice, code, kVersions, TestTimes());
        });
        guest.outcome = MeetAsGuest(guest.client, guest.ice, code, kVersions, TestTimes());
        host.outcome = hosting.get();
        ASSERT_TRUE(host.outcome.Met) << host.outcome.Error;
        ASSERT_TRUE(guest.outcome.Met) << guest.outcome.Error;
        EXPECT_EQ(host.outcome.PacketKey, guest.outcome.PacketKey);
    }

    testsupport::MeetingServers servers_;
};

// Sends until the datagram arrives on the other side (the first may leave
// before the far end has its pair).
bool Carries(online::Transport& from, online::Transport& to,
             const std::vector<std::uint8_t>& datagram, int attempts = 50) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        from.Send(datagram);
        for (int wait = 0; wait < 10; ++wait) {
            std::this_thread::sleep_for(10ms);
            while (auto got = to.Receive()) {
                if (*got == datagram) {
                    return true;
                }
            }
        }
    }
    return false;
}

void ExchangeSealed(Player& host, Player& guest) {
    meeting::SealedTransport hostSide(host.ice, host.outcome.PacketKey);
    meeting::SealedTransport guestSide(guest.ice, guest.outcome.PacketKey);
    EXPECT_TRUE(Carries(hostSide, guestSide, {1, 2, 3, 4}));
    EXPECT_TRUE(Carries(guestSide, hostSide, {5, 6, 7, 8, 9}));
    // A datagram without the run's code, straight on the pair, is dropped.
    const std::vector<std::uint8_t> forged(24, 0xAB);
    EXPECT_FALSE(Carries(host.ice, guestSide, forged, 5));
    EXPECT_GT(guestSide.ForgedDatagrams(), 0);
}

} // namespace

TEST_F(RoomMeeting, PlayersMeetByCodeDirectly) {
    Player host(servers_.TurnPort(), true, RelayUse::Allow);
    Player guest(servers_.TurnPort(), false, RelayUse::Allow);
    ASSERT_NO_FATAL_FAILURE(Meet(host, guest, meeting::NewRoomCode()));
    EXPECT_FALSE(host.ice.Relayed());
    EXPECT_FALSE(guest.ice.Relayed());
    ExchangeSealed(host, guest);
}

TEST_F(RoomMeeting, PlayersMeetThroughTheRelay) {
    Player host(servers_.TurnPort(), true, RelayUse::Force);
    Player guest(servers_.TurnPort(), false, RelayUse::Force);
    ASSERT_NO_FATAL_FAILURE(Meet(host, guest, meeting::NewRoomCode()));
    EXPECT_TRUE(host.ice.Relayed());
    EXPECT_TRUE(guest.ice.Relayed());
    ExchangeSealed(host, guest);
}

TEST_F(RoomMeeting, PlayersMeetOverIpv6DirectlyAndThroughTheRelay) {
    for (const RelayUse relay : {RelayUse::Allow, RelayUse::Force}) {
        Player host(servers_.TurnPort(), true, relay, "::1");
        Player guest(servers_.TurnPort(), false, relay, "::1");
        ASSERT_NO_FATAL_FAILURE(Meet(host, guest, meeting::NewRoomCode()));
        EXPECT_EQ(host.ice.Relayed(), relay == RelayUse::Force);
        ExchangeSealed(host, guest);
    }
}

TEST_F(RoomMeeting, ATakenRoomAnUnknownCodeAndGarbageInTheRoom) {
    const std::string code = meeting::NewRoomCode();
    // A stranger floods the room's topic with garbage all the while the two meet.
    MeetingClient stranger;
    ASSERT_TRUE(stranger.Connect("127.0.0.1", servers_.MqttPort(), meeting::RoomTopic(code)));
    std::atomic<bool> met = false;
    auto flood = std::async(std::launch::async, [&] {
        for (int i = 0; !met; ++i) {
            const std::vector<std::uint8_t> garbage(static_cast<std::size_t>(1 + i % 300),
                                                    static_cast<std::uint8_t>(i));
            stranger.Publish(garbage, 60);
            if (i % 100 == 0) { // one over the size bound now and then
                stranger.Publish(std::vector<std::uint8_t>(100'000, 1), 60);
            }
            std::this_thread::sleep_for(200us);
        }
    });
    Player host(servers_.TurnPort(), true, RelayUse::Forbid);
    Player guest(servers_.TurnPort(), false, RelayUse::Forbid);
    Meet(host, guest, code);
    met = true;
    flood.get();
    ASSERT_TRUE(host.outcome.Met && guest.outcome.Met);
    EXPECT_GT(host.client.DroppedMessages(), 0);
    EXPECT_GT(guest.client.DroppedMessages(), 0);

    // The host keeps its room for as long as the run lasts: a later guest is
    // told at once that it is taken.
    const RoomKeeper keeper(host.client, code, host.outcome.GuestUfrag, kVersions);
    Player late(servers_.TurnPort(), false, RelayUse::Forbid);
    Enter(late, code);
    const auto taken = MeetAsGuest(late.client, late.ice, code, kVersions, TestTimes());
    EXPECT_FALSE(taken.Met);
    EXPECT_NE(taken.Error.find("もう相手がいます"), std::string::npos) << taken.Error;

    Player lost(servers_.TurnPort(), false, RelayUse::Forbid);
    const std::string nobody = meeting::NewRoomCode();
    Enter(lost, nobody);
    MeetingTimes quick = TestTimes();
    quick.Offer = 2s;
    const auto unknown = MeetAsGuest(lost.client, lost.ice, nobody, kVersions, quick);
    EXPECT_FALSE(unknown.Met);
    EXPECT_NE(unknown.Error.find("見つかりません"), std::string::npos) << unknown.Error;
}

TEST(MeetingClient, AnUnreachableServerIsNamedWithinFiveSeconds) {
    const std::uint16_t port = testsupport::FreeLoopbackPort(); // nothing listens there
    MeetingClient client;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.Connect("127.0.0.1", port, meeting::RoomTopic("K7Q4MX")));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 6s);
    EXPECT_NE(client.Error().find("127.0.0.1:" + std::to_string(port)), std::string::npos)
        << client.Error();
}
