#include "meeting/room_code.h"

#include "meeting/sodium_ready.h"

#include <sodium.h>

namespace meeting {

std::string NewRoomCode() {
    EnsureSodium();
    std::string code;
    for (std::size_t i = 0; i < kRoomCodeLength; ++i) {
        code += kRoomCodeAlphabet[randombytes_uniform(kRoomCodeAlphabet.size())];
    }
    return code;
}

std::string ShowRoomCode(const std::string& code) {
    const std::size_t half = code.size() / 2;
    return code.substr(0, half) + "-" + code.substr(half);
}

std::optional<std::string> ParseRoomCode(std::string_view text, std::string& error) {
    std::string code;
    for (const char c : text) {
        if (c == ' ' || c == '-' || c == '\t') {
            continue;
        }
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (kRoomCodeAlphabet.find(upper) == std::string_view::npos) {
            const bool lookAlike =
                upper == '0' || upper == 'O' || upper == '1' || upper == 'I' || upper == 'L';
            error = lookAlike ? "部屋のコードに 0, 1, I, L, O は使われません: "
                              : "部屋のコードに使われない文字があります: ";
            error += std::string(text);
            return std::nullopt;
        }
        if (code.size() == kRoomCodeLength) {
            error = "部屋のコードは 6 文字です(長すぎます): " + std::string(text);
            return std::nullopt;
        }
        code += upper;
    }
    if (code.size() != kRoomCodeLength) {
        error = "部屋のコードは 6 文字です(例: K7Q-4MX): " + std::string(text);
        return std::nullopt;
    }
    return code;
}

} // namespace meeting
