#pragma once
// Installs every Qt back end at once: desktop services, BMP decoding, font
// faces, and the window system, presenter and device contexts of the
// software DirectDraw. Made after the QApplication and destroyed before it
// (the screen saver switch still talks to the session bus when it goes);
// removes them again when destroyed.

#include <memory>

namespace ui {

class QtDesktop;

class QtBackends {
public:
    QtBackends();
    ~QtBackends();
    QtBackends(const QtBackends&) = delete;
    QtBackends& operator=(const QtBackends&) = delete;

    QtDesktop& Desktop();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

std::unique_ptr<QtBackends> InstallQtBackends();

} // namespace ui
