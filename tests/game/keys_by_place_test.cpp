// The game's keys, and the input component's keyboard, on keyboards of other
// layouts: a real X server switched to French, German and Russian with
// setxkbmap, keys pressed by their key code through XTEST (xdotool), as a
// keyboard there sends them.
#include "launcher_fixture.h"

#include "input/Ddidex.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>

#include <cstdlib>
#include <string>
#include <utility>

namespace gametest {
namespace {

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 3000)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// The symbol of the last key pressed anywhere in the program.
class LastSymbol : public QObject {
public:
    int key = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            key = static_cast<QKeyEvent*>(event)->key();
        return false;
    }
};

int HeldFlags(const game::GameKeys& keys) {
    int held = 0;
    for (const game::KeyFlags* flags : {&keys.Keys, &keys.Pimuru1Keys})
        held += flags->Left + flags->Right + flags->Up + flags->Down + flags->Fire;
    return held;
}

using KeysByPlace = LauncherTest;

TEST_F(KeysByPlace, EveryGameKeyIsFoundWhereItSitsOnAUsKeyboard) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    form_->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_->Widget()));
    LastSymbol symbol;
    qApp->installEventFilter(&symbol);
    auto& keys = form_->KeyState;
    using game::KeyFlags;
    // X key codes (evdev codes + 8). Space is left out: in the launcher it
    // would press the focused start button.
    struct Place {
        int keyCode;
        const char* usName;
        bool pimuru1;
        bool KeyFlags::*flag;
    };
    const Place places[] = {
        {52, "Z", false, &KeyFlags::Fire},     {53, "X", false, &KeyFlags::Fire},
        {113, "Left", false, &KeyFlags::Left}, {114, "Right", false, &KeyFlags::Right},
        {111, "Up", false, &KeyFlags::Up},     {116, "Down", false, &KeyFlags::Down},
        {25, "W", true, &KeyFlags::Up},        {38, "A", true, &KeyFlags::Left},
        {39, "S", true, &KeyFlags::Down},      {40, "D", true, &KeyFlags::Right},
        {24, "Q", true, &KeyFlags::Fire},      {50, "left Shift", true, &KeyFlags::Fire},
    };
    ASSERT_TRUE(form_->DDIDEX1->SetKeyMap(0, 0, 0x2C));
    // What each layout prints in Z's place: W, Y and the Cyrillic Я.
    const std::pair<std::string, int> layouts[] = {
        {"fr", Qt::Key_W}, {"de", Qt::Key_Y}, {"ru", 0x042F}};
    for (const auto& [layout, symbolInZsPlace] : layouts) {
        ASSERT_TRUE(Shell("setxkbmap " + layout));
        // Once the program has seen the new keymap.
        EXPECT_TRUE(WaitUntil([&] {
            symbol.key = 0;
            Shell("xdotool key 52");
            QTest::qWait(20);
            return symbol.key == symbolInZsPlace;
        })) << layout
            << " was not switched to";
        for (const Place& place : places) {
            const KeyFlags& flags = place.pimuru1 ? keys.Pimuru1Keys : keys.Keys;
            Shell("xdotool keydown " + std::to_string(place.keyCode));
            EXPECT_TRUE(WaitUntil([&] { return flags.*place.flag; }))
                << layout << ": " << place.usName;
            EXPECT_EQ(HeldFlags(keys), 1) << layout << ": " << place.usName;
            Shell("xdotool keyup " + std::to_string(place.keyCode));
            EXPECT_TRUE(WaitUntil([&] { return HeldFlags(keys) == 0; }))
                << layout << ": " << place.usName;
        }
        // The input component's keyboard too: a key map naming Z's place.
        auto& input = *form_->DDIDEX1;
        Shell("xdotool keydown 52");
        EXPECT_TRUE(WaitUntil([&] { return input.ReadDevice(0) && input.JoyButtonDown(0); }))
            << layout;
        Shell("xdotool keyup 52");
        EXPECT_TRUE(WaitUntil([&] { return input.ReadDevice(0) && !input.JoyButtonDown(0); }))
            << layout;
        keys.QuitRequest = 0;
        Shell("xdotool keydown 37 key 26 keyup 37"); // Ctrl and the key in E's place
        EXPECT_TRUE(WaitUntil([&] { return keys.QuitRequest == -1; })) << layout << ": Ctrl+E";
        keys.QuitRequest = 0;
        Shell("xdotool key Escape");
        EXPECT_TRUE(WaitUntil([&] { return keys.QuitRequest == -1; })) << layout << ": Esc";
    }
    qApp->removeEventFilter(&symbol);
}

} // namespace
} // namespace gametest
