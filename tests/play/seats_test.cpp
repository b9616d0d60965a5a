// Who steers which pimuru when the computer has a seat.
#include "play/seats.h"

#include <gtest/gtest.h>

namespace {

using game::FrameInput;
using game::World;
using partner::SeatChoice;
using partner::Seats;
using partner::Strength;

World Started() {
    World world;
    world.StartRun(false, false);
    return world;
}

TEST(Seats, APersonAloneSteersTheirPimuruWithAnyKeysAndTheComputerTheOther) {
    const World world = Started();
    // The computer plays pimuru 2: the cursor keys and pad 2 now steer pimuru 1.
    Seats second(SeatChoice{{std::nullopt, Strength::Steady}}, 1);
    FrameInput input;
    input.Keys.Left = true;
    input.Pads[1].Fire = true;
    second.FillIn(world, input);
    EXPECT_EQ(input.Pads[0].Dx, -1);
    EXPECT_TRUE(input.Pads[0].Fire);
    EXPECT_FALSE(input.Keys.Left) << "the person's keys must not steer the computer's pimuru";
    EXPECT_FALSE(input.Pads[1].Fire) << "the computer does not swing at a ball far away";

    // The computer plays pimuru 1: the keys of pimuru 1 (in pad 1) steer pimuru 2.
    Seats first(SeatChoice{{Strength::Steady, std::nullopt}}, 1);
    input = FrameInput{};
    input.Pads[0] = {1, -1, true};
    first.FillIn(world, input);
    EXPECT_EQ(input.Pads[1].Dx, 1);
    EXPECT_EQ(input.Pads[1].Dy, -1);
    EXPECT_TRUE(input.Pads[1].Fire);
    EXPECT_FALSE(input.Pads[0].Fire);
}

TEST(Seats, WithBothByTheComputerAPersonsKeyTakesTheirPimuruBack) {
    const World world = Started();
    Seats seats(SeatChoice{{Strength::Strong, Strength::Strong}}, 1);
    FrameInput input;
    seats.FillIn(world, input);
    EXPECT_TRUE(seats.ComputerPlays(0));
    EXPECT_TRUE(seats.ComputerPlays(1));

    input = FrameInput{};
    input.Keys.Right = true; // pimuru 2's key
    seats.FillIn(world, input);
    EXPECT_TRUE(seats.ComputerPlays(0));
    EXPECT_FALSE(seats.ComputerPlays(1));
    EXPECT_TRUE(input.Keys.Right);

    // Taken back for the rest of the run, keys held or not.
    input = FrameInput{};
    seats.FillIn(world, input);
    EXPECT_FALSE(seats.ComputerPlays(1));
    EXPECT_EQ(input.Pads[1].Dx, 0);
}

} // namespace
