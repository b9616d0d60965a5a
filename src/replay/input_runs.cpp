#include "replay/input_runs.h"

#include "replay/input_code.h"

#include <algorithm>
#include <cstdint>

namespace replay {

game::FrameInput InputRuns::Iterator::operator*() const {
    return *UnpackInput(run_->Bits);
}

InputRuns::Iterator& InputRuns::Iterator::operator++() {
    if (++frame_ == run_->End)
        ++run_;
    return *this;
}

void InputRuns::Append(const game::FrameInput& input, std::uint32_t count) {
    if (count == 0)
        return;
    const std::uint16_t bits = PackInput(input);
    // Past four thousand million frames (three years of play) nothing more is kept.
    const auto end =
        static_cast<std::uint32_t>(size() + std::min<std::size_t>(count, UINT32_MAX - size()));
    if (!runs_.empty() && runs_.back().Bits == bits)
        runs_.back().End = end;
    else
        runs_.push_back({bits, end});
}

game::FrameInput InputRuns::operator[](std::size_t frame) const {
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), frame,
                                      [](std::size_t f, const Run& r) { return f < r.End; });
    return run == runs_.end() ? game::FrameInput{} : *UnpackInput(run->Bits);
}

} // namespace replay
