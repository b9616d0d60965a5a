#include "meeting/room_keys.h"

#include "meeting/sodium_ready.h"

#include <sodium.h>

#include <span>
#include <string_view>

namespace meeting {

namespace {

// Each derivation has its own domain, so a topic says nothing about the key.
constexpr std::string_view kTopicDomain = "pimuru room topic v1";
constexpr std::string_view kSealDomain = "pimuru room seal v1";
constexpr std::string_view kRunDomain = "pimuru run packets v1";

Key Hash(std::string_view domain, std::span<const std::uint8_t> a,
         std::span<const std::uint8_t> b = {}) {
    EnsureSodium();
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES);
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(domain.data()),
                              domain.size());
    const unsigned char separator = 0; // the domain never runs into the code
    crypto_generichash_update(&state, &separator, 1);
    crypto_generichash_update(&state, a.data(), a.size());
    crypto_generichash_update(&state, b.data(), b.size());
    Key out{};
    static_assert(crypto_generichash_BYTES == std::tuple_size_v<Key>);
    crypto_generichash_final(&state, out.data(), out.size());
    return out;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace

std::string RoomTopic(const std::string& code) {
    const Key hash = Hash(kTopicDomain, Bytes(code));
    std::string topic = "pimuru/v1/room/";
    constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < 16; ++i) {
        topic += kHex[hash[i] >> 4];
        topic += kHex[hash[i] & 0xF];
    }
    return topic;
}

Key RoomSealingKey(const std::string& code) {
    return Hash(kSealDomain, Bytes(code));
}

Key NewSessionKey() {
    EnsureSodium();
    Key key;
    randombytes_buf(key.data(), key.size());
    return key;
}

Key RunPacketKey(const Key& hostKey, const Key& guestKey) {
    return Hash(kRunDomain, hostKey, guestKey);
}

} // namespace meeting
