#include "platform/ddraw/blitter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace ddraw::blit {

namespace {

// A 24-bit pixel, moved as three bytes and compared as a number.
struct Pixel24 {
    BYTE b[3];
};

template <typename P> DWORD ValueOf(const P& pixel) {
    return pixel;
}
template <> DWORD ValueOf<Pixel24>(const Pixel24& pixel) {
    return DWORD{pixel.b[0]} | (DWORD{pixel.b[1]} << 8) | (DWORD{pixel.b[2]} << 16);
}

template <typename P> P PixelOf(DWORD value) {
    return static_cast<P>(value);
}
template <> Pixel24 PixelOf<Pixel24>(DWORD value) {
    return Pixel24{
        {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16)}};
}

template <typename P> const P* SrcRow(const BYTE* base, LONG pitch, LONG y) {
    return reinterpret_cast<const P*>(base + static_cast<std::ptrdiff_t>(y) * pitch);
}
template <typename P> P* DstRow(BYTE* base, LONG pitch, LONG y) {
    return reinterpret_cast<P*>(base + static_cast<std::ptrdiff_t>(y) * pitch);
}

void MemoryCopy(BYTE* dst, const BYTE* src, std::size_t bytes) {
    std::memcpy(dst, src, bytes);
}

void OpaqueCopy(const CopyArgs& a, DWORD bytesPerPixel) {
    const std::size_t rowBytes = static_cast<std::size_t>(a.width) * bytesPerPixel;
    if (a.height <= 0 || rowBytes == 0) {
        return;
    }
    const ByteCopy copy = ChooseByteCopy();
    // Whole-width strips of equal pitch are one block of memory.
    if (static_cast<std::size_t>(a.srcPitch) == rowBytes && a.srcPitch == a.dstPitch) {
        copy(a.dst, a.src, rowBytes * static_cast<std::size_t>(a.height));
        return;
    }
    const BYTE* src = a.src;
    BYTE* dst = a.dst;
    for (LONG y = 0; y < a.height; ++y) {
        copy(dst, src, rowBytes);
        src += a.srcPitch;
        dst += a.dstPitch;
    }
}

template <DWORD Bytes> void OpaqueCopyOf(const CopyArgs& a) {
    OpaqueCopy(a, Bytes);
}

template <typename P> void KeyedCopy(const CopyArgs& a) {
    const DWORD key = a.key;
    for (LONG y = 0; y < a.height; ++y) {
        const P* src = SrcRow<P>(a.src, a.srcPitch, y);
        P* dst = DstRow<P>(a.dst, a.dstPitch, y);
        for (LONG x = 0; x < a.width; ++x) {
            if (ValueOf(src[x]) != key) {
                dst[x] = src[x];
            }
        }
    }
}

// Source position of each destination pixel in 32.32 fixed point, sampled
// at pixel centres.
struct Stepper {
    std::uint64_t step;
    std::uint64_t start;
    Stepper(LONG srcExtent, LONG dstExtent, LONG first)
        : step((static_cast<std::uint64_t>(srcExtent) << 32) /
               static_cast<std::uint64_t>(dstExtent)),
          start(static_cast<std::uint64_t>(first) * step + step / 2) {}
};

template <typename P, bool Keyed> void Stretch(const StretchArgs& a) {
    if (a.srcWidth <= 0 || a.srcHeight <= 0 || a.dstWidth <= 0 || a.dstHeight <= 0) {
        return;
    }
    const Stepper xs(a.srcWidth, a.dstWidth, a.partLeft);
    const Stepper ys(a.srcHeight, a.dstHeight, a.partTop);
    std::uint64_t yPos = ys.start;
    for (LONG y = a.partTop; y < a.partBottom; ++y, yPos += ys.step) {
        LONG sy = static_cast<LONG>(yPos >> 32);
        if (a.mirrorUpDown) {
            sy = a.srcHeight - 1 - sy;
        }
        const P* src = SrcRow<P>(a.src, a.srcPitch, sy);
        P* dst = DstRow<P>(a.dst, a.dstPitch, y);
        std::uint64_t xPos = xs.start;
        for (LONG x = a.partLeft; x < a.partRight; ++x, xPos += xs.step) {
            LONG sx = static_cast<LONG>(xPos >> 32);
            if (a.mirrorLeftRight) {
                sx = a.srcWidth - 1 - sx;
            }
            const P pixel = src[sx];
            if (!Keyed || ValueOf(pixel) != a.key) {
                dst[x] = pixel;
            }
        }
    }
}

template <typename P> void Fill(const FillArgs& a) {
    if (a.height <= 0 || a.width <= 0) {
        return;
    }
    P* first = DstRow<P>(a.dst, a.pitch, 0);
    const P pixel = PixelOf<P>(a.value);
    for (LONG x = 0; x < a.width; ++x) {
        first[x] = pixel;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(a.width) * sizeof(P);
    const ByteCopy copy = ChooseByteCopy();
    for (LONG y = 1; y < a.height; ++y) {
        copy(reinterpret_cast<BYTE*>(DstRow<P>(a.dst, a.pitch, y)),
             reinterpret_cast<const BYTE*>(first), rowBytes);
    }
}

template <> void Fill<BYTE>(const FillArgs& a) {
    for (LONG y = 0; y < a.height; ++y) {
        std::memset(DstRow<BYTE>(a.dst, a.pitch, y), static_cast<int>(a.value & 0xFF),
                    static_cast<std::size_t>(a.width));
    }
}

// Indexed by bytes per pixel - 1.
constexpr CopyRoutine kOpaqueCopies[4] = {OpaqueCopyOf<1>, OpaqueCopyOf<2>, OpaqueCopyOf<3>,
                                          OpaqueCopyOf<4>};
constexpr CopyRoutine kKeyedCopies[4] = {KeyedCopy<BYTE>, KeyedCopy<WORD>, KeyedCopy<Pixel24>,
                                         KeyedCopy<DWORD>};
constexpr StretchRoutine kStretches[2][4] = {
    {Stretch<BYTE, false>, Stretch<WORD, false>, Stretch<Pixel24, false>, Stretch<DWORD, false>},
    {Stretch<BYTE, true>, Stretch<WORD, true>, Stretch<Pixel24, true>, Stretch<DWORD, true>},
};
constexpr FillRoutine kFills[4] = {Fill<BYTE>, Fill<WORD>, Fill<Pixel24>, Fill<DWORD>};

// The copy table with the vector routines put in where the processor has
// them, built once.
struct CopyTable {
    CopyRoutine routines[2][4];
    CopyTable() {
        for (DWORD i = 0; i < 4; ++i) {
            routines[0][i] = kOpaqueCopies[i];
            const CopyRoutine vector = VectorKeyedCopy(i + 1);
            routines[1][i] = vector ? vector : kKeyedCopies[i];
        }
    }
};

DWORD Index(DWORD bytesPerPixel) {
    return (bytesPerPixel >= 1 && bytesPerPixel <= 4) ? bytesPerPixel - 1 : 1;
}

} // namespace

namespace {

// The bytes [first, last) outside which two rows known to differ are equal.
std::pair<std::size_t, std::size_t> DifferingSpan(const BYTE* a, const BYTE* b, std::size_t size) {
    std::size_t first = 0;
    while (first + 8 <= size && std::memcmp(a + first, b + first, 8) == 0) {
        first += 8;
    }
    while (a[first] == b[first]) {
        ++first;
    }
    std::size_t last = size;
    while (last >= first + 8 && std::memcmp(a + last - 8, b + last - 8, 8) == 0) {
        last -= 8;
    }
    while (a[last - 1] == b[last - 1]) {
        --last;
    }
    return {first, last};
}

} // namespace

void CopyChangedRows(const CopyArgs& a, DWORD bytesPerPixel, LONG mergeGap,
                     std::vector<RowBand>& bands, std::span<const ColumnSpan> lookAt) {
    bands.clear();
    if (a.height <= 0 || a.width <= 0 || bytesPerPixel == 0) {
        return;
    }
    const ByteCopy copy = ChooseByteCopy();
    const BYTE* src = a.src;
    BYTE* dst = a.dst;
    for (LONG y = 0; y < a.height; ++y, src += a.srcPitch, dst += a.dstPitch) {
        LONG from = 0;
        LONG to = a.width;
        if (!lookAt.empty()) {
            from = std::max<LONG>(from, lookAt[static_cast<std::size_t>(y)].left);
            to = std::min(to, lookAt[static_cast<std::size_t>(y)].right);
            if (from >= to) {
                continue;
            }
        }
        const std::size_t offset = static_cast<std::size_t>(from) * bytesPerPixel;
        const std::size_t size = static_cast<std::size_t>(to - from) * bytesPerPixel;
        if (std::memcmp(dst + offset, src + offset, size) == 0) {
            continue;
        }
        auto [first, last] = DifferingSpan(dst + offset, src + offset, size);
        first += offset;
        last += offset;
        const LONG left = static_cast<LONG>(first / bytesPerPixel);
        const LONG right = static_cast<LONG>((last + bytesPerPixel - 1) / bytesPerPixel);
        copy(dst + left * bytesPerPixel, src + left * bytesPerPixel,
             static_cast<std::size_t>(right - left) * bytesPerPixel);
        if (!bands.empty() && y - (bands.back().first + bands.back().count) < mergeGap) {
            RowBand& band = bands.back();
            band.count = y + 1 - band.first;
            band.left = std::min(band.left, left);
            band.right = std::max(band.right, right);
        } else {
            bands.push_back({y, 1, left, right});
        }
    }
}

ByteCopy ChooseByteCopy() {
    static const ByteCopy chosen = VectorByteCopy() ? VectorByteCopy() : MemoryCopy;
    return chosen;
}

CopyRoutine ChooseCopy(DWORD bytesPerPixel, bool keyed) {
    static const CopyTable table;
    return table.routines[keyed ? 1 : 0][Index(bytesPerPixel)];
}

CopyRoutine PortableCopy(DWORD bytesPerPixel, bool keyed) {
    return keyed ? kKeyedCopies[Index(bytesPerPixel)] : kOpaqueCopies[Index(bytesPerPixel)];
}

StretchRoutine ChooseStretch(DWORD bytesPerPixel, bool keyed) {
    return kStretches[keyed ? 1 : 0][Index(bytesPerPixel)];
}

FillRoutine ChooseFill(DWORD bytesPerPixel) {
    return kFills[Index(bytesPerPixel)];
}

} // namespace ddraw::blit
