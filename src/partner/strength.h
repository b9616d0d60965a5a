#pragma once
// How well the computer partner plays. The strengths differ only in what a
// person differs in: how soon it notices that the ball's path changed, how
// exactly it stands to aim a strike, and how briskly it walks.

#include <optional>
#include <string_view>

namespace partner {

enum class Strength { Gentle, Steady, Strong };

struct StrengthTraits {
    int ReactionFrames; // before it notices a new path of the ball (plus up to half again)
    int AimError;       // pixels, either way, off the place it means to strike from
    int RestEvery;      // while walking it stands still one frame in this many (0: never)
};

StrengthTraits TraitsOf(Strength strength);

// "gentle", "steady", "strong": the names of the command line and the settings.
std::string_view NameOf(Strength strength);
std::optional<Strength> StrengthNamed(std::string_view name);

} // namespace partner
