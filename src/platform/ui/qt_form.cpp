#include "platform/ui/qt_form.h"

#include "platform/ui/key_map.h"
#include "platform/ui/window_settle.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace ui {

// Key preview: the filter sits on the native window, which sees each key
// once before Qt hands it to the focused control.
class QtForm::KeyFilter : public QObject {
public:
    explicit KeyFilter(QtForm& form) : form_(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        return form_.DeliverKey(event->type() == QEvent::KeyPress, key->key(),
                                static_cast<int>(key->modifiers()), key->isAutoRepeat(),
                                key->nativeScanCode());
    }

private:
    QtForm& form_;
};

class QtForm::FormWidget : public QWidget {
public:
    explicit FormWidget(QtForm& form) : form_(form) {}

protected:
    bool event(QEvent* event) override {
        // The native window comes and goes with flag changes; the key
        // filter follows it.
        if ((event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) &&
            windowHandle())
            windowHandle()->installEventFilter(form_.keyFilter_.get());
        if (event->type() == QEvent::WindowDeactivate && form_.OnDeactivate)
            form_.OnDeactivate();
        return QWidget::event(event);
    }

    void closeEvent(QCloseEvent* event) override {
        bool accept = true;
        form_.HandleClose(accept);
        event->setAccepted(accept);
    }

private:
    QtForm& form_;
};

QtForm::QtForm(TComponent* owner)
    : TForm(owner), keyFilter_(std::make_unique<KeyFilter>(*this)), widget_(new FormWidget(*this)) {
    widget_->setAutoFillBackground(true);
    SetColor(color_);
}

QtForm::~QtForm() {
    // Components may still reach the window while they are released.
    DestroyComponents();
    delete widget_;
}

QWidget* QtForm::Widget() const {
    return widget_;
}
void* QtForm::Handle() const {
    return widget_;
}
int QtForm::ClientWidth() const {
    return widget_->width();
}
int QtForm::ClientHeight() const {
    return widget_->height();
}

void QtForm::SetClientWidth(int width) {
    widget_->setMinimumSize(0, 0);
    widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget_->resize(width, widget_->height());
    ApplySizeConstraints();
}

void QtForm::SetClientHeight(int height) {
    widget_->setMinimumSize(0, 0);
    widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget_->resize(widget_->width(), height);
    ApplySizeConstraints();
}

int QtForm::Left() const {
    return widget_->frameGeometry().x();
}
int QtForm::Top() const {
    return widget_->frameGeometry().y();
}
int QtForm::Width() const {
    return widget_->frameGeometry().width();
}
int QtForm::Height() const {
    return widget_->frameGeometry().height();
}
void QtForm::SetLeft(int left) {
    widget_->move(left, Top());
}
void QtForm::SetTop(int top) {
    widget_->move(Left(), top);
}

void QtForm::SetBounds(int left, int top, int width, int height) {
    // A full-screen window has no frame, even while the window system still
    // reports the one it had.
    const bool framed = !widget_->isFullScreen();
    const int frameWidth = framed ? Width() - ClientWidth() : 0;
    const int frameHeight = framed ? Height() - ClientHeight() : 0;
    widget_->move(left, top);
    widget_->setMinimumSize(0, 0);
    widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    widget_->resize(std::max(0, width - frameWidth), std::max(0, height - frameHeight));
    ApplySizeConstraints();
}

bool QtForm::Visible() const {
    return widget_->isVisible();
}

// A form that is shown is on the screen when this returns, and a hidden one
// has been let go by the window manager (or the time limit has passed).
void QtForm::Show() {
    widget_->show();
    widget_->raise();
    SettleShown(widget_);
}

void QtForm::Hide() {
    widget_->hide();
    SettleHidden(widget_);
}

void QtForm::BringToFront() {
    widget_->raise();
    widget_->activateWindow();
}

void QtForm::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    Qt::WindowFlags flags = Qt::Window;
    switch (style) {
    case TBorderStyle::bsNone:
        flags |= Qt::FramelessWindowHint;
        break;
    case TBorderStyle::bsDialog:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        break;
    case TBorderStyle::bsSingle:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        break;
    case TBorderStyle::bsSizeable:
        break;
    }
    // Changing the flags hides the window; it keeps its visibility as the
    // border changes.
    const bool visible = widget_->isVisible();
    const QPoint position = widget_->pos();
    if (visible && widget_->windowFlags() != flags)
        Hide();
    widget_->setWindowFlags(flags);
    widget_->move(position);
    ApplySizeConstraints();
    if (visible && !widget_->isVisible())
        Show();
}

TWindowState QtForm::WindowState() const {
    const Qt::WindowStates states = widget_->windowState();
    if (states & Qt::WindowMinimized)
        return TWindowState::wsMinimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void QtForm::SetWindowState(TWindowState state) {
    switch (state) {
    case TWindowState::wsNormal:
        widget_->setWindowState(Qt::WindowNoState);
        break;
    case TWindowState::wsMinimized:
        widget_->setWindowState(Qt::WindowMinimized);
        break;
    case TWindowState::wsMaximized:
        widget_->setWindowState(Qt::WindowMaximized);
        break;
    }
}

std::string QtForm::Caption() const {
    return widget_->windowTitle().toStdString();
}
void QtForm::SetCaption(const std::string& caption) {
    widget_->setWindowTitle(QString::fromStdString(caption));
}

void QtForm::SetColor(TColor color) {
    color_ = color;
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window,
                     QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    widget_->setPalette(palette);
}

void QtForm::CentreOnDesktop() {
    QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    widget_->move(area.x() + (area.width() - Width()) / 2,
                  area.y() + (area.height() - Height()) / 2);
}

bool QtForm::DeliverKey(bool press, int qtKey, int modifiers, bool autoRepeat, std::uint32_t nativeScanCode) {
    // X11 repeats a held key as release/press pairs; Windows sends only the
    // repeated presses, so the releases are dropped.
    if (!press && autoRepeat)
        return false;
    const auto qtModifiers = Qt::KeyboardModifiers::fromInt(modifiers);
    std::uint16_t key = VirtualKeyFromQt(qtKey, qtModifiers);
    static const bool evdevCodes = NativeKeyCodesAreEvdev();
    const std::uint8_t scanCode = ScanCodeFromQt(qtKey, nativeScanCode, evdevCodes);
    // A key whose symbol has no virtual key (a Cyrillic letter) still counts
    // by its place.
    if (key == 0 && scanCode == 0)
        return false;
    const TKeyEvent& handler = press ? OnKeyDown : OnKeyUp;
    if (!handler)
        return false;
    const std::uint16_t delivered = key;
    keyScanCode_ = scanCode;
    handler(key, ShiftStateFromQt(qtModifiers));
    keyScanCode_ = 0;
    return delivered != 0 && key == 0;
}

void QtForm::HandleClose(bool& accept) {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        OnClose(action);
    switch (action) {
    case TCloseAction::caNone:
        accept = false;
        break;
    case TCloseAction::caMinimize:
        accept = false;
        widget_->showMinimized();
        break;
    case TCloseAction::caHide:
    case TCloseAction::caFree:
        // The form object belongs to its creator; freeing it here would pull
        // it from under that owner, so a freed form is hidden like a hidden one.
        accept = true;
        break;
    }
}

void QtForm::ApplySizeConstraints() {
    if (borderStyle_ == TBorderStyle::bsDialog || borderStyle_ == TBorderStyle::bsSingle) {
        widget_->setFixedSize(widget_->size());
    } else {
        widget_->setMinimumSize(0, 0);
        widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

} // namespace ui
