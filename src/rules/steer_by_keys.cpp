#include "rules/steer_by_keys.h"

namespace game {

PadInput SteerByKeys(PadInput pad, const KeyFlags& keys) {
    if (keys.Left)
        pad.Dx = -1;
    if (keys.Right)
        pad.Dx = 1;
    if (keys.Up)
        pad.Dy = -1;
    if (keys.Down)
        pad.Dy = 1;
    pad.Fire = pad.Fire || keys.Fire;
    return pad;
}

} // namespace game
