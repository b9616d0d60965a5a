#pragma once
// Rows of marks kept as bits, 64 to a word, and walked run by run: the
// repaint's cells and the presenter's changed tiles.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>

namespace base {

// Bits first…end - 1 of a word.
inline std::uint64_t Bits(int first, int end) {
    return end - first >= 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << (end - first)) - 1) << first;
}

// Sets bits first…end - 1 of a row of words.
inline void SetBits(std::span<std::uint64_t> words, int first, int end) {
    while (first < end) {
        const int word = first / 64;
        const int stop = std::min(end, (word + 1) * 64);
        words[static_cast<std::size_t>(word)] |= Bits(first % 64, stop - word * 64);
        first = stop;
    }
}

// The first bit at or after `from` that is set (or, with set false, clear),
// or `count` where there is none before it.
inline int NextBit(std::span<const std::uint64_t> words, int count, int from, bool set) {
    while (from < count) {
        const std::size_t word = static_cast<std::size_t>(from / 64);
        const std::uint64_t bits = (set ? words[word] : ~words[word]) & (~std::uint64_t{0} << (from % 64));
        if (bits != 0) {
            return std::min(count, static_cast<int>(word) * 64 + std::countr_zero(bits));
        }
        from = (static_cast<int>(word) + 1) * 64;
    }
    return count;
}

// Calls run(first, end) for each run of set bits among the first `count`
// bits of a row of words, lowest first.
template <typename Run> void ForEachRun(std::span<const std::uint64_t> words, int count, Run run) {
    for (int first = NextBit(words, count, 0, true); first < count;) {
        const int end = NextBit(words, count, first, false);
        run(first, end);
        first = NextBit(words, count, end, true);
    }
}

} // namespace base
