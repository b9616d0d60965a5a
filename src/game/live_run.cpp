#include "game/live_run.h"

#include "game/main_form.h"

#include <ctime>

namespace game {

LiveRun::LiveRun(Tfrm_main& form) : LiveRun(form, form.Options()) {}

// The partners draw from a seed of their own, taken from the world's so that
// a run is the same from the same start.
LiveRun::LiveRun(Tfrm_main& form, const LauncherOptions& options)
    : devices_(form), seated_(devices_, form.SeatChoice->Choice(), form.GameWorld().RandomSeed()),
      play_(form.GameWorld(), options.CoupleMode, options.Hard, seated_, PIMURU_VERSION,
            std::time(nullptr)) {}

} // namespace game
