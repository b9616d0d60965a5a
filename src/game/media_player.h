#pragma once
// The launcher's music player: an invisible component that plays one MIDI
// file (its FileName) through the system's synthesizer. Each command raises
// media::EMediaError on failure; the game swallows those.

#include "platform/media/midi_player.h"
#include "platform/component/component.h"

#include <memory>
#include <string>

namespace game {

class TMediaPlayer : public ui::TComponent {
public:
    explicit TMediaPlayer(ui::TComponent* owner);
    ~TMediaPlayer() override;

    std::string FileName;
    bool Visible = false;
    bool AutoEnable = false;
    bool TabStop = false;

    // Opens FileName, closing the device first when it is open.
    void Open();
    // Back to the start, stopped.
    void Rewind();
    // Plays once from the current position.
    void Play();
    void Stop();
    void Close();

    // Tests put a recording player in place of the synthesizer.
    void SetPlayerForTesting(std::unique_ptr<media::IMidiPlayer> player);

private:
    media::IMidiPlayer& Player();

    std::unique_ptr<media::IMidiPlayer> player_;
};

} // namespace game
