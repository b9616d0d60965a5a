#include "game/game_keys.h"
#include "rules/steer_by_keys.h"

#include <gtest/gtest.h>

using game::GameKeys;

TEST(GameKeys, EscAndCtrlEQuitButCtrlShiftEDoesNot) {
    GameKeys keys;
    keys.KeyDown(69, ui::ssCtrl | ui::ssShift);
    keys.KeyDown(69, ui::ssCtrl | ui::ssAlt);
    keys.KeyDown(69, 0);
    EXPECT_EQ(keys.QuitRequest, 0);
    keys.KeyDown(69, ui::ssCtrl);
    EXPECT_EQ(keys.QuitRequest, -1);

    GameKeys esc;
    esc.KeyDown(27, ui::ssShift);
    EXPECT_EQ(esc.QuitRequest, -1);
    // Releasing a quit key does nothing.
    esc.QuitRequest = 0;
    esc.KeyUp(27);
    EXPECT_EQ(esc.QuitRequest, 0);
}

TEST(GameKeys, CursorFlagsFollowTheirOwnKeys) {
    GameKeys keys;
    for (std::uint16_t key : {37, 38, 39, 40}) {
        keys.KeyDown(key, 0);
    }
    EXPECT_TRUE(keys.Keys.Left && keys.Keys.Up && keys.Keys.Right && keys.Keys.Down);
    keys.KeyUp(37);
    EXPECT_FALSE(keys.Keys.Left);
    EXPECT_TRUE(keys.Keys.Right);
    keys.ClearKeys();
    EXPECT_FALSE(keys.Keys.Up || keys.Keys.Right || keys.Keys.Down || keys.Keys.Fire);
}

TEST(GameKeys, ReleasingOneFireKeyClearsFireWhileAnotherIsHeld) {
    GameKeys keys;
    keys.KeyDown(32, 0);
    keys.KeyDown(90, 0);
    keys.KeyUp(90);
    EXPECT_FALSE(keys.Keys.Fire);
    // It comes back only with the next press of one of the three (a repeat counts).
    keys.KeyDown(32, 0);
    EXPECT_TRUE(keys.Keys.Fire);
    keys.KeyDown(88, ui::ssShift);
    keys.KeyUp(88);
    EXPECT_FALSE(keys.Keys.Fire);
}

TEST(GameKeys, KeysInPimuru1sPlacesSteerPimuru1Alone) {
    GameKeys keys;
    keys.KeyDown('W', 0, 0x11);
    keys.KeyDown('D', 0, 0x20);
    keys.KeyDown(16, ui::ssShift, 0x2A); // left Shift
    EXPECT_TRUE(keys.Pimuru1Keys.Up && keys.Pimuru1Keys.Right && keys.Pimuru1Keys.Fire);
    EXPECT_FALSE(keys.Pimuru1Keys.Left || keys.Pimuru1Keys.Down);
    // On an AZERTY keyboard the W place prints Z: it is still pimuru 1's.
    keys.KeyDown(90, 0, 0x11);
    EXPECT_FALSE(keys.Keys.Fire);
    keys.KeyDown(37, 0, 0);
    EXPECT_TRUE(keys.Keys.Left);
    EXPECT_FALSE(keys.Pimuru1Keys.Left);
    // Q and left Shift share the swing as Space, Z and X do.
    keys.KeyDown('Q', 0, 0x10);
    keys.KeyUp('Q', 0x10);
    EXPECT_FALSE(keys.Pimuru1Keys.Fire);
    keys.KeyUp('W', 0x11);
    EXPECT_FALSE(keys.Pimuru1Keys.Up);
    keys.ClearKeys();
    EXPECT_FALSE(keys.Pimuru1Keys.Right || keys.Keys.Left);
}

TEST(GameKeys, Pimuru2sSwingAndCtrlEFollowThePlaceNotTheLetter) {
    GameKeys keys;
    // AZERTY prints W where a US keyboard has Z; a Russian layout prints
    // Cyrillic letters, which have no virtual key.
    keys.KeyDown('W', 0, 0x2C);
    EXPECT_TRUE(keys.Keys.Fire);
    EXPECT_FALSE(keys.Pimuru1Keys.Up);
    keys.KeyUp('W', 0x2C);
    EXPECT_FALSE(keys.Keys.Fire);
    keys.KeyDown(0, 0, 0x2D);
    EXPECT_TRUE(keys.Keys.Fire);
    keys.KeyUp(0, 0x2D);
    // German prints Z where a US keyboard has Y: not a swing key.
    keys.KeyDown('Z', 0, 0x15);
    EXPECT_FALSE(keys.Keys.Fire);
    keys.KeyDown(0, ui::ssCtrl, 0x12);
    EXPECT_EQ(keys.QuitRequest, -1);
    // Dvorak prints E in D's place: with Ctrl it is still pimuru 1's key.
    GameKeys dvorak;
    dvorak.KeyDown('E', ui::ssCtrl, 0x20);
    EXPECT_EQ(dvorak.QuitRequest, 0);
    EXPECT_TRUE(dvorak.Pimuru1Keys.Right);
}

TEST(GameKeys, AHeldKeyDecidesTheDirectionAndTheSwingIsKeyOrButton) {
    const game::PadInput pad{-1, 1, true};
    game::KeyFlags keys;
    keys.Right = true;
    keys.Left = true;
    keys.Up = true;
    const game::PadInput steered = game::SteerByKeys(pad, keys);
    EXPECT_EQ(steered.Dx, 1);
    EXPECT_EQ(steered.Dy, -1);
    EXPECT_TRUE(steered.Fire);
    const game::PadInput untouched = game::SteerByKeys(game::PadInput{0, 1, false}, game::KeyFlags{});
    EXPECT_EQ(untouched.Dy, 1);
    EXPECT_FALSE(untouched.Fire);
}
