#pragma once
// Every text about replay files a player reads, in the launcher and on the
// command line alike, kept in one place.

#include <cstdint>
#include <string>
#include <string_view>

namespace replay::messages {

std::string Truncated();
std::string NotAReplay();
std::string FutureFormat(int version);
std::string BadFileChecksum();
// what: the part of the file that is wrong, e.g. "フレーム数".
std::string BadContent(std::string_view what);
std::string TooLarge();
std::string CannotOpen(int error); // error: an errno value
std::string WorldDiffers(std::int64_t frame);
std::string CheckedClean(std::int32_t finalScore, std::int32_t bestRally, std::int64_t frames);

} // namespace replay::messages
