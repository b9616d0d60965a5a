#include "surfaces/clipping.h"

#include <utility>

namespace dddd {

namespace {

// Rectangle arithmetic wraps like the 32-bit integers it stands for, without
// the undefined behaviour of signed overflow in C++.
std::int32_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(value); }

} // namespace

void NormalizeRect(base::Rect& r) {
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
}

bool ClipSpan(std::int32_t& d0, std::int32_t d1, std::int32_t& s0, std::int32_t& s1,
              std::int32_t lo, std::int32_t hi) {
    if (d0 > hi || d1 < lo)
        return false;
    const std::int64_t s1Entry = s1;
    if (d1 > hi)
        s1 = Wrap(std::int64_t{s0} + (std::int64_t{hi} - d0));
    if (d0 < lo) {
        s0 = Wrap(s1Entry - (std::int64_t{d1} - lo));
        d0 = lo;
    }
    return true;
}

bool ClipScaledSpan(std::int32_t& d0, std::int32_t& d1, std::int32_t& s0, std::int32_t& s1,
                    std::int32_t lo, std::int32_t hi, std::int32_t dw, std::int32_t sw) {
    if (d0 > hi || d1 < lo)
        return false;
    const std::int64_t s1Entry = s1;
    const std::int64_t d1Entry = d1;
    // Only reached with dw != 0: an empty span cannot stick out of the clip
    // span on one side without lying wholly beyond it.
    if (d1 > hi) {
        s1 = Wrap(std::int64_t{sw} / dw * (std::int64_t{hi} - d0) + s0);
        d1 = hi;
    }
    if (d0 < lo) {
        s0 = Wrap(s1Entry - std::int64_t{sw} / dw * (d1Entry - lo));
        d0 = lo;
    }
    return true;
}

bool ClipSourceAt(std::int32_t& x, std::int32_t& y, base::Rect& src, const base::Rect& clip) {
    NormalizeRect(src);
    base::Rect box = clip;
    NormalizeRect(box);
    if (!ClipSpan(x, Wrap(std::int64_t{x} + (std::int64_t{src.Right} - src.Left)), src.Left,
                  src.Right, box.Left, box.Right))
        return false;
    return ClipSpan(y, Wrap(std::int64_t{y} + (std::int64_t{src.Bottom} - src.Top)), src.Top,
                    src.Bottom, box.Top, box.Bottom);
}

bool ClipStretched(base::Rect& dst, base::Rect& src, const base::Rect& clip) {
    NormalizeRect(src);
    NormalizeRect(dst);
    base::Rect box = clip;
    NormalizeRect(box);
    if (!ClipScaledSpan(dst.Left, dst.Right, src.Left, src.Right, box.Left, box.Right,
                        Wrap(std::int64_t{dst.Right} - dst.Left),
                        Wrap(std::int64_t{src.Right} - src.Left)))
        return false;
    return ClipScaledSpan(dst.Top, dst.Bottom, src.Top, src.Bottom, box.Top, box.Bottom,
                          Wrap(std::int64_t{dst.Bottom} - dst.Top),
                          Wrap(std::int64_t{src.Bottom} - src.Top));
}

} // namespace dddd
