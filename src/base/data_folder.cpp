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

std::vector<std::string> DataFolderCandidates(const std::string& workingFolder,
                                              const std::string& executableFolder) {
    const std::filesystem::path executable(executableFolder);
    std::vector<std::string> folders;
    for (const std::filesystem::path& folder :
         {std::filesystem::path(workingFolder), executable, executable / ".." / "share" / "pimuru"})
        folders.push_back((folder / "").string());
    return folders;
}

std::string FindDataFolder(const std::string& workingFolder, const std::string& executableFolder) {
    for (const std::string& folder : DataFolderCandidates(workingFolder, executableFolder)) {
        if (HoldsGameData(folder))
            return folder;
    }
    return {};
}

std::string DataNotFoundMessage(const std::vector<std::string>& searched) {
    std::string text =
        "ゲームのデータ（絵と音のファイル）が見つかりません。\r次のフォルダを探しました。\r";
    for (const std::string& folder : searched)
        text += "\r" + std::filesystem::path(folder).lexically_normal().string();
    return text;
}

} // namespace base
