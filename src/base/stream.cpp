#include "base/stream.h"

#include "base/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace base {

void Stream::ReadBuffer(void* buffer, std::int64_t count) {
    if (Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

FileStream::FileStream(const std::string& path, FileMode mode) {
    const char* how = mode == FileMode::OpenRead        ? "rb"
                      : mode == FileMode::OpenReadWrite ? "r+b"
                                                        : "w+b";
    file_ = std::fopen(path.c_str(), how);
    if (!file_) {
        const int error = errno;
        throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(error), error);
    }
    // The C library opens a folder for reading too; its reads would only fail.
    struct stat info {};
    if (fstat(fileno(file_), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file_);
        throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(EISDIR), EISDIR);
    }
}

FileStream::~FileStream() { std::fclose(file_); }

std::int64_t FileStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t FileStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t FileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (!(origin == SeekOrigin::Current && offset == 0))
        fseeko(file_, static_cast<off_t>(offset), whence);
    return static_cast<std::int64_t>(ftello(file_));
}

std::int64_t FileStream::Size() const {
    off_t here = ftello(file_);
    fseeko(file_, 0, SEEK_END);
    off_t size = ftello(file_);
    fseeko(file_, here, SEEK_SET);
    return static_cast<std::int64_t>(size);
}

std::int64_t MemoryStream::Read(void* buffer, std::int64_t count) {
    std::int64_t available = Size() - position_;
    std::int64_t n = std::clamp<std::int64_t>(std::min(count, available), 0, available < 0 ? 0 : available);
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t MemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0 || position_ < 0)
        return 0;
    std::int64_t end = position_ + count;
    if (end > Size())
        bytes_.resize(static_cast<std::size_t>(end));
    std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

std::int64_t MemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position_ : Size();
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

void MemoryStream::SetSize(std::int64_t size) {
    bytes_.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, size)));
}

void MemoryStream::LoadFromStream(Stream& source) {
    source.SetPosition(0);
    std::int64_t size = source.Size();
    bytes_.assign(static_cast<std::size_t>(std::max<std::int64_t>(0, size)), 0);
    std::int64_t got = source.Read(bytes_.data(), size);
    bytes_.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, got)));
    position_ = 0;
}

void MemoryStream::LoadFromFile(const std::string& path) {
    FileStream file(path, FileMode::OpenRead);
    LoadFromStream(file);
}

} // namespace base
