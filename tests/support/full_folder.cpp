#include "support/full_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace testsupport {

FullFolder::FullFolder() {
    mounted_ = mount("tmpfs", dir_.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                     "size=1m,mode=0777") == 0;
}

FullFolder::~FullFolder() {
    if (mounted_)
        umount2(dir_.Path().c_str(), MNT_DETACH);
}

void FullFolder::Fill() {
    const int fd = open(File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const std::vector<char> block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    // What is left is less than a block: fill it byte by byte.
    while (write(fd, block.data(), 1) > 0) {
    }
    close(fd);
}

} // namespace testsupport
