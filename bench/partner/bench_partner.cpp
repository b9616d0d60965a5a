// The computer partner measured: many seeded rallies from a run's start with
// both pimuru played by the computer, and with the computer beside a
// scripted beginner, at each strength, in the normal and the harder game.
// Prints the median rally length (seconds; a frame is 26 ms) and rally
// score with their spread (10th and 90th percentiles).
//
//   bench_partner [runs per line, default 24] [limit in minutes, default 10]

#include "bench/support/rally_trial.h"
#include "support/processor_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kSecondsPerFrame = 0.026;

// The value at fraction q of the sorted values (nearest rank).
double At(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
    return values[rank];
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 24;
    const double minutes = argc > 2 ? std::max(0.1, std::atof(argv[2])) : 10.0;
    const auto limit = static_cast<std::int64_t>(minutes * 60.0 / kSecondsPerFrame);
    std::printf("computer partner, %d seeded rallies a line, each stopped at %.1f min\n", runs,
                minutes);
    std::printf("processor: %s\n\n", benchsupport::ProcessorModel().c_str());
    std::printf("%-26s %-7s %26s %24s %8s\n", "players", "game", "rally s: p10 / median / p90",
                "score: p10 / median / p90", "limited");

    using partner::Strength;
    for (const bool besidePerson : {false, true}) {
        for (const bool hard : {false, true}) {
            for (const Strength strength : {Strength::Gentle, Strength::Steady, Strength::Strong}) {
                std::vector<double> seconds;
                std::vector<double> scores;
                int limited = 0;
                for (int run = 0; run < runs; ++run) {
                    partner::TrialSetup setup;
                    setup.Players = {besidePerson ? std::nullopt : std::optional(strength),
                                     strength};
                    setup.Hard = hard;
                    setup.Seed = 1000u + static_cast<std::uint32_t>(run);
                    setup.FrameLimit = limit;
                    const partner::RallyResult result = partner::PlayRally(setup);
                    seconds.push_back(static_cast<double>(result.Frames) * kSecondsPerFrame);
                    scores.push_back(result.Score);
                    limited += result.Limited;
                }
                const std::string name =
                    std::string(besidePerson ? "scripted person + " : "pair of ") +
                    std::string(partner::NameOf(strength));
                std::printf("%-26s %-7s %8.0f / %6.0f / %6.0f %8.0f / %5.0f / %5.0f %5d/%d\n",
                            name.c_str(), hard ? "harder" : "normal", At(seconds, 0.1),
                            At(seconds, 0.5), At(seconds, 0.9), At(scores, 0.1), At(scores, 0.5),
                            At(scores, 0.9), limited, runs);
                std::fflush(stdout);
            }
        }
    }
    return 0;
}
