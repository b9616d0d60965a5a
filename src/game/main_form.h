#pragma once
// The launcher window: title, start, help and replay buttons and four option
// boxes. It owns the display, sound and input components and the music
// player; its key handlers keep the game's key flags and quit request, and
// the start button's click runs a whole game inside this same window, as
// watching a replay does.

#include "display/dddd.h"
#include "game/frame_pacer.h"
#include "game/game_keys.h"
#include "game/media_player.h"
#include "game/online_dialog.h"
#include "game/seat_choice_box.h"
#include "input/Ddidex.h"
#include "platform/ui/qt_form.h"
#include "rules/world.h"
#include "sound/ddsd.h"

#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace play {
class ReplayPlayback;
class WatchKeys;
} // namespace play

namespace game {

class Tfrm_help;

class Tfrm_main : public ui::QtForm {
public:
    // Frames paced by the machine's millisecond counter.
    Tfrm_main();
    // Frames paced by the pacer given (a test's virtual clock, say).
    explicit Tfrm_main(FramePacer pacer);
    ~Tfrm_main() override;

    // Controls; Panel1 holds all the others, so hiding it hides the launcher.
    QFrame* Panel1;
    QLabel* Label9;
    QLabel* Label8;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    QPushButton* ReplayButton; // the list of kept replays
    QPushButton* OnlineButton; // hosting or joining a game online
    QCheckBox* CheckBox1; // full-screen play
    QCheckBox* CheckBox4; // harder game
    QCheckBox* CheckBox2; // couple mode
    QCheckBox* CheckBox3; // surfaces in system memory
    // Who plays each pimuru: a person or the computer.
    std::unique_ptr<SeatChoiceBox> SeatChoice;

    // Components, created in this order and destroyed with the window.
    ddid::TDDIDEX* DDIDEX1;
    dddd::TDDDD* DDDD1;
    ddsd::TDDSD* DDSD1;
    TMediaPlayer* MediaPlayer1;

    // The window the help button shows (the program sets it).
    Tfrm_help* HelpWindow = nullptr;

    // The quit request and the key flags, shared with the game run.
    GameKeys KeyState;

    void FormCreate();
    void FormClose(ui::TCloseAction& action);
    void FormKeyDown(std::uint16_t& key, ui::TShiftState shift);
    void FormKeyUp(std::uint16_t& key, ui::TShiftState shift);
    void FormDeactivate();
    // One whole game run; returns when it is over.
    void BitBtn1Click();
    // The help window, modally.
    void BitBtn2Click();
    // The list of kept replays; the one chosen is watched.
    void ReplayButtonClick();
    // Watches a replay file in the game screen; a file that cannot be read
    // says why in a message box.
    void WatchReplay(const std::string& path);
    // Hosting or joining: the choice, then the handshake and the run.
    void OnlineButtonClick();
    // Hosts or joins at once (the command line's --host and --join).
    void PlayOnline(const OnlineRequest& request);
    // The meeting server the online dialog's room codes go through; empty: none.
    std::string MeetingServer;
    // Whether an online run shows its line of round trip, delay and rollback (H).
    bool OnlineLineShown = true;

    // What outlives a run: the high score and generator, and the frame mark.
    World& GameWorld() { return world_; }
    FramePacer& Pacer() { return pacer_; }

    bool Running() const { return running_; }
    // The replay being watched, or null.
    const play::ReplayPlayback* Watching() const { return watching_; }
    // Asks the application to end once control is back in its event loop,
    // with the exit status the program then returns (not 0 after a failure).
    void RequestTerminate(int exitStatus = 0);
    bool TerminateRequested() const { return terminateRequested_; }

    // The caption of the game's message boxes.
    static const std::string& MessageCaption();

private:
    void CreateControls();
    void CreateComponents();

    World world_;
    FramePacer pacer_;
    bool running_ = false;
    bool online_ = false;
    bool terminateRequested_ = false;
    // While a replay is watched: its keys, which the key handler serves.
    play::ReplayPlayback* watching_ = nullptr;
    play::WatchKeys* watchKeys_ = nullptr;
};

} // namespace game
