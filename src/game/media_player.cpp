#include "game/media_player.h"

#include <utility>

namespace game {

TMediaPlayer::TMediaPlayer(ui::TComponent* owner) : ui::TComponent(owner) {}

TMediaPlayer::~TMediaPlayer() {
    if (player_ && player_->IsOpen()) {
        try {
            player_->Close();
        } catch (const media::EMediaError&) {
        }
    }
}

// The synthesizer is made on first use, so a program that never plays pays
// nothing for it.
media::IMidiPlayer& TMediaPlayer::Player() {
    if (!player_)
        player_ = media::CreateMidiPlayer();
    return *player_;
}

void TMediaPlayer::Open() { Player().Open(FileName); }
void TMediaPlayer::Rewind() { Player().Rewind(); }
void TMediaPlayer::Play() { Player().Play(); }
void TMediaPlayer::Stop() { Player().Stop(); }
void TMediaPlayer::Close() { Player().Close(); }

void TMediaPlayer::SetPlayerForTesting(std::unique_ptr<media::IMidiPlayer> player) {
    player_ = std::move(player);
}

} // namespace game
