#include "game/online_progress.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace game {

namespace {

// A wait this short needs no count of seconds.
constexpr qint64 kCountFromSeconds = 2;

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : window_(parent) {
    window_.setObjectName(QStringLiteral("OnlineProgress"));
    window_.setWindowTitle(QStringLiteral("オンライン"));
    auto* layout = new QVBoxLayout(&window_);
    label_ = new QLabel(&window_);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long line (a refusal naming both versions) wraps instead of
    // running the window off a small screen.
    label_->setWordWrap(true);
    auto* cancel = new QPushButton(QStringLiteral("やめる"), &window_);
    layout->addWidget(label_);
    layout->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled_ = true; });
    QObject::connect(&window_, &QDialog::rejected, [this] { cancelled_ = true; });
    since_.start();
    window_.show();
}

void ProgressWindow::Say(const std::string& text) {
    text_ = text;
    since_.restart();
    secondsShown_ = 0;
    Show();
    QCoreApplication::processEvents();
}

bool ProgressWindow::Cancelled() {
    const qint64 seconds = since_.elapsed() / 1000;
    if (seconds != secondsShown_) {
        secondsShown_ = seconds;
        Show();
    }
    QCoreApplication::processEvents();
    return cancelled_;
}

void ProgressWindow::Linger(int ms) {
    QElapsedTimer shown;
    shown.start();
    // The partner is connected: giving up now would only leave them waiting.
    while (shown.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void ProgressWindow::Show() {
    std::string text = text_;
    if (secondsShown_ >= kCountFromSeconds) {
        text += "\n(" + std::to_string(secondsShown_) + " 秒経過)";
    }
    label_->setText(QString::fromStdString(text));
    FitOnScreen();
}

// The text keeps its lines as they are up to two thirds of the screen's
// width and wraps beyond; the window takes the size its text needs and
// moves back inside the screen where it grew past an edge.
void ProgressWindow::FitOnScreen() {
    const QScreen* screen = window_.screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QMargins margins = window_.layout()->contentsMargins();
    const int lines = QFontMetrics(label_->font()).size(0, label_->text()).width();
    const int most = area.width() * 2 / 3 - margins.left() - margins.right();
    label_->setMinimumWidth(area.isEmpty() ? lines : std::max(0, std::min(lines, most)));
    window_.adjustSize();
    if (area.isEmpty())
        return;
    const QRect frame = window_.frameGeometry();
    window_.move(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())),
                 std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
}

} // namespace game
