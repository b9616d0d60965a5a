// The game's frame loop with nothing drawn and nothing shown: the pacer's
// wait, which handles the window's messages, then the game's presenter's
// wait for the vertical blank (none: a window's pixels go to the screen as
// they are sent), in a 640 by 480 window. What it costs is the least any frame of the
// game costs on this machine; measure_program.sh prints it beside the game's
// own processor time. In a virtual machine each sleep and wake-up is costly,
// and the caches are cold after it.
//   frame_loop [seconds, default 20]

#include "base/tick_count.h"
#include "game/frame_pacer.h"
#include "platform/ddraw/presenter.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/qt_presenter.h"
#include "support/processor_model.h"

#include <QApplication>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    ui::PreferQtEventLoop(); // as the game does
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: frame_loop [seconds > 0]\n");
        return 2;
    }
    QWidget window;
    window.resize(640, 480);
    window.show();
    ui::QtPresenter presenter;
    ddraw::SetPresenter(&presenter);
    game::FramePacer pacer(base::GetTickCount, game::FramePacer::SleepThenHandle(ui::ProcessPendingEvents));
    const auto frame = [&pacer] {
        pacer.WaitFrame();
        ddraw::CurrentPresenter().WaitForVerticalBlank();
    };
    // A second to settle: the window shows, the first frames set the pace.
    for (const double until = Now() + 1.0; Now() < until;)
        frame();
    const double start = Now();
    const double used = ProcessorSeconds();
    long frames = 0;
    while (Now() - start < seconds) {
        frame();
        ++frames;
    }
    const double elapsed = Now() - start;
    std::printf("frame loop alone (nothing drawn): %.2f%% of one core, %.1f frames a second\n",
                100.0 * (ProcessorSeconds() - used) / elapsed, static_cast<double>(frames) / elapsed);
    std::printf("processor: %s\n", benchsupport::ProcessorModel().c_str());
    return 0;
}
