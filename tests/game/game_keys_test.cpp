#include "game/game_keys.h"

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
