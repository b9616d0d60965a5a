#include "game/help_text.h"

#include "base/cp932.h"

#include <algorithm>

namespace game {

namespace {

std::string UnifyLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

bool HasNonAscii(const std::string& bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

HelpText DecodeHelpFile(const std::string& bytes) {
    HelpText text;
    if (HasNonAscii(bytes) && base::IsValidUtf8(bytes)) {
        text.Encoding = HelpEncoding::Utf8;
        text.Utf8 = UnifyLineBreaks(bytes);
    } else {
        text.Utf8 = UnifyLineBreaks(base::Cp932ToUtf8(bytes));
    }
    return text;
}

std::string EncodeHelpFile(const std::string& utf8Text, HelpEncoding encoding) {
    std::string out;
    out.reserve(utf8Text.size() + utf8Text.size() / 16 + 2);
    std::size_t start = 0;
    while (start < utf8Text.size()) {
        const std::size_t end = std::min(utf8Text.find('\n', start), utf8Text.size());
        out.append(utf8Text, start, end - start);
        out += "\r\n";
        start = end + 1;
    }
    if (encoding == HelpEncoding::Utf8)
        return out;
    // Characters the code page cannot hold would be saved as '?': such a text
    // is saved as UTF-8 instead, which the help window reads back as it is.
    std::string cp932 = base::Utf8ToCp932(out);
    return base::Cp932ToUtf8(cp932) == out ? cp932 : out;
}

} // namespace game
