#pragma once
// The input of a run played here: the launcher window's joysticks, keyboard
// and key flags, read afresh for every frame.

#include "play/input_source.h"

namespace game {

class Tfrm_main;

class DeviceInput : public play::InputSource {
public:
    explicit DeviceInput(Tfrm_main& form) : form_(form) {}

    // The first joystick and its keys for pimuru 1; the keyboard, the second
    // joystick and the key flags for pimuru 2.
    FrameInput Read(const World& world) override;

private:
    Tfrm_main& form_;
};

} // namespace game
