#pragma once
// Reader of "QDA0" archives: one file holding several named files, stored
// plain or packed with byte pair encoding. Entries come back as in-memory
// streams positioned at 0.

#include "base/errors.h"
#include "base/stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace archive {

class EQDAError : public base::Exception {
public:
    using base::Exception::Exception;
};

// Packed data that would need a deeper stack, or a pair table that runs past
// its last code.
class ERangeError : public base::Exception {
public:
    using base::Exception::Exception;
};

inline constexpr char kNotAnArchive[] = "QDAファイルではありません";
inline constexpr char kEntryNotFound[] = "指定されたIDを持つファイルが見つかりません";

inline constexpr std::int32_t kHeaderSize = 256;
inline constexpr std::int32_t kDirectoryEntrySize = 268;
inline constexpr std::int32_t kMaxEntries = 1048576;
inline constexpr std::int64_t kMaxUnpackedSize = 256LL * 1024 * 1024;
inline constexpr std::int64_t kMaxZeroPadding = 1024 * 1024;

// How much one entry may cost. The defaults suit the game's archives; a
// fuzzer passes smaller ones so that its time goes to variety, not to
// filling memory.
struct Limits {
    // Unpacking stops with an error past this many bytes of output, or past
    // the entry's declared size plus maxZeroPadding, whichever is less.
    std::int64_t maxUnpackedSize = kMaxUnpackedSize;
    // An entry may claim more bytes than the file holds; the missing ones
    // read as zero, but only this many of them.
    std::int64_t maxZeroPadding = kMaxZeroPadding;
};

// Opens the archive read-only (an opening error reaches the caller as it is)
// and returns the named entry.
std::unique_ptr<base::MemoryStream> ExtractFromArchive(const std::string& archiveName,
                                                       const std::string& entryName);

// Finds the entry whose name equals `entryName` (UTF-8) regardless of ASCII
// letter case, and returns its bytes, unpacked.
std::unique_ptr<base::MemoryStream>
ReadArchiveEntry(base::Stream& stream, const std::string& entryName, const Limits& limits = {});

// True when bytes 4 to 7 of the 256 header bytes are "QDA0".
bool IsArchiveHeader(const std::uint8_t* header);

// Unpacks byte-pair-encoded blocks from the packed stream's position to its
// end into a new stream of at least `size` bytes.
std::unique_ptr<base::MemoryStream> ExpandPacked(base::MemoryStream& packed, std::int32_t size,
                                                 const Limits& limits = {});

} // namespace archive
