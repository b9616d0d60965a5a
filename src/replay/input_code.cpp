#include "replay/input_code.h"

namespace replay {

namespace {

// An axis takes two bits: 0 still, 1 positive, 2 negative.
std::uint16_t AxisCode(std::int32_t value) {
    return value > 0 ? 1 : value < 0 ? 2 : 0;
}

std::int32_t AxisValue(std::uint16_t code) {
    return code == 1 ? 1 : code == 2 ? -1 : 0;
}

constexpr int kPadBits = 5;
constexpr int kKeysShift = 10;
constexpr int kHardShift = 15;

} // namespace

std::uint16_t PackInput(const game::FrameInput& input) {
    unsigned bits = 0;
    for (int i = 0; i < game::kPimuruCount; ++i) {
        const game::PadInput& pad = input.Pads[i];
        const unsigned code = AxisCode(pad.Dx) | AxisCode(pad.Dy) << 2 | unsigned{pad.Fire} << 4;
        bits |= code << (kPadBits * i);
    }
    const game::KeyFlags& k = input.Keys;
    const unsigned keys = unsigned{k.Left} | unsigned{k.Right} << 1 | unsigned{k.Up} << 2 |
                          unsigned{k.Down} << 3 | unsigned{k.Fire} << 4;
    bits |= keys << kKeysShift | unsigned{input.Hard} << kHardShift;
    return static_cast<std::uint16_t>(bits);
}

std::optional<game::FrameInput> UnpackInput(std::uint16_t bits) {
    game::FrameInput input;
    for (int i = 0; i < game::kPimuruCount; ++i) {
        const unsigned code = bits >> (kPadBits * i);
        if ((code & 3) == 3 || (code >> 2 & 3) == 3)
            return std::nullopt;
        input.Pads[i] = {AxisValue(code & 3), AxisValue(code >> 2 & 3), (code >> 4 & 1) != 0};
    }
    const unsigned keys = bits >> kKeysShift;
    input.Keys = {(keys & 1) != 0, (keys >> 1 & 1) != 0, (keys >> 2 & 1) != 0, (keys >> 3 & 1) != 0,
                  (keys >> 4 & 1) != 0};
    input.Hard = (bits >> kHardShift & 1) != 0;
    return input;
}

game::FrameInput Normalized(const game::FrameInput& input) {
    return *UnpackInput(PackInput(input));
}

} // namespace replay
