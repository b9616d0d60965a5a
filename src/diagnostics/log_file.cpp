#include "diagnostics/log_file.h"

#include "base/system_error_text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace diagnostics {

LogFile::~LogFile() {
    if (fd_ >= 0)
        close(fd_);
}

LogFile::LogFile(LogFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

LogFile& LogFile::operator=(LogFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

LogFile LogFile::Open(const std::string& path, bool fresh, std::string& reason) {
    // No following a link at the name; not waiting on a pipe someone put there.
    const int fd = open(path.c_str(),
                        O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        reason = base::SystemErrorText(errno);
        return {};
    }
    LogFile file(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        reason = base::SystemErrorText(errno);
        return {};
    }
    if (!S_ISREG(info.st_mode) || info.st_nlink != 1) {
        reason = "not a plain file of its own";
        return {};
    }
    // Emptied only now that it is known to be the log's own file.
    if (fresh && ftruncate(fd, 0) != 0) {
        reason = base::SystemErrorText(errno);
        return {};
    }
    return file;
}

bool LogFile::Append(const std::string& line, std::string& reason) {
    struct stat before {};
    const bool sized = fstat(fd_, &before) == 0;
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = write(fd_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = base::SystemErrorText(n < 0 ? errno : ENOSPC);
            if (done > 0 && sized)
                (void)ftruncate(fd_, before.st_size);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    const int closed = close(std::exchange(fd_, -1));
    if (closed != 0 && errno != EINTR) {
        reason = base::SystemErrorText(errno);
        return false;
    }
    return true;
}

} // namespace diagnostics
