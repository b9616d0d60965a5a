#pragma once
// Where the help window reads and saves its text. While the help file can be
// written, that file itself; an installed, read-only one is left alone and
// the player's own copy in the user's data folder is saved, and read in its
// place once it exists. The same goes for a file that is there but cannot
// be read: it is never saved over.

#include <string>

namespace game {

struct HelpFilePlace {
    std::string ReadFrom;
    std::string SaveTo;
};

HelpFilePlace ChooseHelpFile(const std::string& fileName, const std::string& playerFolder);

} // namespace game
