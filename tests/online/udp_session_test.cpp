// Two sessions over real UDP sockets on this machine's loopback, IPv4 and
// IPv6: the handshake, a played run, strangers' datagrams, a second guest, a
// version the host does not run. Each side runs in its own thread with its own socket.
#include "online/session.h"
#include "online/steady_clock.h"
#include "platform/net/handshake_driver.h"

#include <QCoreApplication>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <future>
#include <thread>

using namespace online;

namespace {

const Versions kVersions{"1.1", 7};
constexpr int kFrameMs = 10; // short frames keep the test short; the session does not mind

struct SideRun {
    std::string Error;
    std::optional<SessionEnd> End;
    std::vector<std::uint64_t> Checksums;
    std::int64_t Foreign = 0;
};

// Plays until `frames` are confirmed, then the host quits.
SideRun Play(net::UdpEndpoint& endpoint, const Welcome& welcome, bool host, std::int32_t frames) {
    SideRun run;
    game::World world;
    world.SetCarryOver({welcome.RandomSeed, welcome.HighScore});
    world.StartRun(welcome.CoupleMode, welcome.Hard);
    SessionOptions options;
    options.Host = host;
    options.SessionNonce = welcome.SessionNonce;
    options.Hard = welcome.Hard;
    options.InputDelay = 1;
    options.FrameMs = kFrameMs;
    options.OnConfirmedFrame = [&run](const game::FrameInput&, const game::World& after) {
        run.Checksums.push_back(after.Checksum());
    };
    SteadyClock clock;
    Session session(world, options, clock, endpoint);
    game::FrameSink sink;
    auto next = std::chrono::steady_clock::now();
    for (std::int32_t tick = 0;; ++tick) {
        const PlayerInput input{static_cast<std::int8_t>(tick / 20 % 3 - 1),
                                host ? std::int8_t{1} : std::int8_t{-1}, tick % 7 == 0};
        if (session.Advance(input, sink) == Session::Tick::Ended) {
            break;
        }
        if (host && session.ConfirmedFrames() >= frames) {
            session.Quit();
        }
        next += std::chrono::milliseconds(kFrameMs + session.ExtraFrameMs());
        std::this_thread::sleep_until(next);
    }
    run.End = session.Ending();
    run.Foreign = endpoint.ForeignDatagrams();
    return run;
}

class UdpSession : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(UdpSession, HostAndGuestPlayTheSameRunAndStrangersAreKeptOut) {
    std::promise<quint16> hostPort;
    auto portKnown = hostPort.get_future();
    auto hostRun = std::async(std::launch::async, [&hostPort] {
        net::UdpEndpoint endpoint;
        if (!endpoint.Open(0)) {
            hostPort.set_value(0);
            SideRun failed;
            failed.Error = endpoint.Error();
            return failed;
        }
        hostPort.set_value(endpoint.Port());
        // Offered when hosting began, long before the guest came.
        Welcome offer{0, 0, 0xABCDEF, 25, false, true, 1000};
        const net::HostResult accepted = net::WaitForGuest(endpoint, kVersions, offer, 10'000);
        // The guest's first packet follows its Welcome at once, on loopback within a second.
        if (accepted.Accepted && (accepted.RoundTripMs < 0 || accepted.RoundTripMs > 1000)) {
            SideRun failed;
            failed.Error = "no round trip measured: " + std::to_string(accepted.RoundTripMs);
            return failed;
        }
        if (!accepted.Accepted) {
            SideRun failed;
            failed.Error = accepted.Error;
            return failed;
        }
        return Play(endpoint, offer, true, 300);
    });
    const quint16 port = portKnown.get();
    ASSERT_NE(port, 0);

    net::UdpEndpoint endpoint;
    ASSERT_TRUE(endpoint.Open(0)) << endpoint.Error();
    const std::time_t joining = std::time(nullptr);
    const net::JoinResult joined = net::Join(endpoint, {GetParam(), port}, kVersions, 10'000);
    ASSERT_TRUE(joined.Welcome) << joined.Error;
    EXPECT_EQ(joined.Welcome->RandomSeed, 0xABCDEFu);
    EXPECT_TRUE(joined.Welcome->Hard);
    // Both replays are dated by the run's start, not by when hosting began.
    EXPECT_GE(joined.Welcome->StartedAt, joining);

    // A stranger's datagrams during the run, shaped like the partner's or not;
    // then a second guest, who is told at once that the host is taken.
    std::string secondGuest;
    std::int64_t secondGuestMs = 0;
    std::thread stranger([port, &secondGuest, &secondGuestMs] {
        QUdpSocket socket;
        for (int i = 0; i < 20; ++i) {
            socket.writeDatagram("PM\x01\x04garbage", QHostAddress(QHostAddress::LocalHost), port);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        net::UdpEndpoint second;
        second.Open(0);
        const auto asked = std::chrono::steady_clock::now();
        secondGuest = net::Join(second, {"127.0.0.1", port}, kVersions, 5000).Error;
        secondGuestMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - asked)
                            .count();
    });
    const SideRun guest = Play(endpoint, *joined.Welcome, false, 300);
    stranger.join();
    const SideRun host = hostRun.get();
    ASSERT_TRUE(host.Error.empty()) << host.Error;
    ASSERT_TRUE(host.End && guest.End);
    EXPECT_EQ(host.End->Reason, EndReason::Quit);
    EXPECT_EQ(guest.End->Reason, EndReason::Quit);
    EXPECT_GE(host.Checksums.size(), 300u);
    EXPECT_EQ(host.Checksums, guest.Checksums);
    EXPECT_EQ(host.Foreign, 20);
    EXPECT_EQ(secondGuest, "ホストは既に別の相手と遊んでいます。");
    EXPECT_LT(secondGuestMs, 1000);
}

INSTANTIATE_TEST_SUITE_P(Loopback, UdpSession, ::testing::Values("127.0.0.1", "::1", "localhost"));

TEST(UdpHandshake, AnotherVersionIsToldOnBothSides) {
    std::promise<quint16> hostPort;
    auto portKnown = hostPort.get_future();
    auto hostRun = std::async(std::launch::async, [&hostPort] {
        net::UdpEndpoint endpoint;
        endpoint.Open(0);
        hostPort.set_value(endpoint.Port());
        Welcome offer;
        std::string refused;
        net::WaitForGuest(endpoint, kVersions, offer, 1500,
                          [&refused](const std::string& m) { refused = m; });
        return refused;
    });
    const quint16 port = portKnown.get();
    net::UdpEndpoint endpoint;
    ASSERT_TRUE(endpoint.Open(0));
    const net::JoinResult joined = net::Join(endpoint, {"127.0.0.1", port}, {"1.2", 7}, 5000);
    EXPECT_FALSE(joined.Welcome);
    EXPECT_NE(joined.Error.find("ホストの版は 1.1"), std::string::npos) << joined.Error;
    EXPECT_NE(joined.Error.find("こちらの版は 1.2"), std::string::npos) << joined.Error;
    const std::string refused = hostRun.get();
    EXPECT_NE(refused.find("版 1.2("), std::string::npos) << refused;
}

TEST(UdpHandshake, AddressesAreReadAsPlayersTypeThem) {
    std::string error;
    EXPECT_EQ(net::ParseHostAndPort("example.lan:7200", 7170, error)->Port, 7200);
    EXPECT_EQ(net::ParseHostAndPort("example.lan", 7170, error)->Port, 7170);
    EXPECT_EQ(net::ParseHostAndPort("[::1]:7300", 7170, error)->Host, "::1");
    EXPECT_EQ(net::ParseHostAndPort("fe80::1", 7170, error)->Host, "fe80::1");
    EXPECT_FALSE(net::ParseHostAndPort("host:70000", 7170, error));
    EXPECT_FALSE(net::ParseHostAndPort("[::1", 7170, error));
    EXPECT_FALSE(net::ParseHostAndPort(":7170", 7170, error));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
