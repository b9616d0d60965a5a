#include "game/frame_pacer.h"

#include <chrono>
#include <vector>

#include <gtest/gtest.h>

using game::FramePacer;

namespace {

// A counter that moves only while the pacer waits.
struct FakeClock {
    std::uint32_t now = 0;
    std::vector<std::uint32_t> waits;

    FramePacer Pacer() {
        return FramePacer([this] { return now; },
                          [this](std::uint32_t maxWaitMs) {
                              waits.push_back(maxWaitMs);
                              now += maxWaitMs == 0 ? 1 : maxWaitMs;
                          });
    }
};

} // namespace

TEST(FramePacer, FrameStartsMoreThan25msAfterTheMark) {
    FakeClock clock;
    clock.now = 1000;
    FramePacer pacer = clock.Pacer();
    pacer.WaitFrame(); // far from mark 0: only the messages are handled
    EXPECT_EQ(clock.waits, (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(pacer.Mark(), 1001u);

    clock.waits.clear();
    pacer.WaitFrame();
    EXPECT_EQ(clock.now - 1001, 26u);
    EXPECT_EQ(pacer.Mark(), 1027u);
    // It sleeps for what is left instead of spinning, handling the
    // messages in the same pass.
    EXPECT_EQ(clock.waits, (std::vector<std::uint32_t>{26}));
}

TEST(FramePacer, CounterWrapWaitsAtMostOneFrame) {
    FakeClock clock;
    clock.now = 0xFFFFFFF0u;
    FramePacer pacer = clock.Pacer();
    pacer.WaitFrame();
    const std::uint32_t mark = pacer.Mark();
    pacer.WaitFrame();
    EXPECT_EQ(clock.now - mark, 26u); // across the wrap
    EXPECT_LT(clock.now, 0x100u);
    EXPECT_EQ(FramePacer::Elapsed(5, 0xFFFFFFFBu), 10u);
    EXPECT_EQ(FramePacer::Elapsed(0xFFFFFFFBu, 5), 10u);
}

TEST(FramePacer, AnEarlyMessageOnlyShortensOneSleep) {
    std::uint32_t now = 100;
    bool keyComes = false; // a key press ends the next sleep after 10 ms
    std::vector<std::uint32_t> waits;
    FramePacer pacer([&] { return now; },
                     [&](std::uint32_t maxWaitMs) {
                         waits.push_back(maxWaitMs);
                         now += keyComes ? 10 : maxWaitMs == 0 ? 1 : maxWaitMs;
                         keyComes = false;
                     });
    pacer.WaitFrame();
    const std::uint32_t mark = pacer.Mark();
    waits.clear();
    keyComes = true;
    pacer.WaitFrame();
    EXPECT_EQ(waits, (std::vector<std::uint32_t>{26, 16}));
    EXPECT_EQ(pacer.Mark() - mark, 26u);
}

TEST(FramePacer, SleepThenHandleSleepsOutTheWaitThenHandlesOnce) {
    int handled = 0;
    const auto wait = FramePacer::SleepThenHandle([&] { ++handled; });
    const auto start = std::chrono::steady_clock::now();
    wait(20);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_EQ(handled, 1);
    wait(0); // nothing left to wait: only the messages
    EXPECT_EQ(handled, 2);
}
