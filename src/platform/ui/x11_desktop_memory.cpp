#include "platform/ui/x11_desktop_memory.h"

#include "platform/ui/x11_image.h"
#include "platform/ui/x11_shm_segment.h"

#include <QGuiApplication>

#include <algorithm>
#include <memory>
#include <vector>

namespace ui::x11_desktop_memory {

namespace {

std::vector<std::unique_ptr<X11ShmSegment>>& Segments() {
    static std::vector<std::unique_ptr<X11ShmSegment>> segments;
    return segments;
}

} // namespace

std::uint8_t* Allocate(std::size_t bytes) {
    xcb_connection_t* c = QtX11Connection();
    if (!c || bytes == 0)
        return nullptr;
    std::unique_ptr<X11ShmSegment> segment = X11ShmSegment::Create(c, bytes);
    if (!segment)
        return nullptr;
    std::uint8_t* memory = segment->memory; // fresh shared memory is zeroed
    Segments().push_back(std::move(segment));
    return memory;
}

void Free(std::uint8_t* memory) {
    auto& segments = Segments();
    const auto it = std::find_if(segments.begin(), segments.end(),
                                 [memory](const auto& s) { return s->memory == memory; });
    if (it == segments.end())
        return;
    X11ShmSegment& segment = **it;
    if (QGuiApplication::instance() && !xcb_connection_has_error(segment.c)) {
        // The server may still be reading the last frame from it.
        xcb_shm_detach(segment.c, segment.id);
        std::free(xcb_get_input_focus_reply(segment.c, xcb_get_input_focus(segment.c), nullptr));
    }
    segment.id = 0; // detached, or gone with the connection
    segments.erase(it);
}

bool Find(xcb_connection_t* c, const void* pixels, Place& place) {
    const auto* p = static_cast<const std::uint8_t*>(pixels);
    for (const auto& segment : Segments()) {
        if (segment->c == c && p >= segment->memory && p < segment->memory + segment->size) {
            place.segment = segment->id;
            place.offset = static_cast<std::uint32_t>(p - segment->memory);
            place.room = segment->size - place.offset;
            return true;
        }
    }
    return false;
}

} // namespace ui::x11_desktop_memory
