#include "platform/ui/x11_window_manager.h"

#include "platform/ui/x11_image.h"

#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace ui {

namespace {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T> using Owned = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The property's 32-bit values, or an empty reply.
Owned<xcb_get_property_reply_t> Property(xcb_connection_t* c, xcb_window_t window,
                                         xcb_atom_t property, xcb_atom_t type) {
    return Owned<xcb_get_property_reply_t>(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr));
}

const xcb_atom_t* Values(const xcb_get_property_reply_t* reply, int& count) {
    count = reply && reply->format == 32 ? xcb_get_property_value_length(reply) / 4 : 0;
    return count ? static_cast<const xcb_atom_t*>(xcb_get_property_value(reply)) : nullptr;
}

} // namespace

bool X11ManagerGrantsFullScreen() {
    xcb_connection_t* c = QtX11Connection();
    if (!c)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED");
    const xcb_atom_t fullScreen = Atom(c, "_NET_WM_STATE_FULLSCREEN");
    if (check == XCB_ATOM_NONE || supported == XCB_ATOM_NONE || fullScreen == XCB_ATOM_NONE)
        return false;
    // A manager that has gone leaves its check window named on the root;
    // a running one names the same window on that window as well.
    int count = 0;
    const auto onRoot = Property(c, root, check, XCB_ATOM_WINDOW);
    const xcb_atom_t* named = Values(onRoot.get(), count);
    if (!named)
        return false;
    const xcb_window_t manager = named[0];
    const auto onManager = Property(c, manager, check, XCB_ATOM_WINDOW);
    const xcb_atom_t* confirmed = Values(onManager.get(), count);
    if (!confirmed || confirmed[0] != manager)
        return false;
    const auto list = Property(c, root, supported, XCB_ATOM_ATOM);
    const xcb_atom_t* atoms = Values(list.get(), count);
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == fullScreen)
            return true;
    }
    return false;
}

bool X11WindowMapped(QWidget* window) {
    xcb_connection_t* c = QtX11Connection();
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created))
        return true;
    Owned<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window->winId())), nullptr));
    return !attributes || attributes->map_state != XCB_MAP_STATE_UNMAPPED;
}

bool X11WindowManaged(QWidget* window) {
    xcb_connection_t* c = QtX11Connection();
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created))
        return false;
    const xcb_atom_t wmState = Atom(c, "WM_STATE");
    if (wmState == XCB_ATOM_NONE)
        return false;
    int count = 0;
    const auto state = Property(c, static_cast<xcb_window_t>(window->winId()), wmState, wmState);
    const xcb_atom_t* values = Values(state.get(), count);
    constexpr xcb_atom_t kWithdrawn = 0;
    return values && values[0] != kWithdrawn;
}

void X11MapAgain(QWidget* window) {
    xcb_connection_t* c = QtX11Connection();
    if (!c || !window || !window->testAttribute(Qt::WA_WState_Created))
        return;
    xcb_map_window(c, static_cast<xcb_window_t>(window->winId()));
    xcb_flush(c);
}

} // namespace ui
