#pragma once
// Conversion between UTF-8 (the program's own strings) and CP932, the
// Japanese code page of the log files and of "readme.txt". Characters that
// have no counterpart become '?'; invalid input bytes are replaced, never fatal.

#include <string>

namespace base {

std::string Utf8ToCp932(const std::string& utf8);
std::string Cp932ToUtf8(const std::string& cp932);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const std::string& bytes);
// Lower-cases the ASCII letters of CP932 text, leaving the second byte of a
// double-byte character alone (the code page's own lower-casing).
std::string Cp932LowerCase(const std::string& cp932);

} // namespace base
