#pragma once
// One game run, from the start button's click to the launcher's return: the
// launcher window becomes the 640 × 480 game screen, the title shows, music
// and pictures load, frames run until a quit is asked for, and everything
// the run made is let go again. A run played here is kept as a replay when
// it ends; a replay is watched through this same run.

#include "game/back_buffer_canvas.h"
#include "game/device_input.h"
#include "game/online_connect.h"
#include "online/steady_clock.h"
#include "play/live_play.h"
#include "play/replay_playback.h"
#include "play/seated_input.h"
#include "play/watch_keys.h"
#include "rules/world_types.h"
#include "sound/wave.h"
#include "surfaces/surface.h"

#include <QPoint>

#include <array>
#include <memory>

namespace ui {
class Desktop;
}

namespace game {

class Tfrm_main;

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
    bool coupleMode_ = false;
    bool hard_ = false;
    DeviceInput devices_;
    std::unique_ptr<partner::SeatedInput> seated_; // the devices, the computer in its seats
    std::unique_ptr<play::LivePlay> live_;
    play::ReplayPlayback* watching_ = nullptr;
    const play::WatchKeys* watchKeys_ = nullptr;
    OnlineConnection* connection_ = nullptr;
    online::SteadyClock clock_;
    std::unique_ptr<play::OnlinePlay> online_;
    std::string endMessage_; // why an online run ended, for the player
};

} // namespace game
