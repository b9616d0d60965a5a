#pragma once
// A folder on a file system with no room left: a small tmpfs mounted for the
// test and filled up. Mounting takes the super-user; elsewhere the folder is
// not available and the test skips. Files put there before Fill() keep their
// bytes; after it, new files can still be made but take no data.

#include "support/temp_dir.h"

#include <string>

namespace testsupport {

class FullFolder {
public:
    FullFolder();
    ~FullFolder();
    FullFolder(const FullFolder&) = delete;
    FullFolder& operator=(const FullFolder&) = delete;

    bool Available() const { return mounted_; }
    std::string File(const std::string& name) const { return dir_.File(name); }
    std::string Path() const { return dir_.Path().string(); }
    // Writes one file until the file system refuses more.
    void Fill();

private:
    TempDir dir_;
    bool mounted_ = false;
};

} // namespace testsupport
