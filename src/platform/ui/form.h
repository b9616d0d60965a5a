#pragma once
// A form as the components see it: a window with a handle, a client area and
// a creation event that a component may intercept. The Qt implementation
// lives beside it (qt_form.h); components use only this interface.

#include "platform/ui/component.h"

#include <functional>

namespace ui {

using TNotifyEvent = std::function<void()>;

class TForm : public TComponent {
public:
    using TComponent::TComponent;

    // The creation event: fired once, after every owned component's Loaded.
    // A component may save the form's handler and install its own.
    TNotifyEvent OnCreate;

    // The native window (a QWidget* in the Qt implementation).
    virtual void* Handle() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;

protected:
    // Called by the concrete form's constructor after its components exist
    // and their settings are set: each component's Loaded, then OnCreate.
    void FinishLoading();
};

} // namespace ui
