#include "platform/ui/qt_backends.h"

#include "platform/ui/fixed_window_sizes.h"
#include "platform/ui/fonts.h"
#include "platform/ui/qt_bitmap_decoder.h"
#include "platform/ui/qt_desktop.h"
#include "platform/ui/qt_device_context.h"
#include "platform/ui/qt_presenter.h"
#include "platform/ui/qt_window_system.h"

namespace ui {

struct QtBackends::Parts {
    QtDesktop desktop;
    QtBitmapDecoder decoder;
    QtWindowSystem windowSystem;
    QtPresenter presenter;
    QtDeviceContextFactory deviceContexts;
    FixedWindowSizes fixedWindowSizes;
    ui::Desktop* previousDesktop = nullptr;
    BitmapDecoder* previousDecoder = nullptr;
};

QtBackends::QtBackends() : parts_(std::make_unique<Parts>()) {
    InstallFontSubstitutions();
    parts_->previousDesktop = SetDesktop(&parts_->desktop);
    parts_->previousDecoder = SetBitmapDecoder(&parts_->decoder);
    ddraw::SetWindowSystem(&parts_->windowSystem);
    ddraw::SetPresenter(&parts_->presenter);
    ddraw::SetDeviceContextFactory(&parts_->deviceContexts);
}

QtBackends::~QtBackends() {
    ddraw::SetDeviceContextFactory(nullptr);
    ddraw::SetPresenter(nullptr);
    ddraw::SetWindowSystem(nullptr);
    SetBitmapDecoder(parts_->previousDecoder);
    SetDesktop(parts_->previousDesktop);
}

QtDesktop& QtBackends::Desktop() {
    return parts_->desktop;
}

std::unique_ptr<QtBackends> InstallQtBackends() {
    return std::make_unique<QtBackends>();
}

} // namespace ui
