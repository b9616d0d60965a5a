// Feeds arbitrary bytes to the archive reader as an archive file and asks
// for a few names; every error must be one of the reader's own. The limits
// are the game's but smaller: every path of the reader is still reached, and
// an entry that unpacks to its bound costs milliseconds, not a second.
#include "archive/QDArc.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr archive::Limits kFuzzLimits{2 * 1024 * 1024, 64 * 1024};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const char* name : {"a", "CHAR.BMP", "e"}) {
        base::MemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        try {
            auto entry = archive::ReadArchiveEntry(stream, name, kFuzzLimits);
            volatile std::int64_t n = entry->Size();
            (void)n;
        } catch (const archive::EQDAError&) {
        } catch (const archive::ERangeError&) {
        }
    }
    return 0;
}
