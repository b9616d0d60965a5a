#include "support/online_pair.h"

#include "online/input_delay.h"
#include "rules/frame_length.h"
#include "rules/world.h"

#include <limits>
#include <memory>
#include <random>

namespace onlinetest {

namespace {

class CountingSink : public game::FrameSink {
public:
    explicit CountingSink(SideResult& result) : result_(result) {}
    void PlaySound(game::SoundEffect effect) override {
        ++result_.Sounds.at(static_cast<std::size_t>(effect));
    }
    void EndFrame() override { ++result_.FramesDrawn; }

private:
    SideResult& result_;
};

// A player who chases the ball and swings at it, now and then wanders, and
// every so often lets the ball fall.
online::PlayerInput Chase(const game::World& world, int index, std::mt19937& dice,
                          std::int32_t frame) {
    online::PlayerInput input;
    if (frame % 1500 > 1350) {
        return input;
    }
    const game::Pimuru& p = world.PimuruAt(index);
    const game::Ball& ball = world.GetBall();
    const std::int32_t target = ball.X + (index == 0 ? -12 : 12);
    input.Dx = static_cast<std::int8_t>(target < p.X - 6 ? -1 : target > p.X + 6 ? 1 : 0);
    input.Dy = static_cast<std::int8_t>(p.Y < 400 ? 1 : 0);
    input.Fire = ball.Y > p.Y - 60 && ball.Y < p.Y && dice() % 2 == 0;
    if (dice() % 10 == 0) {
        input.Dx = static_cast<std::int8_t>(static_cast<int>(dice() % 3) - 1);
        input.Dy = static_cast<std::int8_t>(static_cast<int>(dice() % 3) - 1);
    }
    return input;
}

// Passes datagrams on and keeps a copy of each one sent.
class RecordingTransport : public online::Transport {
public:
    RecordingTransport(online::Transport& inner, std::vector<std::vector<std::uint8_t>>& sent)
        : inner_(inner), sent_(sent) {}
    void Send(std::span<const std::uint8_t> datagram) override {
        sent_.emplace_back(datagram.begin(), datagram.end());
        inner_.Send(datagram);
    }
    std::optional<std::vector<std::uint8_t>> Receive() override { return inner_.Receive(); }

private:
    online::Transport& inner_;
    std::vector<std::vector<std::uint8_t>>& sent_;
};

} // namespace

PairRun RunPair(const PairSetup& setup) {
    PairRun run;
    VirtualClock clock;
    SimLink link(setup.Link, setup.Seed, clock);
    constexpr std::int32_t kFrameMs = game::kFrameMs;
    run.InputDelay = setup.InputDelay >= 0
                         ? setup.InputDelay
                         : online::InputDelayFor(setup.Link.RoundTripMs, kFrameMs);

    game::World start;
    start.SetCarryOver({setup.Seed * 2654435761u, 0});
    start.StartRun(false, false);

    std::array<std::unique_ptr<online::Session>, 2> sessions;
    std::array<std::unique_ptr<CountingSink>, 2> sinks;
    std::array<std::unique_ptr<RecordingTransport>, 2> recorders;
    for (int side = 0; side < 2; ++side) {
        SideResult& result = run.Sides[side];
        online::SessionOptions options;
        options.Host = side == 0;
        options.SessionNonce = 0x5EED0000u + setup.Seed;
        options.InputDelay = setup.MeasureDelay ? -1 : run.InputDelay;
        options.FrameMs = kFrameMs;
        options.ForceDesyncAtFrame = side == 1 ? setup.ForceDesyncAtFrame : -1;
        options.OnConfirmedFrame = [&result](const game::FrameInput& input,
                                             const game::World& after) {
            result.Confirmed.push_back(input);
            result.Checksums.push_back(after.Checksum());
        };
        online::Transport* transport = &link.Side(side);
        if (setup.RecordSent) {
            recorders[side] = std::make_unique<RecordingTransport>(*transport, result.Sent);
            transport = recorders[side].get();
        }
        sessions[side] = std::make_unique<online::Session>(start, options, clock, *transport);
        sinks[side] = std::make_unique<CountingSink>(result);
    }

    std::array<std::mt19937, 2> players{std::mt19937(setup.Seed + 11),
                                        std::mt19937(setup.Seed + 23)};
    // The guest starts when the host's welcome reaches it.
    std::array<std::int64_t, 2> nextTickUs{0, std::int64_t{setup.Link.RoundTripMs} * 500};
    constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
    // However the link behaves, a run this long has hung.
    const std::int64_t giveUpUs = std::int64_t{setup.Frames} * kFrameMs * 4000 + 60'000'000;
    bool quitAsked = false;
    while (nextTickUs[0] != kNever || nextTickUs[1] != kNever) {
        const int side = nextTickUs[0] <= nextTickUs[1] ? 0 : 1;
        if (nextTickUs[side] > giveUpUs) {
            break;
        }
        clock.Set(nextTickUs[side]);
        online::Session& session = *sessions[side];
        const online::PlayerInput input =
            Chase(session.World(), side, players[side], session.NextFrame());
        ++run.Sides[side].TickCount;
        if (session.Advance(input, *sinks[side]) == online::Session::Tick::Ended) {
            nextTickUs[side] = kNever;
            continue;
        }
        if (side == 0 && !quitAsked && session.ConfirmedFrames() >= setup.Frames) {
            session.Quit();
            quitAsked = true;
        }
        std::int64_t frameUs = (kFrameMs + session.ExtraFrameMs()) * std::int64_t{1000};
        if (side == 1) {
            frameUs += frameUs * setup.GuestDriftPpm / 1'000'000;
        }
        nextTickUs[side] += frameUs;
    }
    run.DurationUs = clock.NowUs();
    for (int side = 0; side < 2; ++side) {
        run.Sides[side].Stats = sessions[side]->Stats();
        run.Sides[side].End = sessions[side]->Ending();
        run.Sides[side].InputDelay = sessions[side]->InputDelay();
        run.Link[side] = link.Counts(side);
    }
    return run;
}

} // namespace onlinetest
