// Packets with a message authentication code: the partner's pass, anything
// else is dropped and counted.
#include "meeting/sealed_transport.h"

#include <gtest/gtest.h>

#include <deque>

using namespace meeting;

namespace {

// One direction of a link: what is sent waits to be received.
struct Pipe : online::Transport {
    std::deque<std::vector<std::uint8_t>> Queue;
    void Send(std::span<const std::uint8_t> d) override { Queue.emplace_back(d.begin(), d.end()); }
    std::optional<std::vector<std::uint8_t>> Receive() override {
        if (Queue.empty())
            return std::nullopt;
        auto d = std::move(Queue.front());
        Queue.pop_front();
        return d;
    }
};

} // namespace

TEST(SealedTransport, GoodDatagramsPassChangedOnesAreDroppedAndCounted) {
    const Key key = RunPacketKey(NewSessionKey(), NewSessionKey());
    Pipe pipe;
    SealedTransport sender(pipe, key);
    SealedTransport receiver(pipe, key);
    const std::vector<std::uint8_t> packet{1, 2, 3, 4, 5, 6, 7, 8};

    sender.Send(packet);
    ASSERT_EQ(pipe.Queue.size(), 1u);
    EXPECT_EQ(pipe.Queue.front().size(), packet.size() + kPacketMacSize);
    EXPECT_EQ(receiver.Receive(), packet);

    // Every single bit flipped, anywhere in the datagram, is caught.
    sender.Send(packet);
    const auto good = pipe.Queue.front();
    pipe.Queue.clear();
    for (std::size_t bit = 0; bit < good.size() * 8; ++bit) {
        auto flipped = good;
        flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        pipe.Queue.push_back(flipped);
    }
    pipe.Queue.push_back({});                               // empty
    pipe.Queue.push_back(std::vector<std::uint8_t>(10, 0)); // shorter than a code
    pipe.Queue.push_back(packet);                           // no code at all
    SealedTransport other(pipe, RunPacketKey(NewSessionKey(), NewSessionKey()));
    other.Send(packet); // another run's key
    pipe.Queue.push_back(good);
    EXPECT_EQ(receiver.Receive(), packet) << "the good one behind the forged ones";
    EXPECT_EQ(receiver.ForgedDatagrams(), static_cast<std::int64_t>(good.size() * 8 + 4));
    EXPECT_FALSE(receiver.Receive());
}
