#pragma once
// A frame sink that writes down every request of a frame in order, so tests
// can check which sound came in which step and what each drawing step saw.

#include "rules/frame_sink.h"
#include "rules/world.h"

#include <string>
#include <vector>

namespace gametest {

class RecordingSink : public game::FrameSink {
public:
    // "sound 1", "music", "background", "pimuru 0", "splash 0", "ball",
    // "drifter 3", "effect 7", "texts", "borders", "last score".
    std::vector<std::string> events;

    void PlaySound(game::SoundEffect effect) override {
        events.push_back("sound " + std::to_string(static_cast<int>(effect)));
    }
    void RestartMusic() override { events.push_back("music"); }
    void DrawBackground(const game::World&) override { events.push_back("background"); }
    void DrawPimuru(const game::World& world, int index) override {
        events.push_back("pimuru " + std::to_string(index));
        if (world.SplashOf(index).Shown) {
            events.push_back("splash " + std::to_string(index));
        }
    }
    void DrawBall(const game::World&) override { events.push_back("ball"); }
    void DrawDrifter(const game::World&, int slot) override {
        events.push_back("drifter " + std::to_string(slot));
    }
    void DrawEffect(const game::World&, int slot) override {
        events.push_back("effect " + std::to_string(slot));
    }
    void DrawTexts(const game::World&) override { events.push_back("texts"); }
    void DrawBorders(const game::World&) override { events.push_back("borders"); }
    void DrawLastScore(const game::World&) override { events.push_back("last score"); }

    int Count(const std::string& event) const {
        int n = 0;
        for (const std::string& e : events) {
            n += e == event;
        }
        return n;
    }
    bool Has(const std::string& event) const { return Count(event) > 0; }
    // Index of the first occurrence, or -1.
    int IndexOf(const std::string& event) const {
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (events[i] == event) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

} // namespace gametest
