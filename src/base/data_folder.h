#pragma once
// Finding the game's data files, which the game opens by bare name in its
// working folder: a build tree runs from data/, an installed program keeps
// them in ../share/pimuru beside its bin/ folder.

#include <string>
#include <vector>

namespace base {

// True when the folder holds any of the game's pictures.
bool HoldsGameData(const std::string& folder);

// The folders searched, in order: the working folder, the executable's
// folder, then "<executable's folder>/../share/pimuru/".
std::vector<std::string> DataFolderCandidates(const std::string& workingFolder,
                                              const std::string& executableFolder);

// The first of those folders that holds the game's data; empty when none
// does. A folder missing only some of the files is still the one: the game
// reports each file it misses.
std::string FindDataFolder(const std::string& workingFolder, const std::string& executableFolder);

// What the player is told when none of the folders searched holds the data:
// each of them on a line of its own.
std::string DataNotFoundMessage(const std::vector<std::string>& searched);

} // namespace base
