#include "game/replace_file.h"

#include "base/system_error_text.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace game {
namespace {

// A file system that cannot sync at all is no failure.
bool SyncRefused(int error) {
    return error == EINVAL || error == EROFS || error == ENOTSUP;
}

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
    // the disk.
    if (fsync(fd) != 0 && !SyncRefused(errno))
        return errno;
    return 0;
}

// The rename is a change of the folder: until the folder is on the disk too,
// a power cut can bring back the old file, or none.
int SyncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = fsync(fd) == 0 || SyncRefused(errno) ? 0 : errno;
    close(fd);
    return error;
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
    // The folder of the file replaced: QSaveFile writes through a link.
    const QString replaced = QFileInfo(path).canonicalFilePath();
    if (const int error = SyncFolderOf(replaced.isEmpty() ? path : replaced); error != 0)
        return QString::fromStdString(base::SystemErrorText(error));
    return {};
}

} // namespace game
