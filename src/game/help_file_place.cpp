#include "game/help_file_place.h"

#include "base/user_folders.h"

#include <filesystem>
#include <unistd.h>

namespace game {
namespace {

// A save replaces the file with a new one made beside it, so its folder must
// take new files; an existing file must be writable too, as a read-only file
// stays protected.
bool CanSave(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    if (!base::CanCreateFilesIn(folder.string()))
        return false;
    return access(file.c_str(), F_OK) != 0 || access(file.c_str(), W_OK) == 0;
}

} // namespace

HelpFilePlace ChooseHelpFile(const std::string& fileName, const std::string& playerFolder) {
    if (CanSave(fileName))
        return {fileName, fileName};
    const std::string copy =
        (std::filesystem::path(playerFolder) / std::filesystem::path(fileName).filename()).string();
    return {access(copy.c_str(), F_OK) == 0 ? copy : fileName, copy};
}

} // namespace game
