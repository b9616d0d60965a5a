#pragma once
// Finding the game's data files, which the game opens by bare name in its
// working folder: a build tree runs from data/, an installed program keeps
// them in ../share/pimuru beside its bin/ folder.

#include <string>

namespace base {

// True when the folder holds any of the game's pictures.
bool HoldsGameData(const std::string& folder);

// The first folder holding the game's data: the working folder, the
// executable's folder, then "<executable's folder>/../share/pimuru/". Empty
// when none does (the game then reports each file it misses).
std::string FindDataFolder(const std::string& workingFolder, const std::string& executableFolder);

} // namespace base
