#pragma once
// The desktop services over Qt: pointer counter, input method, message box,
// event pump, screen saver switch and colour depth.

#include "platform/component/desktop.h"
#include "platform/ui/screen_saver_switch.h"

namespace ui {

class QtDesktop : public Desktop {
public:
    QtDesktop() = default;
    ~QtDesktop() override;

    int ShowCursor(bool show) override;
    void SwitchImeOff(void* window) override;
    void ShowMessage(const std::string& caption, const std::string& text,
                     MessageKind kind) override;
    void ProcessMessages() override;
    void WaitForMessages(std::uint32_t maxWaitMs) override;
    bool ScreenSaverActive() const override { return screenSaver_.Active(); }
    void SetScreenSaverActive(bool active) override { screenSaver_.SetActive(active); }
    int ScreenBitsPerPixel() const override;

    bool ScreenSaverInhibited() const { return screenSaver_.Inhibiting(); }

private:
    int cursorCount_ = 0;
    ScreenSaverSwitch screenSaver_;
};

} // namespace ui
