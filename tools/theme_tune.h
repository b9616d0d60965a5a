#pragma once
// "TIME.MID": the game's own cheerful tune, about a minute and a half,
// played once per rally.

#include <string>

namespace datamaker {

std::string MakeThemeTune();

} // namespace datamaker
