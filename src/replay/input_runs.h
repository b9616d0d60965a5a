#pragma once
// A run's inputs, one a frame, kept the way the replay file keeps them: as
// runs of one packed input. The memory grows with how often the input
// changes, not with how long the run lasts, so that a file claiming millions
// of frames takes no more room than the bytes it really holds.

#include "rules/world_types.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace replay {

class InputRuns {
public:
    struct Run {
        std::uint16_t Bits = 0; // PackInput of the run's input
        std::uint32_t End = 0;  // the frame after the run's last one
    };

    // Reads the frames in order, one unpacked input at a time.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = game::FrameInput;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = game::FrameInput;

        Iterator() = default;
        game::FrameInput operator*() const;
        Iterator& operator++();
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return frame_ == other.frame_; }

    private:
        friend class InputRuns;
        Iterator(const Run* run, std::size_t frame) : run_(run), frame_(frame) {}
        const Run* run_ = nullptr;
        std::size_t frame_ = 0;
    };

    // Adds count frames of input (its axes reduced to their signs, all that
    // the rules read of them), lengthening the last run when it is the same.
    void Append(const game::FrameInput& input, std::uint32_t count = 1);
    void push_back(const game::FrameInput& input) { Append(input); }

    std::size_t size() const { return runs_.empty() ? 0 : runs_.back().End; }
    bool empty() const { return runs_.empty(); }
    game::FrameInput operator[](std::size_t frame) const;
    Iterator begin() const { return {runs_.data(), 0}; }
    Iterator end() const { return {nullptr, size()}; }

    const std::vector<Run>& Runs() const { return runs_; }
    // For a reader that has counted the runs it is about to add.
    void ReserveRuns(std::size_t count) { runs_.reserve(count); }
    // The heap memory held, to show it stays in proportion to the runs.
    std::size_t HeapBytes() const { return runs_.capacity() * sizeof(Run); }

private:
    std::vector<Run> runs_;
};

} // namespace replay
