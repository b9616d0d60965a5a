#include "game/device_input.h"

#include "game/main_form.h"
#include "rules/steer_by_keys.h"

namespace game {

namespace {

PadInput ReadPad(const ddid::TDDIDEX& input) {
    ddid::TDDIDEXDirections directions;
    input.GetJoystickState(directions);
    return PadInput{directions.X, directions.Y, input.JoyButtonDown(0)};
}

} // namespace

FrameInput DeviceInput::Read(const World&) {
    FrameInput input;
    ddid::TDDIDEX& devices = *form_.DDIDEX1;
    devices.ReadDevice(2);
    input.Pads[0] = SteerByKeys(ReadPad(devices), form_.KeyState.Pimuru1Keys);
    devices.ReadDevices({0, 3});
    input.Pads[1] = ReadPad(devices);
    input.Keys = form_.KeyState.Keys;
    input.Hard = form_.Options().Hard;
    return input;
}

} // namespace game
