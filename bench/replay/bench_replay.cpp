// An hour of play (138,000 frames of 26 ms) by the scripted player, kept as
// a replay: the bare world step over its inputs, the whole check of the
// replay (steps and checksums), the reading of its file, and its size.
//   goal: the hour checks in well under a second on one core
// The step is the reference the check is measured against in the same run.
// --save-hour=FILE also writes the hour's replay, to check it elsewhere
// (scripts/check-replays-elsewhere FILE).

#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "support/processor_model.h"
#include "support/scripted_player.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace {

constexpr std::int64_t kHour = 138'000;

const replay::Replay& Hour() {
    static const replay::Replay hour = testsupport::RecordScriptedRun(
        {.Seed = 5, .HardFromFrame = kHour / 2, .Frames = kHour, .SloppyOneIn = 20});
    return hour;
}

const std::vector<std::uint8_t>& HourFile() {
    static const std::vector<std::uint8_t> bytes = replay::EncodeReplay(Hour());
    return bytes;
}

void WorldStep(benchmark::State& state) {
    const replay::Replay& hour = Hour();
    for (auto _ : state) {
        game::World world = replay::StartWorld(hour);
        game::FrameSink nowhere;
        for (const game::FrameInput& input : hour.Inputs)
            world.Step(input, nowhere);
        benchmark::DoNotOptimize(world.Score());
    }
    state.SetItemsProcessed(state.iterations() * kHour);
}
BENCHMARK(WorldStep)->Unit(benchmark::kMillisecond);

void CheckReplay(benchmark::State& state) {
    for (auto _ : state) {
        const replay::CheckResult result = replay::CheckReplay(Hour());
        if (!result.Clean)
            state.SkipWithError("the hour does not check clean");
    }
    state.SetItemsProcessed(state.iterations() * kHour);
}
BENCHMARK(CheckReplay)->Unit(benchmark::kMillisecond);

void DecodeReplay(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(replay::DecodeReplay(HourFile()));
    state.SetItemsProcessed(state.iterations() * kHour);
}
BENCHMARK(DecodeReplay)->Unit(benchmark::kMillisecond);

std::size_t ZlibSize(const std::vector<std::uint8_t>& bytes) {
    uLongf size = compressBound(bytes.size());
    std::vector<Bytef> out(size);
    compress2(out.data(), &size, bytes.data(), bytes.size(), Z_BEST_COMPRESSION);
    return size;
}

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            seconds[run.benchmark_name()] = run.GetAdjustedCPUTime() / 1000.0; // ms → s
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::string save = "--save-hour=";
    if (argc > 1 && std::string(argv[1]).rfind(save, 0) == 0) {
        std::ofstream(argv[1] + save.size(), std::ios::binary)
            .write(reinterpret_cast<const char*>(HourFile().data()),
                   static_cast<std::streamsize>(HourFile().size()));
    }
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& s = reporter.seconds;
    std::printf("\nprocessor: %s\n", benchsupport::ProcessorModel().c_str());
    if (s.count("WorldStep") && s.count("CheckReplay")) {
        std::printf("world step:   %.2f million frames/s\n", kHour / s["WorldStep"] / 1e6);
        std::printf(
            "check:        %.2f million frames/s, an hour in %.0f ms (goal well under 1000 ms), "
            "%.2fx the bare step's time\n",
            kHour / s["CheckReplay"] / 1e6, s["CheckReplay"] * 1000,
            s["CheckReplay"] / s["WorldStep"]);
    }
    if (s.count("DecodeReplay"))
        std::printf("reading:      an hour's file in %.2f ms\n", s["DecodeReplay"] * 1000);
    const double minutes = kHour * 0.026 / 60;
    const std::size_t inputs = HourFile().size() - Hour().Checksums.size() * 8;
    std::printf("replay size:  %zu bytes an hour, %.0f bytes a minute (checksums %zu, inputs and "
                "the rest %zu); "
                "zlib -9 would make it %zu\n",
                HourFile().size(), HourFile().size() / minutes, Hour().Checksums.size() * 8, inputs,
                ZlibSize(HourFile()));
    benchmark::Shutdown();
    return 0;
}
