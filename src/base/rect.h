#pragma once
// The rectangle all layers share: Left, Top, Right, Bottom, signed 32-bit,
// Right and Bottom exclusive.

#include <cstdint>

namespace base {

struct Rect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect MakeRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return Rect{left, top, right, bottom};
}

inline bool IsEmpty(const Rect& r) {
    return r.Left >= r.Right || r.Top >= r.Bottom;
}

// The part the two rectangles share, empty (all zero) when none.
inline Rect Intersect(const Rect& a, const Rect& b) {
    const Rect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                 a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return IsEmpty(r) ? Rect{} : r;
}

// A width × height picture scaled to fit inside `area`, its aspect kept,
// centred: it fills the whole width or the whole height. Empty when either
// has no size.
inline Rect FitInside(std::int32_t width, std::int32_t height, const Rect& area) {
    if (width <= 0 || height <= 0 || IsEmpty(area))
        return Rect{};
    // 64-bit products: the one that fills the other side decides.
    const std::int64_t byWidth = static_cast<std::int64_t>(area.Width()) * height;
    const std::int64_t byHeight = static_cast<std::int64_t>(area.Height()) * width;
    const std::int32_t w = byWidth <= byHeight ? area.Width() : static_cast<std::int32_t>(byHeight / height);
    const std::int32_t h = byWidth <= byHeight ? static_cast<std::int32_t>(byWidth / width) : area.Height();
    const std::int32_t left = area.Left + (area.Width() - w) / 2;
    const std::int32_t top = area.Top + (area.Height() - h) / 2;
    return Rect{left, top, left + w, top + h};
}

} // namespace base
