#pragma once
// Builds archive bytes for tests and fuzz seeds: a header, a directory and
// the entries' data, plain or already packed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct ArchiveEntry {
    std::string name;  // CP932 bytes
    std::string data;  // stored bytes (packed when the archive is packed)
    std::optional<std::int32_t> fullSize = {}; // default: the size of `data`
};

std::string BuildArchive(const std::vector<ArchiveEntry>& entries, bool packed = false);

// A pair table in which every code is literal, followed by the packed length
// and bytes: one block that unpacks to `bytes` unchanged.
std::string LiteralBlock(const std::string& bytes);

} // namespace testsupport
