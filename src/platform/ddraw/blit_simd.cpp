// Keyed copies on the vector unit: a block of source pixels is compared
// with the key at once and merged into the destination, and blocks that are
// all key (the empty parts of a sprite) are skipped without touching the
// destination. SSE2 is always there on x86-64; AVX2 is used when the
// processor has it. Elsewhere the portable routines run.

#include "platform/ddraw/blitter.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define PIMURU_BLIT_X86 1
#endif

namespace ddraw::blit {

#if PIMURU_BLIT_X86

namespace {

template <DWORD Bytes> __m128i Splat128(DWORD key) {
    if constexpr (Bytes == 1) {
        return _mm_set1_epi8(static_cast<char>(key));
    } else if constexpr (Bytes == 2) {
        return _mm_set1_epi16(static_cast<short>(key));
    } else {
        return _mm_set1_epi32(static_cast<int>(key));
    }
}

template <DWORD Bytes> __m128i Equal128(__m128i a, __m128i b) {
    if constexpr (Bytes == 1) {
        return _mm_cmpeq_epi8(a, b);
    } else if constexpr (Bytes == 2) {
        return _mm_cmpeq_epi16(a, b);
    } else {
        return _mm_cmpeq_epi32(a, b);
    }
}

template <typename P> void KeyedTail(const P* src, P* dst, LONG from, LONG to, DWORD key) {
    for (LONG x = from; x < to; ++x) {
        if (src[x] != key) {
            dst[x] = src[x];
        }
    }
}

template <typename P> void KeyedCopySse2(const CopyArgs& a) {
    constexpr DWORD kBytes = sizeof(P);
    constexpr LONG kLane = static_cast<LONG>(16 / kBytes);
    const __m128i key = Splat128<kBytes>(a.key);
    const BYTE* srcRow = a.src;
    BYTE* dstRow = a.dst;
    for (LONG y = 0; y < a.height; ++y, srcRow += a.srcPitch, dstRow += a.dstPitch) {
        const P* src = reinterpret_cast<const P*>(srcRow);
        P* dst = reinterpret_cast<P*>(dstRow);
        LONG x = 0;
        for (; x + kLane <= a.width; x += kLane) {
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
            const __m128i transparent = Equal128<kBytes>(s, key);
            const int bits = _mm_movemask_epi8(transparent);
            if (bits == 0xFFFF) {
                continue;
            }
            __m128i* d = reinterpret_cast<__m128i*>(dst + x);
            if (bits == 0) {
                _mm_storeu_si128(d, s);
                continue;
            }
            const __m128i old = _mm_loadu_si128(d);
            _mm_storeu_si128(
                d, _mm_or_si128(_mm_and_si128(transparent, old), _mm_andnot_si128(transparent, s)));
        }
        KeyedTail(src, dst, x, a.width, a.key);
    }
}

template <DWORD Bytes> __attribute__((target("avx2"))) __m256i Splat256(DWORD key) {
    if constexpr (Bytes == 1) {
        return _mm256_set1_epi8(static_cast<char>(key));
    } else if constexpr (Bytes == 2) {
        return _mm256_set1_epi16(static_cast<short>(key));
    } else {
        return _mm256_set1_epi32(static_cast<int>(key));
    }
}

template <DWORD Bytes> __attribute__((target("avx2"))) __m256i Equal256(__m256i a, __m256i b) {
    if constexpr (Bytes == 1) {
        return _mm256_cmpeq_epi8(a, b);
    } else if constexpr (Bytes == 2) {
        return _mm256_cmpeq_epi16(a, b);
    } else {
        return _mm256_cmpeq_epi32(a, b);
    }
}

template <typename P> __attribute__((target("avx2"))) void KeyedCopyAvx2(const CopyArgs& a) {
    constexpr DWORD kBytes = sizeof(P);
    constexpr LONG kLane = static_cast<LONG>(32 / kBytes);
    const __m256i key = Splat256<kBytes>(a.key);
    const BYTE* srcRow = a.src;
    BYTE* dstRow = a.dst;
    for (LONG y = 0; y < a.height; ++y, srcRow += a.srcPitch, dstRow += a.dstPitch) {
        const P* src = reinterpret_cast<const P*>(srcRow);
        P* dst = reinterpret_cast<P*>(dstRow);
        LONG x = 0;
        for (; x + kLane <= a.width; x += kLane) {
            const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
            const __m256i transparent = Equal256<kBytes>(s, key);
            if constexpr (kBytes == 4) {
                // One masked store, without branches that sprite edges
                // would keep mispredicting.
                _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + x),
                                       _mm256_xor_si256(transparent, _mm256_set1_epi32(-1)), s);
                continue;
            }
            const unsigned bits = static_cast<unsigned>(_mm256_movemask_epi8(transparent));
            if (bits == 0xFFFFFFFFu) {
                continue;
            }
            __m256i* d = reinterpret_cast<__m256i*>(dst + x);
            if (bits == 0) {
                _mm256_storeu_si256(d, s);
                continue;
            }
            const __m256i old = _mm256_loadu_si256(d);
            _mm256_storeu_si256(d, _mm256_blendv_epi8(s, old, transparent));
        }
        KeyedTail(src, dst, x, a.width, a.key);
    }
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

#else

CopyRoutine VectorKeyedCopy(DWORD) {
    return nullptr;
}

#endif

} // namespace ddraw::blit
