#include "meeting/sealed_transport.h"

#include "meeting/sodium_ready.h"

#include <sodium.h>

namespace meeting {

SealedTransport::SealedTransport(online::Transport& inner, const Key& packetKey)
    : inner_(inner), key_(packetKey) {
    EnsureSodium();
}

std::array<std::uint8_t, kPacketMacSize>
SealedTransport::Mac(std::span<const std::uint8_t> bytes) const {
    // Keyed BLAKE2b, cut to 16 bytes: short enough for every frame's packet,
    // and a forger gets one try per datagram.
    std::array<std::uint8_t, kPacketMacSize> mac{};
    crypto_generichash(mac.data(), mac.size(), bytes.data(), bytes.size(), key_.data(),
                       key_.size());
    return mac;
}

void SealedTransport::Send(std::span<const std::uint8_t> datagram) {
    std::vector<std::uint8_t> sealed(datagram.begin(), datagram.end());
    const auto mac = Mac(datagram);
    sealed.insert(sealed.end(), mac.begin(), mac.end());
    inner_.Send(sealed);
}

std::optional<std::vector<std::uint8_t>> SealedTransport::Receive() {
    while (auto datagram = inner_.Receive()) {
        if (datagram->size() >= kPacketMacSize) {
            const std::size_t body = datagram->size() - kPacketMacSize;
            const auto mac = Mac(std::span(*datagram).first(body));
            if (crypto_verify_16(mac.data(), datagram->data() + body) == 0) {
                datagram->resize(body);
                return datagram;
            }
        }
        ++forged_;
    }
    return std::nullopt;
}

} // namespace meeting
