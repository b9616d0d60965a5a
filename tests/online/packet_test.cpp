// The packets: what is encoded decodes to the same, and nothing malformed
// gets through the decoder.
#include "online/packet.h"

#include <gtest/gtest.h>

using namespace online;

namespace {

InputPacket FullInput() {
    InputPacket p;
    p.SessionNonce = 0x12345678;
    p.Frame = 1000;
    p.Ack = 997;
    p.FirstFrame = 990;
    for (int i = 0; i < 30; ++i) {
        p.Inputs.push_back(
            {static_cast<std::int8_t>(i % 3 - 1), static_cast<std::int8_t>(1 - i % 3), i % 2 == 0});
    }
    p.SentAtMs = 0xFFFFFFF0;
    p.EchoMs = 77;
    p.EchoHoldMs = 12;
    p.AdvantageMs = -40;
    p.Checksum = FrameChecksum{991, 0x0123456789ABCDEFull};
    return p;
}

} // namespace

TEST(Packet, EveryKindDecodesToWhatWasEncoded) {
    const std::vector<Packet> packets = {
        Hello{kProtocolVersion, 42, "1.1", 7},
        Welcome{42, 99, 0xDEADBEEF, 1234, true, false, 1'700'000'000},
        Reject{kProtocolVersion, 42, RejectReason::DataMismatch, "1.2", 8},
        FullInput(),
        InputPacket{},
        End{99, EndReason::Desync, 303},
    };
    for (const Packet& packet : packets) {
        const auto decoded = DecodePacket(EncodePacket(packet));
        ASSERT_TRUE(decoded) << packet.index();
        EXPECT_EQ(*decoded, packet) << packet.index();
    }
}

TEST(Packet, NoAnswerBeforeTheHandshakeIsLargerThanTheHello) {
    const auto hello = EncodePacket(Hello{kProtocolVersion, 1, "", 0});
    EXPECT_EQ(hello.size(), kHelloSize);
    EXPECT_LE(EncodePacket(Welcome{}).size(), hello.size());
    const std::string longest(kMaxVersionText + 10, 'v');
    EXPECT_LE(EncodePacket(Reject{kProtocolVersion, 1, RejectReason::Busy, longest, 0}).size(),
              hello.size());
}

TEST(Packet, ShortLongOrBentPacketsAreRefused) {
    const auto good = EncodePacket(FullInput());
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_FALSE(DecodePacket({good.data(), size})) << size;
    }
    auto longer = good;
    longer.push_back(0);
    EXPECT_FALSE(DecodePacket(longer));

    auto bent = [&good](std::size_t at, std::uint8_t value) {
        auto bytes = good;
        bytes.at(at) = value;
        return DecodePacket(bytes).has_value();
    };
    EXPECT_FALSE(bent(0, 'X'));              // magic
    EXPECT_FALSE(bent(2, 2));                // another protocol
    EXPECT_FALSE(bent(3, 9));                // unknown kind
    EXPECT_FALSE(bent(11, 0x80));            // a negative frame
    EXPECT_FALSE(bent(20, 65));              // more inputs than a packet carries
    EXPECT_FALSE(bent(21, 0x03));            // an input with both stick signs
    EXPECT_FALSE(bent(21, 0x20));            // an input with unknown bits
    EXPECT_FALSE(bent(good.size() - 13, 2)); // the checksum flag

    // A Hello of another protocol still reads, so that the host can say so.
    auto hello = EncodePacket(Hello{kProtocolVersion + 1, 5, "9.9", 1});
    const auto decoded = DecodePacket(hello);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(std::get<Hello>(*decoded).Protocol, kProtocolVersion + 1);
    hello[8] = kMaxVersionText + 1; // a version text longer than allowed
    EXPECT_FALSE(DecodePacket(hello));
}
