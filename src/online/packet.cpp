#include "online/packet.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"

#include <algorithm>
#include <limits>

namespace online {

namespace {

using WireWriter = base::ByteWriter;
using WireReader = base::ByteReader;

constexpr std::uint8_t kMagic0 = 'P';
constexpr std::uint8_t kMagic1 = 'M';

enum class Type : std::uint8_t { Hello = 1, Welcome = 2, Reject = 3, Input = 4, End = 5 };

void Header(WireWriter& w, Type type, std::uint8_t protocol = kProtocolVersion) {
    w.U8(kMagic0);
    w.U8(kMagic1);
    w.U8(protocol);
    w.U8(static_cast<std::uint8_t>(type));
}

// A version text: a length byte, then at most kMaxVersionText bytes.
void WriteText(WireWriter& w, const std::string& text) {
    const std::size_t size = std::min(text.size(), kMaxVersionText);
    w.U8(static_cast<std::uint8_t>(size));
    w.Bytes({reinterpret_cast<const std::uint8_t*>(text.data()), size});
}

std::string ReadText(WireReader& r) {
    const std::size_t size = r.U8();
    if (size > kMaxVersionText) {
        r.Bytes(r.Left() + 1); // marks the reader failed
        return {};
    }
    const auto bytes = r.Bytes(size);
    return {bytes.begin(), bytes.end()};
}

void Write(WireWriter& w, const Hello& p) {
    Header(w, Type::Hello, p.Protocol);
    w.U32(p.Nonce);
    WriteText(w, p.ProgramVersion);
    w.U32(p.DataVersion);
    while (w.Result().size() < kHelloSize) {
        w.U8(0);
    }
}

void Write(WireWriter& w, const Welcome& p) {
    Header(w, Type::Welcome);
    w.U32(p.HelloNonce);
    w.U32(p.SessionNonce);
    w.U32(p.RandomSeed);
    w.I32(p.HighScore);
    w.U8(p.CoupleMode ? 1 : 0);
    w.U8(p.Hard ? 1 : 0);
    w.I64(p.StartedAt);
}

void Write(WireWriter& w, const Reject& p) {
    Header(w, Type::Reject, p.Protocol);
    w.U32(p.HelloNonce);
    w.U8(static_cast<std::uint8_t>(p.Reason));
    WriteText(w, p.ProgramVersion);
    w.U32(p.DataVersion);
}

void Write(WireWriter& w, const InputPacket& p) {
    Header(w, Type::Input);
    w.U32(p.SessionNonce);
    w.I32(p.Frame);
    w.I32(p.Ack);
    w.I32(p.FirstFrame);
    const std::size_t count = std::min(p.Inputs.size(), kMaxInputsPerPacket);
    w.U8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        w.U8(p.Inputs[i].Encode());
    }
    w.U32(p.SentAtMs);
    w.U32(p.EchoMs);
    w.U16(p.EchoHoldMs);
    w.U16(static_cast<std::uint16_t>(p.AdvantageMs));
    w.U8(p.Checksum ? 1 : 0);
    if (p.Checksum) {
        w.I32(p.Checksum->Frame);
        w.U64(p.Checksum->Value);
    }
}

void Write(WireWriter& w, const End& p) {
    Header(w, Type::End);
    w.U32(p.SessionNonce);
    w.U8(static_cast<std::uint8_t>(p.Reason));
    w.I32(p.Frame);
}

std::optional<bool> Flag(std::uint8_t byte) {
    if (byte > 1) {
        return std::nullopt;
    }
    return byte == 1;
}

std::optional<Packet> ReadHello(WireReader& r, std::uint8_t protocol, std::size_t size) {
    Hello p;
    p.Protocol = protocol;
    p.Nonce = r.U32();
    p.ProgramVersion = ReadText(r);
    p.DataVersion = r.U32();
    if (r.Failed() || size != kHelloSize) {
        return std::nullopt;
    }
    return p;
}

std::optional<Packet> ReadWelcome(WireReader& r) {
    Welcome p;
    p.HelloNonce = r.U32();
    p.SessionNonce = r.U32();
    p.RandomSeed = r.U32();
    p.HighScore = r.I32();
    const auto couple = Flag(r.U8());
    const auto hard = Flag(r.U8());
    p.StartedAt = r.I64();
    if (!(!r.Failed() && r.AtEnd()) || !couple || !hard || p.HighScore < 0) {
        return std::nullopt;
    }
    p.CoupleMode = *couple;
    p.Hard = *hard;
    return p;
}

std::optional<Packet> ReadReject(WireReader& r, std::uint8_t protocol) {
    Reject p;
    p.Protocol = protocol;
    p.HelloNonce = r.U32();
    const std::uint8_t reason = r.U8();
    p.ProgramVersion = ReadText(r);
    p.DataVersion = r.U32();
    if (!(!r.Failed() && r.AtEnd()) || reason < 1 || reason > 4) {
        return std::nullopt;
    }
    p.Reason = static_cast<RejectReason>(reason);
    return p;
}

std::optional<Packet> ReadInput(WireReader& r) {
    InputPacket p;
    p.SessionNonce = r.U32();
    p.Frame = r.I32();
    p.Ack = r.I32();
    p.FirstFrame = r.I32();
    const std::size_t count = r.U8();
    if (r.Failed() || count > kMaxInputsPerPacket || p.Frame < 0 || p.Ack < -1 ||
        p.FirstFrame < 0 ||
        p.FirstFrame >
            std::numeric_limits<std::int32_t>::max() - static_cast<std::int32_t>(count)) {
        return std::nullopt;
    }
    p.Inputs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto input = PlayerInput::Decode(r.U8());
        if (!input) {
            return std::nullopt;
        }
        p.Inputs.push_back(*input);
    }
    p.SentAtMs = r.U32();
    p.EchoMs = r.U32();
    p.EchoHoldMs = r.U16();
    p.AdvantageMs = static_cast<std::int16_t>(r.U16());
    const auto hasChecksum = Flag(r.U8());
    if (!hasChecksum) {
        return std::nullopt;
    }
    if (*hasChecksum) {
        FrameChecksum checksum;
        checksum.Frame = r.I32();
        checksum.Value = r.U64();
        if (checksum.Frame < 0) {
            return std::nullopt;
        }
        p.Checksum = checksum;
    }
    if (!(!r.Failed() && r.AtEnd())) {
        return std::nullopt;
    }
    return p;
}

std::optional<Packet> ReadEnd(WireReader& r) {
    End p;
    p.SessionNonce = r.U32();
    const std::uint8_t reason = r.U8();
    p.Frame = r.I32();
    if (!(!r.Failed() && r.AtEnd()) || reason < 1 || reason > 3 || p.Frame < 0) {
        return std::nullopt;
    }
    p.Reason = static_cast<EndReason>(reason);
    return p;
}

} // namespace

std::vector<std::uint8_t> EncodePacket(const Packet& packet) {
    WireWriter w;
    std::visit([&w](const auto& p) { Write(w, p); }, packet);
    return std::move(w.Result());
}

std::optional<Packet> DecodePacket(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxPacketSize) {
        return std::nullopt;
    }
    WireReader r(bytes);
    const std::uint8_t magic0 = r.U8();
    const std::uint8_t magic1 = r.U8();
    const std::uint8_t protocol = r.U8();
    const std::uint8_t type = r.U8();
    if (r.Failed() || magic0 != kMagic0 || magic1 != kMagic1) {
        return std::nullopt;
    }
    switch (static_cast<Type>(type)) {
    case Type::Hello:
        return ReadHello(r, protocol, bytes.size());
    case Type::Reject:
        return ReadReject(r, protocol);
    default:
        break;
    }
    // The run's packets mean what this protocol says only when both speak it.
    if (protocol != kProtocolVersion) {
        return std::nullopt;
    }
    switch (static_cast<Type>(type)) {
    case Type::Welcome:
        return ReadWelcome(r);
    case Type::Input:
        return ReadInput(r);
    case Type::End:
        return ReadEnd(r);
    default:
        return std::nullopt;
    }
}

} // namespace online
