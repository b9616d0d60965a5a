#include "platform/ui/x11_shm_segment.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

namespace ui {

std::unique_ptr<X11ShmSegment> X11ShmSegment::Create(xcb_connection_t* c, std::size_t size) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_shm_id);
    if (!extension || !extension->present)
        return nullptr;
    const int shmId = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (shmId < 0)
        return nullptr;
    void* memory = shmat(shmId, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(shmId, IPC_RMID, nullptr);
        return nullptr;
    }
    auto segment = std::make_unique<X11ShmSegment>();
    segment->c = c;
    segment->memory = static_cast<std::uint8_t*>(memory);
    segment->size = size;
    segment->id = xcb_generate_id(c);
    // The server refuses a segment it cannot reach, as over a network.
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_shm_attach_checked(c, segment->id, static_cast<std::uint32_t>(shmId), 1));
    shmctl(shmId, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        segment->id = 0;
        return nullptr;
    }
    return segment;
}

X11ShmSegment::~X11ShmSegment() {
    if (id)
        xcb_shm_detach(c, id);
    shmdt(memory);
}

} // namespace ui
