#pragma once
// The plain copy shared by the vector units, written once over a vector
// traits type (as keyed_rows.h) and instantiated in the file compiled for
// that unit (blit_simd.cpp for SSE2, blit_avx2.cpp for AVX2).

#include "platform/ddraw/blitter.h"

#include <cstring>

namespace ddraw::blit {

// Copies bytes between blocks that do not overlap with unaligned vector
// loads and stores, four vectors at a time and the last vector ending at the
// last byte; blocks shorter than a vector go to memcpy. V supplies Vector,
// Load and Store.
template <typename V> void CopyBytesWith(BYTE* dst, const BYTE* src, std::size_t bytes) {
    constexpr std::size_t kVector = sizeof(typename V::Vector);
    if (bytes < kVector) {
        std::memcpy(dst, src, bytes);
        return;
    }
    std::size_t i = 0;
    for (; i + 4 * kVector <= bytes; i += 4 * kVector) {
        const auto a = V::Load(src + i);
        const auto b = V::Load(src + i + kVector);
        const auto c = V::Load(src + i + 2 * kVector);
        const auto d = V::Load(src + i + 3 * kVector);
        V::Store(dst + i, a);
        V::Store(dst + i + kVector, b);
        V::Store(dst + i + 2 * kVector, c);
        V::Store(dst + i + 3 * kVector, d);
    }
    for (; i + kVector <= bytes; i += kVector) {
        V::Store(dst + i, V::Load(src + i));
    }
    if (i < bytes) {
        V::Store(dst + bytes - kVector, V::Load(src + bytes - kVector));
    }
}

// The AVX2 byte copy (null where the build has no AVX2 file). Call only on
// a processor with AVX2.
ByteCopy Avx2ByteCopy();

} // namespace ddraw::blit
