#pragma once
// Builds standard MIDI files (format 1): each track collects timed events,
// which are written sorted by time with running deltas.

#include <cstdint>
#include <string>
#include <vector>

namespace datamaker {

class MidiTrack {
public:
    void Name(std::uint32_t tick, const std::string& name);
    void Tempo(std::uint32_t tick, int beatsPerMinute);
    void TimeSignature(std::uint32_t tick, int numerator, int denominatorPower);
    void Program(std::uint32_t tick, int channel, int program);
    void Controller(std::uint32_t tick, int channel, int controller, int value);
    // A note from tick to tick + length; its note-off sorts before any
    // note-on at the same time, so repeated notes are not cut short.
    void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);

    std::uint32_t EndTick() const;
    // The track chunk ("MTrk", length, events, end of track at endTick or
    // after the last event, whichever is later).
    std::string Encode(std::uint32_t endTick) const;

private:
    struct Event {
        std::uint32_t tick;
        int order; // events at the same tick: meta, controls, note-offs, note-ons
        std::uint32_t sequence;
        std::string bytes;
    };
    void Add(std::uint32_t tick, int order, std::string bytes);
    std::vector<Event> events_;
};

// A format 1 file with the given ticks per quarter note; every track ends
// at the same tick: the last event of any track, or endTick if later (room
// for the last notes to ring out).
std::string EncodeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter, std::uint32_t endTick = 0);

} // namespace datamaker
