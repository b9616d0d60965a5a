#include "online/player_input.h"

#include "rules/steer_by_keys.h"

namespace online {

namespace {

std::uint8_t SignBits(std::int32_t value) {
    return value > 0 ? 1 : value < 0 ? 2 : 0;
}

} // namespace

std::uint8_t PlayerInput::Encode() const {
    return static_cast<std::uint8_t>(SignBits(Dx) | SignBits(Dy) << 2 | (Fire ? 0x10 : 0));
}

std::optional<PlayerInput> PlayerInput::Decode(std::uint8_t byte) {
    const int dx = byte & 3;
    const int dy = (byte >> 2) & 3;
    if (dx == 3 || dy == 3 || (byte & 0xE0) != 0) {
        return std::nullopt;
    }
    auto sign = [](int bits) {
        return static_cast<std::int8_t>(bits == 1 ? 1 : bits == 2 ? -1 : 0);
    };
    return PlayerInput{sign(dx), sign(dy), (byte & 0x10) != 0};
}

PlayerInput PlayerInput::From(const game::PadInput& pad) {
    auto sign = [](std::int32_t v) { return static_cast<std::int8_t>(v > 0 ? 1 : v < 0 ? -1 : 0); };
    return PlayerInput{sign(pad.Dx), sign(pad.Dy), pad.Fire};
}

PlayerInput PlayerInput::FromDevices(const game::FrameInput& devices) {
    const game::PadInput& first = devices.Pads[0];
    const game::PadInput& second = devices.Pads[1];
    const game::PadInput pads{first.Dx != 0 ? first.Dx : second.Dx,
                              first.Dy != 0 ? first.Dy : second.Dy, first.Fire || second.Fire};
    return From(game::SteerByKeys(pads, devices.Keys));
}

game::FrameInput FrameInputOf(const PlayerInput& host, const PlayerInput& guest, bool hard) {
    game::FrameInput input;
    input.Pads[0] = {host.Dx, host.Dy, host.Fire};
    input.Pads[1] = {guest.Dx, guest.Dy, guest.Fire};
    input.Hard = hard;
    return input;
}

} // namespace online
