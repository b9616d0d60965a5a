#pragma once
// The reference count of one of two interfaces onto one software object
// (IDirectDraw and IDirectDraw2, IDirect3DRM and IDirect3DRM2): each
// interface counts apart, and the object hears when one drops to none.

#include "platform/ddraw/ddraw_types.h"

namespace ddraw {

class InterfaceCount {
public:
    ULONG AddRef() { return ++refs_; }
    // Takes a reference away (never below none); `lastGone` runs when this
    // took the last one. Returns the references left.
    template <typename LastGone> ULONG Release(LastGone lastGone) {
        if (refs_ == 0) {
            return 0;
        }
        const ULONG left = --refs_;
        if (left == 0) {
            lastGone();
        }
        return left;
    }
    ULONG Count() const { return refs_; }
    void SetCount(ULONG refs) { refs_ = refs; }

private:
    ULONG refs_ = 0;
};

} // namespace ddraw
