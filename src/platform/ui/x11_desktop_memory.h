#pragma once
// The pixels of a windowed primary (the desktop) in shared memory the X
// server reads: the changed parts of a frame go to the window straight from
// them, with no copy. Only where Qt runs on X and the server can attach our
// memory. The server may still be reading a frame's rows when the next frame
// is drawn into them: it reads them well within a frame's time, and the next
// frame's put shows again whatever that frame changed.

#include <xcb/xcb.h>
#include <xcb/shm.h>

#include <cstddef>
#include <cstdint>

namespace ui {

namespace x11_desktop_memory {

// Zeroed memory of at least `bytes`, or null.
std::uint8_t* Allocate(std::size_t bytes);
// Gives back memory from Allocate (nothing for other memory).
void Free(std::uint8_t* memory);

// Where `pixels` lie in a segment of connection `c`: its id, their offset
// and the bytes from there to the segment's end. False for other memory.
struct Place {
    xcb_shm_seg_t segment = 0;
    std::uint32_t offset = 0;
    std::size_t room = 0;
};
bool Find(xcb_connection_t* c, const void* pixels, Place& place);

} // namespace x11_desktop_memory

} // namespace ui
