#pragma once
// Lets SIGINT, SIGTERM and SIGHUP end the program as closing its window does:
// the signal handler only writes to a pipe, and the event loop, which the
// game's frames keep running, hands the signal on. A second signal ends the
// program at once, for a program that does not end after the first.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace ui {

class QuitSignals : public QObject {
public:
    explicit QuitSignals(std::function<void(int signal)> onSignal);
    ~QuitSignals() override; // the default handlers come back
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // The first signal received, or 0.
    int Received() const { return received_; }

private:
    void Read();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};

} // namespace ui
