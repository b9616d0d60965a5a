#pragma once
// A clipper: limits blits onto a surface to a window's visible client area
// (on the primary surface, which stands for the desktop) or to a list of
// rectangles.

#include "platform/ddraw/ddraw_interfaces.h"

#include <vector>

namespace ddraw {

class SoftwareClipper final : public IDirectDrawClipper {
public:
    HRESULT QueryInterface(const GUID& iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetHWnd(HWND* window) override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;
    HRESULT SetClipList(const RECT* rects, DWORD count, DWORD flags) override;
    HRESULT GetClipList(const RECT* within, RECT* rects, DWORD* count) override;

    HWND Window() const { return window_; }
    // The rectangles blits may write right now; false when the clipper has
    // neither a window nor a list.
    bool CurrentRects(std::vector<RECT>& rects) const;

private:
    ~SoftwareClipper() override = default;

    ULONG refs_ = 1;
    HWND window_ = nullptr;
    std::vector<RECT> list_;
    bool hasList_ = false;
};

using base::Intersect;
using base::IsEmpty;

} // namespace ddraw
