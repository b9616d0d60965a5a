// Replacing a file: the folder is synced once the new file has taken the old
// one's place, so that the new name is on the disk and not only the bytes.
// This process stands in for the system's fsync to see what was synced when.
#include "game/replace_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

ino_t watchedFolder = 0;
std::string watchedFile;
std::vector<std::string> fileAtFolderSync; // what the file held at each sync of its folder

} // namespace

extern "C" int fsync(int fd) {
    struct stat info {};
    if (watchedFolder != 0 && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_ino == watchedFolder)
        fileAtFolderSync.push_back(testsupport::ReadFileBytes(watchedFile));
    return static_cast<int>(syscall(SYS_fsync, fd));
}

TEST(ReplaceFile, SyncsTheFolderAfterTheNewFileIsInPlace) {
    testsupport::TempDir dir;
    watchedFile = dir.File("kept.txt");
    testsupport::WriteFileBytes(watchedFile, "old");
    struct stat folder {};
    ASSERT_EQ(stat(dir.Path().c_str(), &folder), 0);
    watchedFolder = folder.st_ino;

    EXPECT_EQ(game::ReplaceFile(QString::fromStdString(watchedFile), "new"), "");
    watchedFolder = 0;
    EXPECT_EQ(fileAtFolderSync, std::vector<std::string>{"new"});
}
