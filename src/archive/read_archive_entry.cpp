#include "archive/QDArc.h"
#include "archive/byte_reader.h"

#include "base/cp932.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace archive {
namespace {

struct DirectoryEntry {
    std::int32_t dataOffset;
    std::int32_t storedSize;
    std::int32_t fullSize;
    std::string name; // CP932, up to its terminating zero
};

// Reads the entries that the file actually holds. Entries past its end would
// read as zeros (offset 0) and never match, so they are left out: a hostile
// count cannot make the reader allocate more than the file's size.
std::vector<DirectoryEntry> ReadDirectory(base::Stream& stream, std::int32_t count) {
    std::int64_t available = std::max<std::int64_t>(0, stream.Size() - kHeaderSize);
    std::int64_t present = std::min<std::int64_t>(count, (available + kDirectoryEntrySize - 1) / kDirectoryEntrySize);
    std::vector<DirectoryEntry> entries;
    entries.reserve(static_cast<std::size_t>(present));
    std::uint8_t raw[kDirectoryEntrySize];
    for (std::int64_t i = 0; i < present; ++i) {
        std::memset(raw, 0, sizeof raw);
        stream.Read(raw, sizeof raw);
        const char* name = reinterpret_cast<const char*>(raw + 12);
        entries.push_back({ReadLE32(raw), ReadLE32(raw + 4), ReadLE32(raw + 8),
                           std::string(name, strnlen(name, 256))});
    }
    return entries;
}

// Reads `claimed` bytes from the stream's position; bytes the file does not
// hold read as zero, but no more than `maxPadding` of them.
std::unique_ptr<base::MemoryStream> ReadBytes(base::Stream& stream, std::int32_t claimed, std::int64_t maxPadding) {
    std::int64_t remaining = std::max<std::int64_t>(0, stream.Size() - stream.Position());
    std::int64_t size = std::clamp<std::int64_t>(claimed, 0, remaining + maxPadding);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size), 0);
    stream.Read(bytes.data(), std::min(size, remaining));
    return std::make_unique<base::MemoryStream>(std::move(bytes));
}

} // namespace

bool IsArchiveHeader(const std::uint8_t* header) { return std::memcmp(header + 4, "QDA0", 4) == 0; }

std::unique_ptr<base::MemoryStream>
ReadArchiveEntry(base::Stream& stream, const std::string& entryName, const Limits& limits) {
    std::uint8_t header[kHeaderSize] = {};
    stream.Read(header, kHeaderSize);
    std::int32_t count = ReadLE32(header + 8);
    // A negative or impossible count is no archive of ours.
    if (!IsArchiveHeader(header) || count < 0 || count > kMaxEntries)
        throw EQDAError(kNotAnArchive);
    bool packed = ReadLE32(header) == 1;

    std::vector<DirectoryEntry> directory = ReadDirectory(stream, count);
    stream.SetPosition(0);

    std::string wanted = base::Cp932LowerCase(base::Utf8ToCp932(entryName));
    const DirectoryEntry* found = nullptr;
    for (const DirectoryEntry& entry : directory) {
        if (base::Cp932LowerCase(entry.name) == wanted) {
            found = &entry;
            stream.SetPosition(entry.dataOffset);
            break;
        }
    }
    if (!found || stream.Position() == 0)
        throw EQDAError(kEntryNotFound);

    if (!packed)
        return ReadBytes(stream, found->fullSize, limits.maxZeroPadding);
    // Packed bytes past the end of the file are simply absent.
    std::unique_ptr<base::MemoryStream> scratch = ReadBytes(stream, found->storedSize, 0);
    return ExpandPacked(*scratch, found->fullSize, limits);
}

std::unique_ptr<base::MemoryStream> ExtractFromArchive(const std::string& archiveName,
                                                       const std::string& entryName) {
    base::FileStream file(archiveName, base::FileMode::OpenRead);
    return ReadArchiveEntry(file, entryName);
}

} // namespace archive
