#pragma once
// The scalar types, identifiers and rectangle of the DirectDraw stand-in,
// named as the Windows headers name them so that callers read like the
// code they stand in for.

#include "base/guid.h"
#include "base/rect.h"

#include <cstdint>

namespace ddraw {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using BOOL = std::int32_t;
using HRESULT = std::int32_t;

// A Windows colour reference: 0x00BBGGRR, red in the low byte.
using COLORREF = std::uint32_t;

// An opaque window handle; the window system back end gives it meaning
// (the Qt back end passes the form's native handle).
using HWND = void*;

// Left, Top, Right, Bottom; Right and Bottom exclusive.
using RECT = base::Rect;

using GUID = base::GUID;

inline constexpr bool Succeeded(HRESULT result) {
    return result >= 0;
}
inline constexpr bool Failed(HRESULT result) {
    return result < 0;
}

} // namespace ddraw
