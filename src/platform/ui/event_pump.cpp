#include "platform/ui/event_pump.h"

#include <QCoreApplication>
#include <QTimer>

namespace ui {

void ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PreferQtEventLoop() {
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

void WaitForEvents(std::uint32_t maxWaitMs) {
    if (maxWaitMs == 0) {
        ProcessPendingEvents();
        return;
    }
    // The timer's own event ends the wait at the deadline when nothing else
    // arrives first.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(static_cast<int>(std::min<std::uint32_t>(maxWaitMs, 24u * 3600u * 1000u)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace ui
