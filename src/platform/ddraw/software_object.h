#pragma once
// How the software objects recognise each other when handed an interface:
// by exact type, or through QueryInterface with an identifier of their own,
// which they answer with themselves. A test double that wraps a software
// object and forwards QueryInterface can so be passed wherever the wrapped
// object could (as a blit source, a palette, a clipper).

#include "platform/ddraw/ddraw_errors.h"
#include "platform/ddraw/ddraw_interfaces.h"

#include <typeinfo>

namespace ddraw {

inline constexpr GUID IID_SoftwareSurface = {
    0x70696D75, 0x7366, 0x0001, {0x73, 0x6F, 0x66, 0x74, 0x77, 0x61, 0x72, 0x65}};
inline constexpr GUID IID_SoftwarePalette = {
    0x70696D75, 0x7366, 0x0002, {0x73, 0x6F, 0x66, 0x74, 0x77, 0x61, 0x72, 0x65}};
inline constexpr GUID IID_SoftwareClipper = {
    0x70696D75, 0x7366, 0x0003, {0x73, 0x6F, 0x66, 0x74, 0x77, 0x61, 0x72, 0x65}};

// The software object behind an interface, or null. No reference is added.
template <typename Software, typename Interface>
Software* SoftwareObjectOf(Interface* object, const GUID& iid) {
    if (!object) {
        return nullptr;
    }
    // The software classes are final: an exact type test is enough, and
    // cheaper than a cast on the per-sprite path.
    if (typeid(*object) == typeid(Software)) {
        return static_cast<Software*>(object);
    }
    void* inner = nullptr;
    if (object->QueryInterface(iid, &inner) != DD_OK || !inner) {
        return nullptr;
    }
    auto* software = static_cast<Software*>(static_cast<Interface*>(inner));
    software->Release();
    return software;
}

} // namespace ddraw
