#pragma once
// The launcher's seat choice kept across starts in the player's settings
// file ($XDG_CONFIG_HOME/pimuru/pimuru.ini by default).

#include "play/seats.h"

namespace game {

// The file keeps "seats/pimuru1" and "seats/pimuru2": "person" or a
// strength's name; anything else reads as a person.
partner::SeatChoice LoadSeatChoice();
// A file that cannot be written leaves the choice unremembered; the game goes on.
void SaveSeatChoice(const partner::SeatChoice& choice);

} // namespace game
