#pragma once
// The pixel routines behind Blt and BltFast. A call picks its routine once
// from a table by bytes per pixel and kind (opaque or keyed copy, stretched
// copy, fill), never per pixel; the rows are then run without further
// decisions. Rectangles are already checked and clipped by the caller.

#include "platform/ddraw/ddraw_types.h"

#include <cstddef>
#include <span>
#include <vector>

namespace ddraw::blit {

// An unscaled copy of width x height pixels; src and dst point at the first
// pixel of their rectangles. Keyed copies skip source pixels equal to key.
struct CopyArgs {
    const BYTE* src = nullptr;
    LONG srcPitch = 0;
    BYTE* dst = nullptr;
    LONG dstPitch = 0;
    LONG width = 0;
    LONG height = 0;
    DWORD key = 0;
};

// A nearest-neighbour copy of a srcWidth x srcHeight rectangle onto a
// dstWidth x dstHeight one, of which only the part (relative to dst) is
// written, so that a clipped copy samples exactly as the whole would.
struct StretchArgs {
    const BYTE* src = nullptr;
    LONG srcPitch = 0;
    LONG srcWidth = 0;
    LONG srcHeight = 0;
    BYTE* dst = nullptr;
    LONG dstPitch = 0;
    LONG dstWidth = 0;
    LONG dstHeight = 0;
    LONG partLeft = 0;
    LONG partTop = 0;
    LONG partRight = 0;
    LONG partBottom = 0;
    bool mirrorLeftRight = false;
    bool mirrorUpDown = false;
    DWORD key = 0;
};

struct FillArgs {
    BYTE* dst = nullptr;
    LONG pitch = 0;
    LONG width = 0;
    LONG height = 0;
    DWORD value = 0;
};

using CopyRoutine = void (*)(const CopyArgs&);
using StretchRoutine = void (*)(const StretchArgs&);
using FillRoutine = void (*)(const FillArgs&);

// bytesPerPixel is 1 to 4. The copies may use the processor's vector unit.
CopyRoutine ChooseCopy(DWORD bytesPerPixel, bool keyed);
StretchRoutine ChooseStretch(DWORD bytesPerPixel, bool keyed);
FillRoutine ChooseFill(DWORD bytesPerPixel);

// Rows first to first + count - 1 of a copy's destination, columns left to
// right - 1 of them.
struct RowBand {
    LONG first = 0;
    LONG count = 0;
    LONG left = 0;
    LONG right = 0;
};

// Columns left to right - 1 of a row; empty when left >= right.
struct ColumnSpan {
    LONG left = 0;
    LONG right = 0;
};

// An opaque copy onto a surface on show: only the pixels of each row from
// its first to its last that differ from the source's are written, and the
// parts written are gathered into bands (replacing what `bands` held) to be
// shown. Bands fewer than mergeGap rows apart become one, so a frame is
// shown in a few pieces, not dozens. lookAt, when given, holds a span for
// each row of the copy outside which source and destination are known to
// be equal already; only the span is compared.
void CopyChangedRows(const CopyArgs& a, DWORD bytesPerPixel, LONG mergeGap,
                     std::vector<RowBand>& bands, std::span<const ColumnSpan> lookAt = {});

// The plain C++ copies, kept beside the vector ones on every processor.
CopyRoutine PortableCopy(DWORD bytesPerPixel, bool keyed);

// Keyed copies on the vector unit, or null where there are none
// (blit_simd.cpp). Best is the widest the processor has; the others let
// tests reach each one.
enum class VectorUnit { Best, Sse2, Avx2 };
CopyRoutine VectorKeyedCopy(DWORD bytesPerPixel, VectorUnit unit = VectorUnit::Best);

// Copies bytes from src to dst; the two blocks do not overlap.
using ByteCopy = void (*)(BYTE* dst, const BYTE* src, std::size_t bytes);

// The copy every row of an opaque copy goes through: plain vector loads and
// stores where the processor has a vector unit, memcpy elsewhere. Not
// memcpy on x86-64: glibc hands copies above about 2 KB (a 32-bit row) to
// `rep movsb`, which AMD's Zen 3 and Zen 4 run up to 20 times slower when
// the destination is not aligned as the source is, as when a picture is
// copied a few pixels to the side.
ByteCopy ChooseByteCopy();

// The byte copy on the vector unit, or null where there is none
// (blit_simd.cpp), as for VectorKeyedCopy.
ByteCopy VectorByteCopy(VectorUnit unit = VectorUnit::Best);

// What ChooseCopy(bytesPerPixel, true) runs on this processor ("AVX2",
// "SSE2" or "portable"), for benchmark reports.
const char* KeyedCopyName(DWORD bytesPerPixel);

} // namespace ddraw::blit
