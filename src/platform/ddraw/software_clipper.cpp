#include "platform/ddraw/software_clipper.h"

#include "platform/ddraw/ddraw_errors.h"
#include "platform/ddraw/failure_injection.h"
#include "platform/ddraw/software_object.h"
#include "platform/ddraw/window_system.h"

#include <algorithm>

namespace ddraw {

HRESULT SoftwareClipper::QueryInterface(const GUID& iid, void** object) {
    if (!object) {
        return DDERR_INVALIDPARAMS;
    }
    if (iid == IID_IDirectDrawClipper || iid == IID_SoftwareClipper) {
        AddRef();
        *object = static_cast<IDirectDrawClipper*>(this);
        return DD_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SoftwareClipper::AddRef() {
    return ++refs_;
}

ULONG SoftwareClipper::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT SoftwareClipper::GetHWnd(HWND* window) {
    if (!window) {
        return DDERR_INVALIDPARAMS;
    }
    *window = window_;
    return DD_OK;
}

HRESULT SoftwareClipper::SetHWnd(DWORD flags, HWND window) {
    if (const HRESULT injected = EnterOperation(Operation::ClipperSetHWnd); injected != DD_OK) {
        return injected;
    }
    if (flags != 0) {
        return DDERR_INVALIDPARAMS;
    }
    window_ = window;
    list_.clear();
    hasList_ = false;
    return DD_OK;
}

HRESULT SoftwareClipper::SetClipList(const RECT* rects, DWORD count, DWORD flags) {
    if (flags != 0 || (count > 0 && !rects)) {
        return DDERR_INVALIDPARAMS;
    }
    if (window_) {
        return DDERR_CLIPPERISUSINGHWND;
    }
    list_.assign(rects, rects + count);
    hasList_ = rects != nullptr;
    return DD_OK;
}

bool SoftwareClipper::CurrentRects(std::vector<RECT>& rects) const {
    rects.clear();
    if (window_) {
        const WindowSystem& windows = CurrentWindowSystem();
        RECT client;
        if (windows.IsWindowVisible(window_) && windows.ClientRectOnScreen(window_, &client) &&
            !IsEmpty(client)) {
            rects.push_back(client);
        }
        return true;
    }
    if (hasList_) {
        for (const RECT& r : list_) {
            if (!IsEmpty(r)) {
                rects.push_back(r);
            }
        }
        return true;
    }
    return false;
}

HRESULT SoftwareClipper::GetClipList(const RECT* within, RECT* rects, DWORD* count) {
    if (!count) {
        return DDERR_INVALIDPARAMS;
    }
    std::vector<RECT> current;
    if (!CurrentRects(current)) {
        return DDERR_NOCLIPLIST;
    }
    if (within) {
        std::vector<RECT> cut;
        for (const RECT& r : current) {
            const RECT part = Intersect(r, *within);
            if (!IsEmpty(part)) {
                cut.push_back(part);
            }
        }
        current.swap(cut);
    }
    if (rects) {
        const DWORD n = std::min<DWORD>(*count, static_cast<DWORD>(current.size()));
        std::copy_n(current.begin(), n, rects);
    }
    *count = static_cast<DWORD>(current.size());
    return DD_OK;
}

} // namespace ddraw
