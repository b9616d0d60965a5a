#include "platform/ui/qt_desktop.h"

#include "platform/ui/event_pump.h"
#include "platform/ui/screen_depth.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QMessageBox>
#include <QWidget>

namespace ui {

QtDesktop::~QtDesktop() {
    while (cursorCount_ < 0)
        ShowCursor(true);
}

int QtDesktop::ShowCursor(bool show) {
    // The pointer hides when the count drops below 0 and shows again when it
    // climbs back to 0, so nested hide/show pairs balance.
    if (show) {
        ++cursorCount_;
        if (cursorCount_ == 0 && qGuiApp)
            QGuiApplication::restoreOverrideCursor();
    } else {
        --cursorCount_;
        if (cursorCount_ == -1 && qGuiApp)
            QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    }
    return cursorCount_;
}

void QtDesktop::SwitchImeOff(void* window) {
    auto* widget = static_cast<QWidget*>(window);
    if (!widget)
        return;
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
    for (QWidget* child : widget->findChildren<QWidget*>())
        child->setAttribute(Qt::WA_InputMethodEnabled, false);
    if (qGuiApp) {
        QGuiApplication::inputMethod()->reset();
        QGuiApplication::inputMethod()->hide();
    }
}

void QtDesktop::ShowMessage(const std::string& caption, const std::string& text, MessageKind kind) {
    // A lone carriage return breaks the line, as in a Windows message box.
    QString body = QString::fromStdString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox::Icon icon = QMessageBox::Information;
    if (kind == MessageKind::Warning)
        icon = QMessageBox::Warning;
    else if (kind == MessageKind::Error)
        icon = QMessageBox::Critical;
    QMessageBox box(icon, QString::fromStdString(caption), body, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtDesktop::ProcessMessages() {
    ProcessPendingEvents();
}
void QtDesktop::WaitForMessages(std::uint32_t maxWaitMs) {
    WaitForEvents(maxWaitMs);
}
int QtDesktop::ScreenBitsPerPixel() const {
    return ui::ScreenBitsPerPixel();
}

} // namespace ui
