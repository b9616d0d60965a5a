// The installed platform back ends and settings, with the defaults that let
// the software DirectDraw run without any window system: one virtual screen,
// a presenter that shows nothing, and software device contexts.

#include "platform/ddraw/device_context.h"
#include "platform/ddraw/presenter.h"
#include "platform/ddraw/software_device_context.h"
#include "platform/ddraw/software_settings.h"
#include "platform/ddraw/window_system.h"

#include <chrono>
#include <thread>

namespace ddraw {

namespace {

class VirtualScreen final : public WindowSystem {
public:
    std::vector<ScreenInfo> Screens() const override {
        return {ScreenInfo{"Virtual screen", "virtual", 1920, 1080, 32}};
    }
    bool ClientRectOnScreen(HWND, RECT*) const override { return false; }
    bool IsWindowVisible(HWND) const override { return false; }
};

class NowherePresenter final : public Presenter {
public:
    void PresentWindow(HWND, const PixelView&, const RECT&, const RECT&) override {}
    void EnterFullScreen(HWND, int, LONG, LONG, DWORD) override {}
    void PresentFullScreen(HWND, const PixelView&) override {}
    void LeaveFullScreen(HWND) override {}
};

class SoftwareContextFactory final : public DeviceContextFactory {
public:
    std::unique_ptr<DeviceContext> Create(const PixelView& surface) override {
        return std::make_unique<SoftwareDeviceContext>(surface);
    }
};

VirtualScreen gVirtualScreen;
NowherePresenter gNowherePresenter;
SoftwareContextFactory gSoftwareContextFactory;

WindowSystem* gWindowSystem = nullptr;
Presenter* gPresenter = nullptr;
DeviceContextFactory* gDeviceContextFactory = nullptr;
SoftwareSettings gSettings;

} // namespace

void Presenter::FinishPresenting(HWND) {}

void Presenter::PrimaryPixelsGoing(const BYTE*) {}

BYTE* Presenter::AllocatePrimaryPixels(std::size_t) {
    return nullptr;
}

void Presenter::FreePrimaryPixels(BYTE*) {}

void Presenter::WaitForVerticalBlank() {
    using namespace std::chrono;
    constexpr auto kFrame = duration_cast<steady_clock::duration>(duration<double>(1.0 / 60.0));
    const auto now = steady_clock::now().time_since_epoch();
    const auto next = (now / kFrame + 1) * kFrame;
    std::this_thread::sleep_until(steady_clock::time_point(next));
}

void SetWindowSystem(WindowSystem* windowSystem) {
    gWindowSystem = windowSystem;
}
WindowSystem& CurrentWindowSystem() {
    return gWindowSystem ? *gWindowSystem : static_cast<WindowSystem&>(gVirtualScreen);
}

void SetPresenter(Presenter* presenter) {
    gPresenter = presenter;
}
Presenter& CurrentPresenter() {
    return gPresenter ? *gPresenter : static_cast<Presenter&>(gNowherePresenter);
}

void SetDeviceContextFactory(DeviceContextFactory* factory) {
    gDeviceContextFactory = factory;
}
DeviceContextFactory& CurrentDeviceContextFactory() {
    return gDeviceContextFactory ? *gDeviceContextFactory
                                 : static_cast<DeviceContextFactory&>(gSoftwareContextFactory);
}

void SetSoftwareSettings(const SoftwareSettings& settings) {
    gSettings = settings;
}
SoftwareSettings CurrentSoftwareSettings() {
    return gSettings;
}

} // namespace ddraw
