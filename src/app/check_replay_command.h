#pragma once
// `--check-replay FILE…`: plays replay files back headless, at full speed,
// and prints for each its score and length, or the first frame whose world
// differs, or why it cannot be read. Needs no display and no sound.

#include <iosfwd>
#include <optional>
#include <span>
#include <string>

namespace app {

inline constexpr const char* kCheckReplayOption = "--check-replay";

// Checks the files; 0 when every one checks clean, 1 otherwise, 2 without files.
int CheckReplayFiles(std::span<const std::string> files, std::ostream& out, std::ostream& err);

// The exit status when the command line asks for the check (its first
// argument is the option), nothing otherwise.
std::optional<int> CheckReplayIfAsked(int argc, char** argv);

} // namespace app
