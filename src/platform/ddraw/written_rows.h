#pragma once
// Which columns of each row of a surface were written since the marks were
// last cleared. A window that shows a copy of the surface looks again only
// at those parts, not at the whole picture, when it copies the next frame.

#include "platform/ddraw/blitter.h"
#include "platform/ddraw/ddraw_types.h"

#include <cstdint>
#include <vector>

namespace ddraw {

class WrittenRows {
public:
    // A surface of the given size, every pixel marked.
    WrittenRows(LONG width, LONG height);

    // Marks the pixels of an area (cut to the surface).
    void Mark(const RECT& area);
    void MarkAll();
    // Forgets every mark; each clearing is counted.
    void Clear();
    std::uint64_t Clears() const { return clears_; }

    // The written columns of row y: each row's marks join into one span,
    // empty (left >= right) when nothing in it was written.
    blit::ColumnSpan Row(LONG y) const { return rows_[static_cast<std::size_t>(y)]; }

private:
    LONG width_;
    std::vector<blit::ColumnSpan> rows_;
    std::uint64_t clears_ = 0;
};

} // namespace ddraw
