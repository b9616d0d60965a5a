#pragma once
// "readme.txt": how to play, in Japanese, as CP932 text with CR LF line ends.

#include <string>

namespace datamaker {

// The text as UTF-8 lines (without line ends).
std::string HelpTextUtf8();
// The file's bytes.
std::string MakeHelpFile();

} // namespace datamaker
