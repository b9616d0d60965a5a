#pragma once
// A shared-memory segment attached both here and on the X server (MIT-SHM).
// It is marked for removal as soon as the server holds it, so it cannot
// outlive the two of us.

#include <xcb/xcb.h>
#include <xcb/shm.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ui {

struct X11ShmSegment {
    xcb_connection_t* c = nullptr;
    xcb_shm_seg_t id = 0;
    std::uint8_t* memory = nullptr;
    std::size_t size = 0;

    // Null when the server lacks the extension or cannot attach the segment
    // (as over a network).
    static std::unique_ptr<X11ShmSegment> Create(xcb_connection_t* c, std::size_t size);
    ~X11ShmSegment();
};

} // namespace ui
