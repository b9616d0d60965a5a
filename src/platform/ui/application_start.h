#pragma once
// Making the application object, and the one line a player gets instead of
// Qt's abort when there is no window system to open a window on.

#include <QApplication>

#include <memory>
#include <string>

namespace ui {

// What the program would open its windows on: the Qt platform asked for
// (QT_QPA_PLATFORM, empty to let Qt choose) and the displays named by
// DISPLAY and WAYLAND_DISPLAY (empty when not set).
struct WindowSystemSettings {
    std::string platform;
    std::string x11Display;
    std::string waylandDisplay;
};

WindowSystemSettings WindowSystemSettingsFromEnvironment();

// One line saying what is missing (an X11 or Wayland display, or the Qt
// platform asked for), without a line end.
std::string NoWindowSystemLine(const WindowSystemSettings& settings);

// The application object. When no window system can be opened, writes
// NoWindowSystemLine to stderr and ends the program with status 1; Qt's own
// warnings of that attempt are kept back then, and passed on otherwise.
// `argc` must outlive the application.
std::unique_ptr<QApplication> OpenApplication(int& argc, char** argv);

} // namespace ui
