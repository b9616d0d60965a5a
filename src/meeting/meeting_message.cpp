#include "meeting/meeting_message.h"

#include "meeting/sodium_ready.h"
#include "base/byte_reader.h"
#include "base/byte_writer.h"

#include <sodium.h>

#include <algorithm>

namespace meeting {

namespace {

constexpr std::uint8_t kFormat = 2;

bool GoodText(const std::string& text) {
    return text.size() <= kMaxMessageText &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

void WriteText(base::ByteWriter& out, const std::string& text) {
    out.Count(text.size());
    out.Bytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::optional<std::string> ReadText(base::ByteReader& in) {
    const std::uint32_t size = in.Count();
    if (size > kMaxMessageText) {
        return std::nullopt;
    }
    const auto bytes = in.Bytes(size);
    std::string text(bytes.begin(), bytes.end());
    if (in.Failed() || !GoodText(text)) {
        return std::nullopt;
    }
    return text;
}

} // namespace

std::optional<std::vector<std::uint8_t>> SealMessage(const MeetingMessage& message,
                                                     const Key& roomKey) {
    const auto& texts = {message.ProgramVersion, message.Ice.Ufrag, message.Ice.Password,
                         message.Guest};
    if (message.Ice.Candidates.size() > kMaxCandidates ||
        !std::all_of(texts.begin(), texts.end(), GoodText) ||
        !std::all_of(message.Ice.Candidates.begin(), message.Ice.Candidates.end(), GoodText)) {
        return std::nullopt;
    }
    base::ByteWriter plain;
    plain.U8(kFormat);
    plain.U8(static_cast<std::uint8_t>(message.Type));
    plain.I64(message.CreatedAt);
    plain.U8(message.Protocol);
    WriteText(plain, message.ProgramVersion);
    plain.U32(message.DataVersion);
    WriteText(plain, message.Ice.Ufrag);
    WriteText(plain, message.Ice.Password);
    plain.Count(message.Ice.Candidates.size());
    for (const auto& candidate : message.Ice.Candidates) {
        WriteText(plain, candidate);
    }
    WriteText(plain, message.Guest);
    plain.Bytes(message.SessionKey);

    const auto& p = plain.Result();
    std::vector<std::uint8_t> sealed(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES +
                                     p.size());
    if (sealed.size() > kMaxSealedMessage) {
        return std::nullopt;
    }
    EnsureSodium();
    randombytes_buf(sealed.data(), crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(sealed.data() + crypto_secretbox_NONCEBYTES, p.data(), p.size(),
                          sealed.data(), roomKey.data());
    return sealed;
}

std::optional<MeetingMessage> OpenMessage(std::span<const std::uint8_t> sealed,
                                          const Key& roomKey) {
    constexpr std::size_t kOverhead = crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES;
    if (sealed.size() < kOverhead || sealed.size() > kMaxSealedMessage) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> plain(sealed.size() - kOverhead);
    EnsureSodium();
    if (crypto_secretbox_open_easy(plain.data(), sealed.data() + crypto_secretbox_NONCEBYTES,
                                   sealed.size() - crypto_secretbox_NONCEBYTES, sealed.data(),
                                   roomKey.data()) != 0) {
        return std::nullopt;
    }
    base::ByteReader in(plain);
    MeetingMessage message;
    if (in.U8() != kFormat) {
        return std::nullopt;
    }
    const std::uint8_t type = in.U8();
    if (type < 1 || type > 3) {
        return std::nullopt;
    }
    message.Type = static_cast<MessageType>(type);
    message.CreatedAt = in.I64();
    message.Protocol = in.U8();
    auto program = ReadText(in);
    message.DataVersion = in.U32();
    auto ufrag = ReadText(in);
    auto password = ReadText(in);
    const std::uint32_t count = in.Count();
    if (!program || !ufrag || !password || count > kMaxCandidates) {
        return std::nullopt;
    }
    message.ProgramVersion = std::move(*program);
    message.Ice.Ufrag = std::move(*ufrag);
    message.Ice.Password = std::move(*password);
    for (std::uint32_t i = 0; i < count; ++i) {
        auto candidate = ReadText(in);
        if (!candidate) {
            return std::nullopt;
        }
        message.Ice.Candidates.push_back(std::move(*candidate));
    }
    auto guest = ReadText(in);
    const auto key = in.Bytes(message.SessionKey.size());
    if (!guest || in.Failed() || !in.AtEnd()) {
        return std::nullopt;
    }
    message.Guest = std::move(*guest);
    std::copy(key.begin(), key.end(), message.SessionKey.begin());
    return message;
}

bool StillGood(std::int64_t createdAt, std::int64_t now) {
    return createdAt <= now + kClockSkewSeconds && now - createdAt <= kCodeLifetimeSeconds;
}

} // namespace meeting
