#pragma once
// Memory for surface pixels: zeroed, 32-byte aligned, released with std::free.
// Frame-sized blocks are placed on 2 MB boundaries and offered to the kernel
// for huge pages, so a blit over a whole frame walks a few page tables rather
// than hundreds (each cold 4 kB page costs a table walk, most of all in a VM).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace ddraw {

// Blocks of at least this size (a 640×480 surface at 16 bits and up) are laid
// out for huge pages; at most four times their size is reserved for them.
inline constexpr std::size_t kHugePixelBlock = std::size_t{512} << 10;

// Null when the memory cannot be had.
std::uint8_t* AllocatePixelMemory(std::size_t bytes);

// Owns a block of pixel memory.
struct PixelMemoryFree {
    void operator()(std::uint8_t* p) const { std::free(p); }
};
using PixelMemory = std::unique_ptr<std::uint8_t, PixelMemoryFree>;

// Pixel memory kept for a copy of frames: made anew only when the size
// changes.
class PixelBuffer {
public:
    // Makes room for `bytes` (none for 0); false when it cannot be had, and
    // then the buffer is empty.
    bool Fit(std::size_t bytes);
    std::uint8_t* Data() const { return memory_.get(); }
    std::size_t Size() const { return bytes_; }

private:
    PixelMemory memory_;
    std::size_t bytes_ = 0;
};

} // namespace ddraw
