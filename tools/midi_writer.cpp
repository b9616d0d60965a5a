#include "midi_writer.h"

#include "byte_writer.h"

#include <algorithm>
#include <stdexcept>

namespace datamaker {
namespace {

void PutVarLength(std::string& out, std::uint32_t v) {
    char groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<char>(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    while (n > 1)
        out.push_back(static_cast<char>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

void CheckChannelData(int channel, int a, int b) {
    if (channel < 0 || channel > 15 || a < 0 || a > 127 || b < 0 || b > 127)
        throw std::out_of_range("MIDI channel or data byte out of range");
}

} // namespace

void MidiTrack::Add(std::uint32_t tick, int order, std::string bytes) {
    events_.push_back({tick, order, static_cast<std::uint32_t>(events_.size()), std::move(bytes)});
}

void MidiTrack::Name(std::uint32_t tick, const std::string& name) {
    std::string b = Bytes({0xFF, 0x03});
    PutVarLength(b, static_cast<std::uint32_t>(name.size()));
    Add(tick, 0, b + name);
}

void MidiTrack::Tempo(std::uint32_t tick, int beatsPerMinute) {
    const std::uint32_t microsPerQuarter = 60000000u / static_cast<std::uint32_t>(beatsPerMinute);
    Add(tick, 0,
        Bytes({0xFF, 0x51, 0x03, static_cast<int>((microsPerQuarter >> 16) & 0xFF),
               static_cast<int>((microsPerQuarter >> 8) & 0xFF), static_cast<int>(microsPerQuarter & 0xFF)}));
}

void MidiTrack::TimeSignature(std::uint32_t tick, int numerator, int denominatorPower) {
    Add(tick, 0, Bytes({0xFF, 0x58, 0x04, numerator, denominatorPower, 24, 8}));
}

void MidiTrack::Program(std::uint32_t tick, int channel, int program) {
    CheckChannelData(channel, program, 0);
    Add(tick, 1, Bytes({0xC0 | channel, program}));
}

void MidiTrack::Controller(std::uint32_t tick, int channel, int controller, int value) {
    CheckChannelData(channel, controller, value);
    Add(tick, 1, Bytes({0xB0 | channel, controller, value}));
}

void MidiTrack::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
    CheckChannelData(channel, key, velocity);
    if (velocity == 0 || length == 0)
        throw std::invalid_argument("a note needs a velocity and a length");
    Add(tick, 3, Bytes({0x90 | channel, key, velocity}));
    Add(tick + length, 2, Bytes({0x80 | channel, key, 0x40}));
}

std::uint32_t MidiTrack::EndTick() const {
    std::uint32_t end = 0;
    for (const Event& e : events_)
        end = std::max(end, e.tick);
    return end;
}

std::string MidiTrack::Encode(std::uint32_t endTick) const {
    std::vector<Event> sorted = events_;
    std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.order != b.order)
            return a.order < b.order;
        return a.sequence < b.sequence;
    });
    std::string body;
    std::uint32_t now = 0;
    for (const Event& e : sorted) {
        PutVarLength(body, e.tick - now);
        body += e.bytes;
        now = e.tick;
    }
    PutVarLength(body, std::max(endTick, now) - now);
    body += Bytes({0xFF, 0x2F, 0x00});
    std::string out = "MTrk";
    PutBE32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

std::string EncodeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter, std::uint32_t endTick) {
    std::uint32_t end = endTick;
    for (const MidiTrack& t : tracks)
        end = std::max(end, t.EndTick());
    std::string out = "MThd";
    PutBE32(out, 6);
    PutBE16(out, 1);
    PutBE16(out, static_cast<std::uint32_t>(tracks.size()));
    PutBE16(out, static_cast<std::uint32_t>(ticksPerQuarter));
    for (const MidiTrack& t : tracks)
        out += t.Encode(end);
    return out;
}

} // namespace datamaker
