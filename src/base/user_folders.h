#pragma once
// Where the program keeps its own files when it cannot keep them beside
// itself (an installed, read-only copy): the user's folders after the XDG
// base directory rules, and whether a folder takes new files at all.

#include <functional>
#include <string>

namespace base {

// Looks up an environment variable: nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;
const char* ProcessEnvironment(const char* name);

// "$XDG_STATE_HOME/pimuru/" for the logs and "$XDG_DATA_HOME/pimuru/" for the
// player's own copies, with their trailing separator. A variable that is
// unset, empty or not an absolute path counts as unset: then
// "$HOME/.local/state" and "$HOME/.local/share" stand in (the home folder
// from the user database when HOME is unset too).
std::string UserStateFolder(const EnvironmentLookup& environment = ProcessEnvironment);
std::string UserDataFolder(const EnvironmentLookup& environment = ProcessEnvironment);

// True when this process can create a file in the folder. Tried for real
// (a file made and removed at once): permissions alone do not tell, since the
// super-user passes them on read-only file systems too.
bool CanCreateFilesIn(const std::string& folder);

// Creates the folder and any missing parents, new ones readable only by the
// user. True when the folder exists afterwards.
bool MakeFolders(const std::string& folder);

} // namespace base
