// Copies on the vector unit. A keyed copy compares a block of source pixels
// with the key at once and merges it into the destination with a plain
// load, blend and store of whole vectors; blocks that are all key (the empty
// parts of a sprite) are skipped without touching the destination. Masked
// stores are not used: AMD processors run them in microcode, many times
// slower than a blend. A plain copy is loads and stores of whole vectors
// (why not memcpy: see ChooseByteCopy). SSE2 is always there on x86-64 and
// lives here; AVX2, in blit_avx2.cpp, is chosen when the processor has it.
// Elsewhere the portable routines run.

#include "platform/ddraw/blitter.h"
#include "platform/ddraw/byte_rows.h"
#include "platform/ddraw/keyed_rows.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define PIMURU_BLIT_X86 1
#endif

namespace ddraw::blit {

#if PIMURU_BLIT_X86

namespace {

// 16-byte vectors; SSE2 has no byte blend, so the merge is and/andnot/or.
template <DWORD Bytes> struct Sse2 {
    using Vector = __m128i;
    static constexpr unsigned kAllKey = 0xFFFFu;

    static Vector Splat(DWORD key) {
        if constexpr (Bytes == 1) {
            return _mm_set1_epi8(static_cast<char>(key));
        } else if constexpr (Bytes == 2) {
            return _mm_set1_epi16(static_cast<short>(key));
        } else {
            return _mm_set1_epi32(static_cast<int>(key));
        }
    }
    static Vector Load(const void* p) { return _mm_loadu_si128(static_cast<const Vector*>(p)); }
    static void Store(void* p, Vector v) { _mm_storeu_si128(static_cast<Vector*>(p), v); }
    static Vector Equal(Vector a, Vector b) {
        if constexpr (Bytes == 1) {
            return _mm_cmpeq_epi8(a, b);
        } else if constexpr (Bytes == 2) {
            return _mm_cmpeq_epi16(a, b);
        } else {
            return _mm_cmpeq_epi32(a, b);
        }
    }
    static unsigned Bits(Vector mask) { return static_cast<unsigned>(_mm_movemask_epi8(mask)); }
    // Keeps old where transparent is set, takes src elsewhere.
    static Vector Merge(Vector src, Vector old, Vector transparent) {
        return _mm_or_si128(_mm_and_si128(transparent, old), _mm_andnot_si128(transparent, src));
    }
};

template <typename P> void KeyedCopySse2(const CopyArgs& a) {
    KeyedRows<P, Sse2<sizeof(P)>>(a);
}

void CopyBytesSse2(BYTE* dst, const BYTE* src, std::size_t bytes) {
    CopyBytesWith<Sse2<1>>(dst, src, bytes);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

} // namespace

ByteCopy VectorByteCopy(VectorUnit unit) {
    const ByteCopy avx2 = unit != VectorUnit::Sse2 && HasAvx2() ? Avx2ByteCopy() : nullptr;
    if (avx2 || unit == VectorUnit::Avx2) {
        return avx2;
    }
    return CopyBytesSse2;
}

CopyRoutine VectorKeyedCopy(DWORD bytesPerPixel, VectorUnit unit) {
    const CopyRoutine avx2 =
        unit != VectorUnit::Sse2 && HasAvx2() ? Avx2KeyedCopy(bytesPerPixel) : nullptr;
    if (avx2 || unit == VectorUnit::Avx2) {
        return avx2;
    }
    switch (bytesPerPixel) {
    case 1:
        return KeyedCopySse2<BYTE>;
    case 2:
        return KeyedCopySse2<WORD>;
    case 4:
        return KeyedCopySse2<DWORD>;
    default:
        return nullptr;
    }
}

const char* KeyedCopyName(DWORD bytesPerPixel) {
    if (!VectorKeyedCopy(bytesPerPixel)) {
        return "portable";
    }
    return VectorKeyedCopy(bytesPerPixel, VectorUnit::Avx2) ? "AVX2" : "SSE2";
}

#else

ByteCopy VectorByteCopy(VectorUnit) {
    return nullptr;
}

CopyRoutine VectorKeyedCopy(DWORD, VectorUnit) {
    return nullptr;
}

const char* KeyedCopyName(DWORD) {
    return "portable";
}

#endif

} // namespace ddraw::blit
