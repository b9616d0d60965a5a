#pragma once
// One game run, from the start button's click to the launcher's return: the
// launcher window becomes the 640 × 480 game screen, the title shows, music
// and pictures load, frames run until a quit is asked for, and everything
// the run made is let go again.

#include "game/back_buffer_canvas.h"
#include "game/world_types.h"
#include "partner/seats.h"
#include "sound/wave.h"
#include "surfaces/surface.h"

#include <QPoint>

#include <array>
#include <memory>
#include <optional>

namespace ui {
class Desktop;
}

namespace game {

class Tfrm_main;

class GameRun {
public:
    static constexpr int kSoundCount = 7;

    explicit GameRun(Tfrm_main& form);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // The whole run. Any error on the way shows a message and ends the
    // program instead of returning to the launcher.
    void Execute();

    // The input of one frame: the first joystick and its keys for pimuru 1;
    // the keyboard, the second joystick and the key flags for pimuru 2.
    static FrameInput ReadInput(Tfrm_main& form);

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
    std::optional<partner::Seats> seats_; // the computer's pimuru in this run
};

} // namespace game
