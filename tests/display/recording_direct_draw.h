#pragma once
// A DirectDraw double that forwards to the software object and writes each
// call on the DirectDraw object, with the values that matter, into a list,
// so that tests can check the steps of a set-up and the flags it asks for.

#include "platform/ddraw/ddraw.h"

#include <cstdio>
#include <string>
#include <vector>

namespace displaytest {

inline std::string Hex(ddraw::DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

class RecordingDirectDraw : public ddraw::IDirectDraw2 {
public:
    RecordingDirectDraw(ddraw::IDirectDraw* real, ddraw::IDirectDraw2* real2,
                        std::vector<std::string>* calls)
        : real_(real), real2_(real2), calls_(calls) {}

    // Routes DirectDrawCreate through a new recorder for each object made.
    static void Install(std::vector<std::string>* calls) {
        ddraw::SetDirectDrawCreateOverride([calls](const ddraw::GUID* guid, ddraw::IDirectDraw** object) {
            ddraw::IDirectDraw* real = nullptr;
            ddraw::HRESULT result = ddraw::CreateSoftwareDirectDraw(guid, &real);
            calls->push_back("DirectDrawCreate");
            *object = result == ddraw::DD_OK ? new RecordingDirectDraw(real, nullptr, calls) : nullptr;
            return result;
        });
    }
    static void Uninstall() { ddraw::SetDirectDrawCreateOverride(nullptr); }

    ddraw::HRESULT QueryInterface(const ddraw::GUID& iid, void** object) override {
        calls_->push_back("QueryInterface");
        if (iid == ddraw::IID_IDirectDraw2) {
            ddraw::IDirectDraw2* second = nullptr;
            ddraw::HRESULT result = real_->QueryInterface(iid, reinterpret_cast<void**>(&second));
            if (result != ddraw::DD_OK)
                return result;
            *object = static_cast<ddraw::IDirectDraw2*>(new RecordingDirectDraw(second, second, calls_));
            return ddraw::DD_OK;
        }
        return real_->QueryInterface(iid, object);
    }
    ddraw::ULONG AddRef() override { return ++refs_; }
    ddraw::ULONG Release() override {
        calls_->push_back(real2_ ? "Release DirectDraw2" : "Release DirectDraw");
        const ddraw::ULONG left = --refs_;
        if (left == 0) {
            real_->Release();
            delete this;
        }
        return left;
    }
    ddraw::HRESULT CreateClipper(ddraw::DWORD flags, ddraw::IDirectDrawClipper** clipper,
                                 ddraw::IUnknown* outer) override {
        calls_->push_back("CreateClipper");
        return real_->CreateClipper(flags, clipper, outer);
    }
    ddraw::HRESULT CreatePalette(ddraw::DWORD flags, const ddraw::PALETTEENTRY* entries,
                                 ddraw::IDirectDrawPalette** palette, ddraw::IUnknown* outer) override {
        calls_->push_back("CreatePalette " + Hex(flags));
        return real_->CreatePalette(flags, entries, palette, outer);
    }
    ddraw::HRESULT CreateSurface(const ddraw::DDSURFACEDESC* desc, ddraw::IDirectDrawSurface** surface,
                                 ddraw::IUnknown* outer) override {
        calls_->push_back("CreateSurface " + Hex(desc->dwFlags) + " " + Hex(desc->ddsCaps.dwCaps));
        return real_->CreateSurface(desc, surface, outer);
    }
    ddraw::HRESULT EnumDisplayModes(ddraw::DWORD flags, const ddraw::DDSURFACEDESC* match, void* context,
                                    ddraw::LPDDENUMMODESCALLBACK callback) override {
        calls_->push_back("EnumDisplayModes");
        return real_->EnumDisplayModes(flags, match, context, callback);
    }
    ddraw::HRESULT GetCaps(ddraw::DDCAPS* driverCaps, ddraw::DDCAPS* emulationCaps) override {
        calls_->push_back("GetCaps");
        return real_->GetCaps(driverCaps, emulationCaps);
    }
    ddraw::HRESULT GetDisplayMode(ddraw::DDSURFACEDESC* desc) override { return real_->GetDisplayMode(desc); }
    ddraw::HRESULT RestoreDisplayMode() override {
        calls_->push_back("RestoreDisplayMode");
        return real_->RestoreDisplayMode();
    }
    ddraw::HRESULT SetCooperativeLevel(ddraw::HWND window, ddraw::DWORD flags) override {
        calls_->push_back("SetCooperativeLevel " + Hex(flags));
        return real_->SetCooperativeLevel(window, flags);
    }
    ddraw::HRESULT SetDisplayMode(ddraw::DWORD width, ddraw::DWORD height, ddraw::DWORD bits,
                                  ddraw::DWORD refreshRate, ddraw::DWORD flags) override {
        calls_->push_back("SetDisplayMode " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                          std::to_string(bits));
        return real_->SetDisplayMode(width, height, bits, refreshRate, flags);
    }
    ddraw::HRESULT WaitForVerticalBlank(ddraw::DWORD flags, void* event) override {
        calls_->push_back("WaitForVerticalBlank " + Hex(flags));
        return ddraw::DD_OK; // no waiting in tests
        (void)event;
    }
    ddraw::HRESULT GetAvailableVidMem(const ddraw::DDSCAPS* caps, ddraw::DWORD* total,
                                      ddraw::DWORD* free) override {
        return real2_ ? real2_->GetAvailableVidMem(caps, total, free) : ddraw::E_NOTIMPL;
    }

private:
    ddraw::IDirectDraw* real_;
    ddraw::IDirectDraw2* real2_;
    std::vector<std::string>* calls_;
    ddraw::ULONG refs_ = 1;
};

} // namespace displaytest
