#pragma once
// The choices the launcher's option boxes offer, as a run reads them: the
// form's check boxes keep their own names, and this is the one place that
// says which box means what.

namespace game {

struct LauncherOptions {
    bool FullScreen = true;
    bool Hard = false;
    bool CoupleMode = false;
    bool SystemMemorySurfaces = false; // the surfaces kept out of video memory
};

} // namespace game
