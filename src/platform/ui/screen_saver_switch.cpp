#include "platform/ui/screen_saver_switch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace ui {

namespace {

const char* const kService = "org.freedesktop.ScreenSaver";
const char* const kPath = "/org/freedesktop/ScreenSaver";
const char* const kInterface = "org.freedesktop.ScreenSaver";

// Only a bus that has the service is asked; otherwise every call would wait
// for a D-Bus timeout.
bool ServicePresent(QDBusConnection& bus) {
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
}

// Plain messages: an interface object would first ask the service to
// describe itself.
QDBusMessage MethodCall(const char* method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                          QString::fromLatin1(kInterface),
                                          QString::fromLatin1(method));
}

} // namespace

ScreenSaverSwitch::~ScreenSaverSwitch() {
    // A held-back screen saver never outlives the program's switch.
    SetActive(true);
}

void ScreenSaverSwitch::SetActive(bool active) {
    active_ = active;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!active && !cookie_) {
        if (!ServicePresent(bus))
            return;
        QDBusMessage call = MethodCall("Inhibit");
        call << QStringLiteral("pimuru") << QStringLiteral("game running");
        QDBusReply<std::uint32_t> reply = bus.call(call);
        if (reply.isValid())
            cookie_ = reply.value();
    } else if (active && cookie_) {
        const std::uint32_t cookie = *cookie_;
        cookie_.reset();
        if (!bus.isConnected())
            return;
        QDBusMessage call = MethodCall("UnInhibit");
        call << cookie;
        bus.call(call);
    }
}

} // namespace ui
