#include "base/data_folder.h"

#include <filesystem>
#include <unistd.h>

namespace base {

bool HoldsGameData(const std::string& folder) {
    // The pictures rather than one file: a run with a sound or even the
    // background missing still belongs in this folder.
    for (const char* name : {"haikei.bmp", "char.bmp", "kai_g.bmp", "kai_p.bmp"}) {
        if (access((std::filesystem::path(folder) / name).c_str(), R_OK) == 0)
            return true;
    }
    return false;
}

std::string FindDataFolder(const std::string& workingFolder, const std::string& executableFolder) {
    const std::filesystem::path executable(executableFolder);
    for (const std::filesystem::path& folder : {std::filesystem::path(workingFolder), executable,
                                                executable / ".." / "share" / "pimuru"}) {
        if (HoldsGameData(folder))
            return (folder / "").string();
    }
    return {};
}

} // namespace base
