#include "base/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace base {
namespace {

std::string Convert(const std::string& input, const char* to, const char* from, const char* replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return input;
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // Invalid or unconvertible byte: replace it and go on.
            out += replacement;
            ++in;
            --inLeft;
            if (errno == EILSEQ) {
                // Skip the rest of a multi-byte UTF-8 character.
                while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80 &&
                       std::string(from) == "UTF-8") {
                    ++in;
                    --inLeft;
                }
            }
        }
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    iconv_close(cd);
    return out;
}

} // namespace

std::string Utf8ToCp932(const std::string& utf8) { return Convert(utf8, "CP932", "UTF-8", "?"); }

std::string Cp932ToUtf8(const std::string& cp932) { return Convert(cp932, "UTF-8", "CP932", "\xEF\xBF\xBD"); }

bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t extra;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if ((c >> 4) == 0xE)
            extra = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + extra >= bytes.size() && extra > 0)
            return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

std::string Cp932LowerCase(const std::string& cp932) {
    std::string out = cp932;
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead) {
            ++i;
            continue;
        }
        if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

} // namespace base
