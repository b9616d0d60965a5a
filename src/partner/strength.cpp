#include "partner/strength.h"

namespace partner {

StrengthTraits TraitsOf(Strength strength) {
    switch (strength) {
    case Strength::Gentle:
        return {18, 24, 3};
    case Strength::Steady:
        return {9, 10, 6};
    case Strength::Strong:
        break;
    }
    return {3, 2, 0};
}

std::string_view NameOf(Strength strength) {
    switch (strength) {
    case Strength::Gentle:
        return "gentle";
    case Strength::Steady:
        return "steady";
    case Strength::Strong:
        break;
    }
    return "strong";
}

std::optional<Strength> StrengthNamed(std::string_view name) {
    for (Strength s : {Strength::Gentle, Strength::Steady, Strength::Strong}) {
        if (name == NameOf(s))
            return s;
    }
    return std::nullopt;
}

} // namespace partner
