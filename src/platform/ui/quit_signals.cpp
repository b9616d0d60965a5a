#include "platform/ui/quit_signals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ui {

namespace {

constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP};
int pipeEnds[2] = {-1, -1};
volatile std::sig_atomic_t pending = 0;

extern "C" void OnQuitSignal(int signal) {
    if (pending) {
        // Still not handled: the program is stuck somewhere; end it.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    pending = signal;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return; // the signals keep their default: they end the program
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Read(); });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    if (!notifier_)
        return;
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
    pending = 0;
}

void QuitSignals::Read() {
    unsigned char byte = 0;
    while (read(pipeEnds[0], &byte, 1) == 1) {
        if (received_ == 0)
            received_ = byte;
        if (onSignal_)
            onSignal_(byte);
    }
}

} // namespace ui
