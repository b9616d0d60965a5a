#pragma once
// One game run, from the start button's click to the launcher's return: the
// launcher window becomes the 640 × 480 game screen, the title shows, music
// and pictures load, frames run until a quit is asked for, and everything
// the run made is let go again. A run played here is kept as a replay when
// it ends; a replay is watched through this same run.

#include "game/back_buffer_canvas.h"
#include "game/run_driver.h"
#include "rules/world_types.h"
#include "sound/wave.h"
#include "surfaces/surface.h"

#include <QPoint>

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace play {
class ReplayPlayback;
class WatchKeys;
} // namespace play

namespace ui {
class Desktop;
}

namespace game {

class Tfrm_main;
struct OnlineConnection;

class GameRun {
public:
    static constexpr int kSoundCount = 7;

    // A run played on this machine's devices.
    explicit GameRun(Tfrm_main& form);
    // Watching a replay; `keys` say whether its line is shown.
    GameRun(Tfrm_main& form, play::ReplayPlayback& watching, const play::WatchKeys& keys);
    // A run played online with the partner at the other end of `connection`.
    GameRun(Tfrm_main& form, OnlineConnection& connection);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // The whole run. Any error on the way shows a message and ends the
    // program instead of returning to the launcher.
    void Execute();

private:
    // Makes the run's driver once the game screen shows its pictures, so that
    // the world and the partner's clock start as the first frame nears.
    using MakeDriver = std::function<std::unique_ptr<RunDriver>()>;
    // partnerWaiting: no box may wait for the player's click before the run.
    GameRun(Tfrm_main& form, MakeDriver makeDriver, bool partnerWaiting);

    // false when the desktop's colour depth refuses the run.
    bool StartUp();
    void LoadSounds();
    void ReshapeForGame();
    bool SetUpDisplay();
    void ShowTitle();
    void LoadPictures();
    void RunFrames();
    void EndRun();
    // Writes the run played into the replays folder; a failure is logged.
    void SaveRecording();
    void RestoreLauncher();
    void Fail();

    Tfrm_main& form_;
    ui::Desktop& desktop_;
    BackBufferCanvas canvas_;
    std::array<std::unique_ptr<ddsd::TDDSDWaveData>, kSoundCount> sounds_;
    std::array<std::unique_ptr<dddd::TDDDDSurface>, 4> sheets_;
    int savedClientWidth_ = 0;
    int savedClientHeight_ = 0;
    QPoint savedPlace_; // of the launcher's inside on the desktop
    MakeDriver makeDriver_;
    bool partnerWaiting_;
    std::unique_ptr<RunDriver> driver_; // from start-up until the run is kept
    std::string endMessage_;            // why the run ended, for the player
};

} // namespace game
