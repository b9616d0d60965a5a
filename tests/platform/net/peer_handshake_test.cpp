// The handshake over a transport that already leads to the partner (an ICE
// pair): a lost Welcome is answered again and never reaches the session, and
// a guest of another version is told why.
#include "platform/net/peer_handshake.h"

#include <gtest/gtest.h>

#include <deque>
#include <future>
#include <mutex>

namespace {

// Two ends in one process; the first `drop` datagrams from side 0 are lost.
class QueuePair {
public:
    explicit QueuePair(int drop) : drop_(drop), ends_{End(*this, 0), End(*this, 1)} {}
    online::Transport& Side(int side) { return ends_[side]; }

private:
    class End : public online::Transport {
    public:
        End(QueuePair& pair, int side) : pair_(pair), side_(side) {}
        void Send(std::span<const std::uint8_t> datagram) override {
            std::lock_guard lock(pair_.mutex_);
            if (side_ == 0 && pair_.drop_ > 0) {
                --pair_.drop_;
                return;
            }
            pair_.queues_[1 - side_].emplace_back(datagram.begin(), datagram.end());
        }
        std::optional<std::vector<std::uint8_t>> Receive() override {
            std::lock_guard lock(pair_.mutex_);
            auto& queue = pair_.queues_[side_];
            if (queue.empty()) {
                return std::nullopt;
            }
            auto datagram = std::move(queue.front());
            queue.pop_front();
            return datagram;
        }

    private:
        QueuePair& pair_;
        int side_;
    };

    std::mutex mutex_;
    int drop_;
    std::deque<std::vector<std::uint8_t>> queues_[2];
    End ends_[2];
};

const online::Versions kVersions{"1.1", 1};

} // namespace

TEST(PeerHandshake, ALostWelcomeIsAnsweredAgainAndKeptFromTheSession) {
    QueuePair pair(1); // the host's first Welcome is lost
    net::WelcomingTransport host(pair.Side(0));
    online::Welcome offer;
    offer.RandomSeed = 1234;
    auto hosting = std::async(std::launch::async,
                              [&] { return net::WaitForPeer(host, kVersions, offer, 10'000); });
    const net::JoinResult joined = net::JoinPeer(pair.Side(1), kVersions, 10'000);
    const net::HostResult hosted = hosting.get();
    ASSERT_TRUE(hosted.Accepted) << hosted.Error;
    ASSERT_TRUE(joined.Welcome) << joined.Error;
    EXPECT_EQ(joined.Welcome->RandomSeed, 1234u);
    EXPECT_EQ(joined.Welcome->SessionNonce, offer.SessionNonce);
    EXPECT_TRUE(host.HelloRepeated());

    // A session datagram after the handshake passes; a late Hello does not.
    const std::vector<std::uint8_t> input{9, 9, 9};
    pair.Side(1).Send(online::EncodePacket(online::Hello{}));
    pair.Side(1).Send(input);
    EXPECT_EQ(host.Receive(), input);
    EXPECT_FALSE(host.Receive());
}

TEST(PeerHandshake, AGuestOfAnotherVersionIsToldWhy) {
    QueuePair pair(0);
    net::WelcomingTransport host(pair.Side(0));
    online::Welcome offer;
    auto hosting = std::async(std::launch::async,
                              [&] { return net::WaitForPeer(host, kVersions, offer, 10'000); });
    const net::JoinResult joined = net::JoinPeer(pair.Side(1), {"1.2", 1}, 10'000);
    const net::HostResult hosted = hosting.get();
    EXPECT_FALSE(hosted.Accepted);
    EXPECT_FALSE(joined.Welcome);
    EXPECT_NE(joined.Error.find("1.1"), std::string::npos) << joined.Error;
    EXPECT_NE(hosted.Error.find("1.2"), std::string::npos) << hosted.Error;
}
