#pragma once
// Byte streams in the shape the components use: a position, a size, reads that
// say how many bytes arrived, writes, seeks. `FileStream` wraps a file,
// `MemoryStream` a growable block of memory.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace base {

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to `count` bytes; returns how many arrived (fewer at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes `count` bytes; returns how many were written.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position; returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t Size() const = 0;

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Begin); }
    // Reads exactly `count` bytes or throws EReadError.
    void ReadBuffer(void* buffer, std::int64_t count);
};

// Open modes of FileStream.
enum class FileMode { OpenRead, OpenReadWrite, Create };

class FileStream : public Stream {
public:
    // Throws EFOpenError (an I/O error) when the file cannot be opened.
    FileStream(const std::string& path, FileMode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override;

private:
    std::FILE* file_;
};

class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

    // Grows (with zeros) or shrinks the stream; the position is kept.
    void SetSize(std::int64_t size);
    // Replaces the content with the whole of another stream (from its start).
    void LoadFromStream(Stream& source);
    void LoadFromFile(const std::string& path);

    std::uint8_t* Memory() { return bytes_.data(); }
    const std::uint8_t* Memory() const { return bytes_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

} // namespace base
