#pragma once
// The loop shared by the keyed copies on the vector unit, written once over
// a vector traits type and instantiated in the file compiled for that unit
// (blit_simd.cpp for SSE2, blit_avx2.cpp for AVX2).

#include "platform/ddraw/blitter.h"

namespace ddraw::blit {

// One branch per block, on "all key", which stays predictable along a
// sprite's empty margins; a block with any pixel to copy is blended whole,
// so sprite edges cost no mispredictions. V supplies Vector, kAllKey and
// Splat, Load, Store, Equal, Bits and Merge (old where transparent is set,
// src elsewhere); its file's traits live in an unnamed namespace, so each
// instantiation stays in the file compiled for its unit.
template <typename P, typename V> void KeyedRows(const CopyArgs& a) {
    using Vector = typename V::Vector;
    constexpr LONG kLane = static_cast<LONG>(sizeof(Vector) / sizeof(P));
    const DWORD keyValue = a.key; // kept out of memory the stores might alias
    const LONG width = a.width;
    const Vector key = V::Splat(keyValue);
    const BYTE* srcRow = a.src;
    BYTE* dstRow = a.dst;
    for (LONG y = 0; y < a.height; ++y, srcRow += a.srcPitch, dstRow += a.dstPitch) {
        const P* src = reinterpret_cast<const P*>(srcRow);
        P* dst = reinterpret_cast<P*>(dstRow);
        LONG x = 0;
        for (; x + kLane <= width; x += kLane) {
            const Vector s = V::Load(src + x);
            const Vector transparent = V::Equal(s, key);
            if (V::Bits(transparent) == V::kAllKey) {
                continue;
            }
            V::Store(dst + x, V::Merge(s, V::Load(dst + x), transparent));
        }
        for (; x < width; ++x) {
            if (src[x] != keyValue) {
                dst[x] = src[x];
            }
        }
    }
}

// The AVX2 keyed copy for 1, 2 or 4 bytes per pixel (null otherwise, and
// where the build has no AVX2 file). Call only on a processor with AVX2.
CopyRoutine Avx2KeyedCopy(DWORD bytesPerPixel);

} // namespace ddraw::blit
