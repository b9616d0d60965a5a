#include "platform/ddraw/pixel_memory.h"

#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

namespace ddraw {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

} // namespace

std::uint8_t* AllocatePixelMemory(std::size_t bytes) {
    if (bytes == 0 || bytes > SIZE_MAX - kHugePage) {
        return nullptr;
    }
    const bool huge = bytes >= kHugePixelBlock;
    const std::size_t alignment = huge ? kHugePage : 32;
    const std::size_t rounded = RoundUp(bytes, alignment);
    void* memory = std::aligned_alloc(alignment, rounded);
    if (!memory) {
        return nullptr;
    }
    if (huge) {
        // Only advice: where huge pages are off, the block works as it is.
        // Heap memory used before may still be backed by small pages, which
        // would stay: they are given back first, so that the first touch
        // below can bring huge ones.
        madvise(memory, rounded, MADV_DONTNEED);
        madvise(memory, rounded, MADV_HUGEPAGE);
    }
    std::memset(memory, 0, rounded);
    return static_cast<std::uint8_t*>(memory);
}

bool PixelBuffer::Fit(std::size_t bytes) {
    if (bytes == bytes_) {
        return true;
    }
    memory_.reset(bytes ? AllocatePixelMemory(bytes) : nullptr);
    bytes_ = memory_ ? bytes : 0;
    return bytes_ == bytes;
}

} // namespace ddraw
