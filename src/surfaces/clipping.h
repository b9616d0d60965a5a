#pragma once
// Software clipping of copies onto a surface: unscaled copies to a point and
// scaled copies between rectangles, cut to a clip rectangle before the blitter
// sees them. Also used by the display component's windowed presentation.

#include "base/rect.h"

#include <cstdint>

namespace dddd {

// Puts Top above Bottom and Left before Right.
void NormalizeRect(base::Rect& r);

// One axis of an unscaled copy: destination [d0, d1) against the clip span
// [lo, hi), source span [s0, s1). False when the copy lies wholly outside.
// A span that only touches the clip span from outside passes the test and
// comes back with an empty source span.
bool ClipSpan(std::int32_t& d0, std::int32_t d1, std::int32_t& s0, std::int32_t& s1,
              std::int32_t lo, std::int32_t hi);

// One axis of a scaled copy; dw and sw are the destination and source extents
// before clipping. The source moves by the integer quotient sw / dw, so an
// enlarging copy that needs clipping gets an empty source span.
bool ClipScaledSpan(std::int32_t& d0, std::int32_t& d1, std::int32_t& s0, std::int32_t& s1,
                    std::int32_t lo, std::int32_t hi, std::int32_t dw, std::int32_t sw);

// Clips a copy of `src` to the point (x, y) against `clip`.
bool ClipSourceAt(std::int32_t& x, std::int32_t& y, base::Rect& src, const base::Rect& clip);

// Clips a copy of `src` onto `dst` against `clip`, moving the source edges in
// proportion.
bool ClipStretched(base::Rect& dst, base::Rect& src, const base::Rect& clip);

} // namespace dddd
