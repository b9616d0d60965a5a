#include "partner/seat_options.h"

#include <optional>

namespace partner {

namespace {

// The value of option `name` at args[i] ("--name value" or "--name=value"),
// erasing what it took; none when args[i] is another argument.
std::optional<std::string> TakeOption(std::vector<std::string>& args, std::size_t i,
                                      const std::string& name, std::string& error) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        std::string value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return value;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        std::string value = arg.substr(name.size() + 1);
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        return value;
    }
    return std::nullopt;
}

} // namespace

std::string TakeSeatOptions(std::vector<std::string>& args, SeatChoice& choice) {
    std::optional<std::string> computer;
    std::optional<std::string> strength;
    std::string error;
    for (std::size_t i = 1; i < args.size() && error.empty();) {
        if (auto value = TakeOption(args, i, "--computer", error))
            computer = value;
        else if (auto value = TakeOption(args, i, "--strength", error))
            strength = value;
        else if (error.empty())
            ++i;
    }
    if (!error.empty())
        return error;

    std::optional<Strength> chosenStrength;
    if (strength) {
        chosenStrength = StrengthNamed(*strength);
        if (!chosenStrength)
            return "--strength takes gentle, steady or strong, not \"" + *strength + "\"";
    }
    SeatChoice result = choice;
    if (computer) {
        const bool first = *computer == "1" || *computer == "both";
        const bool second = *computer == "2" || *computer == "both";
        if (!first && !second)
            return "--computer takes 1, 2 or both, not \"" + *computer + "\"";
        const bool seat[game::kPimuruCount] = {first, second};
        // Without --strength, a seat keeps the strength it had, or plays steady.
        Strength fallback = Strength::Steady;
        for (const auto& held : choice.Computer) {
            if (held)
                fallback = *held;
        }
        for (int i = 0; i < game::kPimuruCount; ++i) {
            result.Computer[i] = seat[i] ? std::optional<Strength>(chosenStrength.value_or(
                                               result.Computer[i].value_or(fallback)))
                                         : std::nullopt;
        }
    } else if (chosenStrength) {
        for (auto& held : result.Computer) {
            if (held)
                held = chosenStrength;
        }
    }
    choice = result;
    return {};
}

} // namespace partner
