#include "game/replace_file.h"

#include "base/system_error_text.h"

#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace game {
namespace {

// Written straight to the descriptor: the buffered device of QSaveFile
// reports a full disk only when it closes, after which commit() still puts
// the short file in place.
int WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    // A file system may find out it has no room only when the data goes to
    // the disk; one that cannot sync at all is no failure.
    if (fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
        return errno;
    return 0;
}

} // namespace

QString ReplaceFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (const int error = WriteAll(file.handle(), bytes); error != 0) {
        file.cancelWriting();
        return QString::fromStdString(base::SystemErrorText(error));
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace game
