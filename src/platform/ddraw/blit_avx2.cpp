// Keyed and plain copies on 32-byte AVX2 vectors. This file alone is compiled for AVX2
// (see CMakeLists.txt), so that its vectors pass between the inlined helpers
// in AVX2 registers with either compiler; blit_simd.cpp calls it only on a
// processor that has AVX2. Nothing here has outside linkage but the entry.

#include "platform/ddraw/byte_rows.h"
#include "platform/ddraw/keyed_rows.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace ddraw::blit {

#if defined(__AVX2__)

namespace {

template <DWORD Bytes> struct Avx2 {
    using Vector = __m256i;
    static constexpr unsigned kAllKey = 0xFFFFFFFFu;

    static Vector Splat(DWORD key) {
        if constexpr (Bytes == 1) {
            return _mm256_set1_epi8(static_cast<char>(key));
        } else if constexpr (Bytes == 2) {
            return _mm256_set1_epi16(static_cast<short>(key));
        } else {
            return _mm256_set1_epi32(static_cast<int>(key));
        }
    }
    static Vector Load(const void* p) { return _mm256_loadu_si256(static_cast<const Vector*>(p)); }
    static void Store(void* p, Vector v) { _mm256_storeu_si256(static_cast<Vector*>(p), v); }
    static Vector Equal(Vector a, Vector b) {
        if constexpr (Bytes == 1) {
            return _mm256_cmpeq_epi8(a, b);
        } else if constexpr (Bytes == 2) {
            return _mm256_cmpeq_epi16(a, b);
        } else {
            return _mm256_cmpeq_epi32(a, b);
        }
    }
    static unsigned Bits(Vector mask) { return static_cast<unsigned>(_mm256_movemask_epi8(mask)); }
    // Not a byte blend: GCC 12 turns _mm256_blendv_epi8 into a test of the
    // mask's bytes as plain chars, which with -funsigned-char never holds.
    static Vector Merge(Vector src, Vector old, Vector transparent) {
        return _mm256_or_si256(_mm256_and_si256(transparent, old),
                               _mm256_andnot_si256(transparent, src));
    }
};

template <typename P> void KeyedCopyAvx2(const CopyArgs& a) {
    KeyedRows<P, Avx2<sizeof(P)>>(a);
}

void CopyBytesAvx2(BYTE* dst, const BYTE* src, std::size_t bytes) {
    CopyBytesWith<Avx2<1>>(dst, src, bytes);
}

} // namespace

ByteCopy Avx2ByteCopy() {
    return CopyBytesAvx2;
}

CopyRoutine Avx2KeyedCopy(DWORD bytesPerPixel) {
    switch (bytesPerPixel) {
    case 1:
        return KeyedCopyAvx2<BYTE>;
    case 2:
        return KeyedCopyAvx2<WORD>;
    case 4:
        return KeyedCopyAvx2<DWORD>;
    default:
        return nullptr;
    }
}

#else

ByteCopy Avx2ByteCopy() {
    return nullptr;
}

CopyRoutine Avx2KeyedCopy(DWORD) {
    return nullptr;
}

#endif

} // namespace ddraw::blit
