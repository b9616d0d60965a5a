#include "game/help_file_place.h"

#include "base/user_folders.h"

#include <filesystem>
#include <sys/stat.h>
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

// A file that is there but cannot be read (no permission, or a folder in its
// place) would be saved over with what the box shows, which is not its text.
bool PresentButUnreadable(const std::filesystem::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0)
        return false;
    return !S_ISREG(info.st_mode) || access(file.c_str(), R_OK) != 0;
}

} // namespace

HelpFilePlace ChooseHelpFile(const std::string& fileName, const std::string& playerFolder) {
    if (CanSave(fileName) && !PresentButUnreadable(fileName))
        return {fileName, fileName};
    const std::string copy =
        (std::filesystem::path(playerFolder) / std::filesystem::path(fileName).filename()).string();
    return {access(copy.c_str(), F_OK) == 0 ? copy : fileName, copy};
}

} // namespace game
