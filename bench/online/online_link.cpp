// Online play over the simulated links: for each link, how often the world
// waited for the partner, how much was rolled back, the bytes each way per
// second with 28 bytes of UDP and IPv4 headers a datagram, and what rollback
// costs a core (the world step, the saving copy and the re-steps, timed here).
//   online_link          the figure's link (150 ms ±10 ms, 5 % loss) and the whole grid
#include "support/online_pair.h"
#include "support/processor_model.h"

#include "rules/world.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kUdpIpv4HeaderBytes = 28;

using Clock = std::chrono::steady_clock;

// Nanoseconds of one call of work, the median of a few rounds of many calls.
template <typename Work> double NanosecondsPer(Work work, int calls) {
    std::vector<double> rounds;
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i) {
            work(i);
        }
        rounds.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                         calls);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

struct Costs {
    double StepNs = 0;
    double CopyNs = 0;
    double ChecksumNs = 0;
};

// The world's step over a played run's inputs, a save (a copy of the world)
// and a checksum.
Costs MeasureCosts(const std::vector<game::FrameInput>& inputs) {
    Costs costs;
    game::World start;
    start.StartRun(false, false);
    game::World world = start;
    game::FrameSink silent;
    costs.StepNs = NanosecondsPer(
        [&](int i) {
            if (i % static_cast<int>(inputs.size()) == 0) {
                world = start;
            }
            world.Step(inputs[static_cast<std::size_t>(i) % inputs.size()], silent);
        },
        static_cast<int>(inputs.size()));
    std::vector<game::World> saved(16);
    costs.CopyNs =
        NanosecondsPer([&](int i) { saved[static_cast<std::size_t>(i) % 16] = world; }, 20000);
    volatile std::uint64_t sink = 0;
    costs.ChecksumNs = NanosecondsPer([&](int) { sink = sink + world.Checksum(); }, 5000);
    return costs;
}

void Report(const onlinetest::PairSetup& setup, const onlinetest::PairRun& run,
            const Costs* costs) {
    const double seconds = static_cast<double>(run.DurationUs) / 1e6;
    for (int side = 0; side < 2; ++side) {
        const auto& s = run.Sides[side].Stats;
        const auto& end = run.Sides[side].End;
        const double waitPercent =
            100.0 * static_cast<double>(s.WaitTicks) /
            static_cast<double>(std::max<std::int64_t>(1, s.FramesStepped + s.WaitTicks));
        const double bytesPerSecond =
            static_cast<double>(s.BytesSent + s.PacketsSent * kUdpIpv4HeaderBytes) / seconds;
        std::printf(
            "%4d ms ±%2d %3d %%  %-5s delay %d  waits %5.2f %%  rollbacks %5lld  longest %d  "
            "re-stepped %6lld  %6.0f B/s  %s%s",
            setup.Link.RoundTripMs, setup.Link.JitterMs, setup.Link.LossPercent,
            side == 0 ? "host" : "guest", run.InputDelay, waitPercent,
            static_cast<long long>(s.Rollbacks), s.LongestRollback,
            static_cast<long long>(s.FramesRestepped), bytesPerSecond,
            end && end->Reason == online::EndReason::Quit ? "ended cleanly" : "DID NOT END CLEANLY",
            run.Sides[0].Checksums == run.Sides[1].Checksums ? "" : ", WORLDS DIFFER");
        if (costs) {
            // Rollback's extra work: a save a frame, a restore a rollback, the re-steps.
            const double extraNs = static_cast<double>(s.FramesStepped) * costs->CopyNs +
                                   static_cast<double>(s.Rollbacks) * costs->CopyNs +
                                   static_cast<double>(s.FramesRestepped) * costs->StepNs;
            std::printf("  rollback CPU %.4f %% of a core", 100.0 * extraNs / (seconds * 1e9));
        }
        std::printf("\n");
    }
}

} // namespace

int main() {
    std::printf("processor: %s\n", benchsupport::ProcessorModel().c_str());
    onlinetest::PairSetup figure;
    figure.Link = {150, 10, 5, 1, 1};
    figure.Seed = 150;
    const onlinetest::PairRun run = onlinetest::RunPair(figure);
    const Costs costs = MeasureCosts(run.Sides[0].Confirmed);
    std::printf("world step %.0f ns, copy %.0f ns, checksum %.0f ns (sizeof World %zu bytes)\n",
                costs.StepNs, costs.CopyNs, costs.ChecksumNs, sizeof(game::World));
    std::printf("5,000 frames a run, 26 ms frames, 1 %% reordering and duplication\n");
    Report(figure, run, &costs);
    std::uint32_t seed = 1;
    for (const std::int32_t rtt : {0, 40, 100, 200, 300}) {
        for (const std::int32_t jitter : {0, 10, 30}) {
            for (const std::int32_t loss : {0, 5, 10}) {
                onlinetest::PairSetup setup;
                setup.Link = {rtt, jitter, loss, 1, 1};
                setup.Seed = ++seed;
                Report(setup, onlinetest::RunPair(setup), &costs);
            }
        }
    }
    return 0;
}
