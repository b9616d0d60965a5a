// Keyed copies on the vector unit: a block of source pixels is compared
// with the key at once and merged into the destination with a plain load,
// blend and store of whole vectors; blocks that are all key (the empty parts
// of a sprite) are skipped without touching the destination. Masked stores
// are not used: AMD processors run them in microcode, many times slower than
// a blend. SSE2 is always there on x86-64; AVX2 is used when the processor
// has it. Elsewhere the portable routines run.

#include "platform/ddraw/blitter.h"

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

template <DWORD Bytes> struct Avx2 {
    using Vector = __m256i;
    static constexpr unsigned kAllKey = 0xFFFFFFFFu;

    __attribute__((target("avx2"))) static Vector Splat(DWORD key) {
        if constexpr (Bytes == 1) {
            return _mm256_set1_epi8(static_cast<char>(key));
        } else if constexpr (Bytes == 2) {
            return _mm256_set1_epi16(static_cast<short>(key));
        } else {
            return _mm256_set1_epi32(static_cast<int>(key));
        }
    }
    __attribute__((target("avx2"))) static Vector Load(const void* p) {
        return _mm256_loadu_si256(static_cast<const Vector*>(p));
    }
    __attribute__((target("avx2"))) static void Store(void* p, Vector v) {
        _mm256_storeu_si256(static_cast<Vector*>(p), v);
    }
    __attribute__((target("avx2"))) static Vector Equal(Vector a, Vector b) {
        if constexpr (Bytes == 1) {
            return _mm256_cmpeq_epi8(a, b);
        } else if constexpr (Bytes == 2) {
            return _mm256_cmpeq_epi16(a, b);
        } else {
            return _mm256_cmpeq_epi32(a, b);
        }
    }
    __attribute__((target("avx2"))) static unsigned Bits(Vector mask) {
        return static_cast<unsigned>(_mm256_movemask_epi8(mask));
    }
    // Not a byte blend: GCC 12 turns _mm256_blendv_epi8 into a test of the
    // mask's bytes as plain chars, which with -funsigned-char never holds.
    __attribute__((target("avx2"))) static Vector Merge(Vector src, Vector old,
                                                        Vector transparent) {
        return _mm256_or_si256(_mm256_and_si256(transparent, old), _mm256_andnot_si256(transparent, src));
    }
};

template <typename P> void KeyedTail(const P* src, P* dst, LONG from, LONG to, DWORD key) {
    for (LONG x = from; x < to; ++x) {
        if (src[x] != key) {
            dst[x] = src[x];
        }
    }
}

// The shared loop below is always inlined into a routine compiled for its
// vector unit, so the calling convention of 32-byte vectors outside AVX
// code, which the compiler warns about, never applies.
#pragma GCC diagnostic ignored "-Wpsabi"

// One branch per block, on "all key", which stays predictable along a
// sprite's empty margins; a block with any pixel to copy is blended whole,
// so sprite edges cost no mispredictions.
template <typename P, typename V>
__attribute__((always_inline)) inline void KeyedRows(const CopyArgs& a) {
    constexpr LONG kLane = static_cast<LONG>(sizeof(typename V::Vector) / sizeof(P));
    const typename V::Vector key = V::Splat(a.key);
    const LONG width = a.width; // kept out of memory the stores might alias
    const BYTE* srcRow = a.src;
    BYTE* dstRow = a.dst;
    for (LONG y = 0; y < a.height; ++y, srcRow += a.srcPitch, dstRow += a.dstPitch) {
        const P* src = reinterpret_cast<const P*>(srcRow);
        P* dst = reinterpret_cast<P*>(dstRow);
        LONG x = 0;
        for (; x + kLane <= width; x += kLane) {
            const typename V::Vector s = V::Load(src + x);
            const typename V::Vector transparent = V::Equal(s, key);
            if (V::Bits(transparent) == V::kAllKey) {
                continue;
            }
            V::Store(dst + x, V::Merge(s, V::Load(dst + x), transparent));
        }
        KeyedTail(src, dst, x, width, a.key);
    }
}

template <typename P> void KeyedCopySse2(const CopyArgs& a) {
    KeyedRows<P, Sse2<sizeof(P)>>(a);
}

template <typename P> __attribute__((target("avx2"))) void KeyedCopyAvx2(const CopyArgs& a) {
    KeyedRows<P, Avx2<sizeof(P)>>(a);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

} // namespace

CopyRoutine VectorKeyedCopy(DWORD bytesPerPixel, VectorUnit unit) {
    if (unit == VectorUnit::Avx2 && !HasAvx2()) {
        return nullptr;
    }
    const bool avx2 = unit == VectorUnit::Avx2 || (unit == VectorUnit::Best && HasAvx2());
    switch (bytesPerPixel) {
    case 1:
        return avx2 ? KeyedCopyAvx2<BYTE> : KeyedCopySse2<BYTE>;
    case 2:
        return avx2 ? KeyedCopyAvx2<WORD> : KeyedCopySse2<WORD>;
    case 4:
        return avx2 ? KeyedCopyAvx2<DWORD> : KeyedCopySse2<DWORD>;
    default:
        return nullptr;
    }
}

const char* KeyedCopyName(DWORD bytesPerPixel) {
    if (!VectorKeyedCopy(bytesPerPixel)) {
        return "portable";
    }
    return HasAvx2() ? "AVX2" : "SSE2";
}

#else

CopyRoutine VectorKeyedCopy(DWORD, VectorUnit) {
    return nullptr;
}

const char* KeyedCopyName(DWORD) {
    return "portable";
}

#endif

} // namespace ddraw::blit
