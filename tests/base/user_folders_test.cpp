// The user's folders after the XDG rules, and finding the game's data.
#include "base/data_folder.h"
#include "base/user_folders.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

// An environment of its own for each case.
base::EnvironmentLookup Environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
}

TEST(UserFolders, XdgVariablesWinWhenAbsoluteAndTheHomeFolderStandsInOtherwise) {
    const auto set =
        Environment({{"HOME", "/home/p"}, {"XDG_STATE_HOME", "/var/st/"}, {"XDG_DATA_HOME", "/d"}});
    EXPECT_EQ(base::UserStateFolder(set), "/var/st/pimuru/");
    EXPECT_EQ(base::UserDataFolder(set), "/d/pimuru/");

    const auto unset = Environment({{"HOME", "/home/p"}});
    EXPECT_EQ(base::UserStateFolder(unset), "/home/p/.local/state/pimuru/");
    EXPECT_EQ(base::UserDataFolder(unset), "/home/p/.local/share/pimuru/");

    // Empty and relative values are not to be used.
    const auto invalid = Environment(
        {{"HOME", "/home/p/"}, {"XDG_STATE_HOME", ""}, {"XDG_DATA_HOME", "relative/share"}});
    EXPECT_EQ(base::UserStateFolder(invalid), "/home/p/.local/state/pimuru/");
    EXPECT_EQ(base::UserDataFolder(invalid), "/home/p/.local/share/pimuru/");

    // Without HOME the user database knows the home folder.
    const std::string fromDatabase = base::UserStateFolder(Environment({}));
    EXPECT_EQ(fromDatabase.front(), '/');
    EXPECT_TRUE(fromDatabase.ends_with("/.local/state/pimuru/")) << fromDatabase;
}

TEST(UserFolders, WritableFoldersAreTriedForRealAndMadeWithTheirParents) {
    TempDir dir;
    EXPECT_TRUE(base::CanCreateFilesIn(dir.Path().string()));
    // /proc takes no new files, not even from the super-user.
    EXPECT_FALSE(base::CanCreateFilesIn("/proc"));
    EXPECT_FALSE(base::CanCreateFilesIn(dir.File("missing")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "the probe file was left behind";

    const std::string nested = dir.File("a/b/pimuru/");
    EXPECT_TRUE(base::MakeFolders(nested));
    EXPECT_TRUE(base::MakeFolders(nested)); // already there
    EXPECT_TRUE(base::CanCreateFilesIn(nested));
    EXPECT_EQ(std::filesystem::status(nested).permissions(), std::filesystem::perms::owner_all);
    WriteFileBytes(dir.File("file"), "x");
    EXPECT_FALSE(base::MakeFolders(dir.File("file/below")));
}

TEST(DataFolder, WorkingFolderThenExecutableFolderThenTheInstalledShareFolder) {
    TempDir dir;
    const auto folder = [&](const std::string& name) {
        std::filesystem::create_directories(dir.Path() / name);
        return dir.File(name);
    };
    const std::string working = folder("work");
    const std::string bin = folder("prefix/bin");
    const std::string share = folder("prefix/share/pimuru");
    EXPECT_EQ(base::FindDataFolder(working, bin), "");

    // One picture is enough: the sounds may be missing.
    WriteFileBytes(share + "/kai_p.bmp", "");
    EXPECT_EQ(std::filesystem::canonical(base::FindDataFolder(working, bin)),
              std::filesystem::canonical(share));
    WriteFileBytes(bin + "/char.bmp", "");
    EXPECT_EQ(base::FindDataFolder(working, bin), bin + "/");
    WriteFileBytes(working + "/haikei.bmp", "");
    EXPECT_EQ(base::FindDataFolder(working, bin), working + "/");
    // Other files do not make a data folder.
    WriteFileBytes(folder("other") + "/readme.txt", "");
    EXPECT_FALSE(base::HoldsGameData(dir.File("other")));
}

TEST(DataFolder, TheMessageWhenNoneHoldsTheDataNamesEveryFolderSearched) {
    const std::string message =
        base::DataNotFoundMessage(base::DataFolderCandidates("/home/player", "/usr/games/"));
    for (const char* folder : {"\r/home/player/", "\r/usr/games/", "\r/usr/share/pimuru/"})
        EXPECT_NE(message.find(folder), std::string::npos) << folder << " not in " << message;
}

} // namespace
