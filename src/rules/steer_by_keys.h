#pragma once
// The one rule for keys beside a device: a held key decides a pimuru's
// direction (right over left, down over up), and the swing is the key or the
// button. The world applies it to pimuru 2's keys, the game run to pimuru 1's.

#include "rules/world_types.h"

namespace game {

PadInput SteerByKeys(PadInput pad, const KeyFlags& keys);

} // namespace game
