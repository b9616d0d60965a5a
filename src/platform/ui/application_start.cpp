#include "platform/ui/application_start.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace ui {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Qt's messages while the application object is being made: held back, since
// a failure there is told in one line of our own.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
// Qt's connection to the X server reads events on a thread of its own.
std::mutex heldMutex;
std::vector<HeldMessage> heldMessages;
QtMessageHandler previousHandler = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // Qt ends the program when no platform plugin could be started, with
    // advice to reinstall that does not help.
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        const std::string line = NoWindowSystemLine(WindowSystemSettingsFromEnvironment());
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
        // Half-made Qt objects must not be torn down by exit handlers.
        std::_Exit(1);
    }
    if (type == QtFatalMsg) {
        previousHandler(type, context, text);
        return;
    }
    const std::lock_guard lock(heldMutex);
    heldMessages.push_back({type, context.category ? context.category : "", text});
}

void PassOnHeldMessages() {
    const std::lock_guard lock(heldMutex);
    for (const HeldMessage& held : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        previousHandler(held.type, context, held.text);
    }
    heldMessages.clear();
}

std::string X11Part(const std::string& display) {
    if (display.empty())
        return "no X11 display (DISPLAY is not set)";
    return "the X11 display \"" + display + "\" cannot be opened";
}

std::string WaylandPart(const std::string& display) {
    if (display.empty())
        return "no Wayland display (WAYLAND_DISPLAY is not set)";
    return "the Wayland display \"" + display + "\" cannot be reached";
}

} // namespace

WindowSystemSettings WindowSystemSettingsFromEnvironment() {
    return {Environment("QT_QPA_PLATFORM"), Environment("DISPLAY"), Environment("WAYLAND_DISPLAY")};
}

std::string NoWindowSystemLine(const WindowSystemSettings& settings) {
    std::string missing;
    const std::string& platform = settings.platform;
    if (platform.empty()) {
        // Qt tries Wayland and X11, whichever the session names.
        missing = X11Part(settings.x11Display) + " and " + WaylandPart(settings.waylandDisplay);
    } else if (platform.starts_with("xcb")) {
        missing = X11Part(settings.x11Display);
    } else if (platform.starts_with("wayland")) {
        missing = WaylandPart(settings.waylandDisplay);
    } else {
        missing = "Qt's platform \"" + platform + "\" (QT_QPA_PLATFORM) cannot be started";
    }
    return "pimuru: cannot open a window: " + missing;
}

std::unique_ptr<QApplication> OpenApplication(int& argc, char** argv) {
    previousHandler = qInstallMessageHandler(HoldMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    PassOnHeldMessages();
    return application;
}

} // namespace ui
