#include "archive/archive_builder.h"

#include <cstring>

namespace testsupport {
namespace {

void PutLE32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

std::string BuildArchive(const std::vector<ArchiveEntry>& entries, bool packed) {
    std::string out(256 + 268 * entries.size(), '\0');
    PutLE32(out, 0, packed ? 1 : 0);
    std::memcpy(out.data() + 4, "QDA0", 4);
    PutLE32(out, 8, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::size_t at = 256 + 268 * i;
        const ArchiveEntry& e = entries[i];
        PutLE32(out, at, static_cast<std::uint32_t>(out.size()));
        PutLE32(out, at + 4, static_cast<std::uint32_t>(e.data.size()));
        PutLE32(out, at + 8, static_cast<std::uint32_t>(e.fullSize ? static_cast<std::uint32_t>(*e.fullSize) : e.data.size()));
        std::memcpy(out.data() + at + 12, e.name.data(), std::min<std::size_t>(e.name.size(), 255));
        out += e.data;
    }
    return out;
}

std::string LiteralBlock(const std::string& bytes) {
    std::string block;
    block += '\xFF'; // skip codes 0..127
    block += '\x80'; // code 128 literal
    block += '\x7E'; // 127 more entries
    for (int c = 0x81; c <= 0xFF; ++c)
        block += static_cast<char>(c);
    std::uint32_t n = static_cast<std::uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i)
        block += static_cast<char>((n >> (8 * i)) & 0xFF);
    return block + bytes;
}

} // namespace testsupport
