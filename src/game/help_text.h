#pragma once
// The text of the help file as the help window reads and writes it: bytes in
// CP932 or UTF-8 on disk, lines ending in CR LF, LF or CR when read and in
// CR LF when written.

#include <string>

namespace game {

enum class HelpEncoding { Cp932, Utf8 };

struct HelpText {
    std::string Utf8; // lines separated by '\n'
    HelpEncoding Encoding = HelpEncoding::Cp932;
};

// Text with non-ASCII bytes that form valid UTF-8 is taken as UTF-8;
// anything else is the system's code page, CP932.
HelpText DecodeHelpFile(const std::string& bytes);

// Every line followed by CR LF; a final empty line after the last break is
// no line of its own, so an empty text gives an empty file. A text that CP932
// cannot hold whole is written as UTF-8 rather than lose characters.
std::string EncodeHelpFile(const std::string& utf8Text, HelpEncoding encoding);

} // namespace game
