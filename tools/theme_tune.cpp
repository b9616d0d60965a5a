#include "theme_tune.h"

#include "midi_writer.h"

#include <array>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace datamaker {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr std::uint32_t kSixteenth = kTicksPerQuarter / 4;
constexpr std::uint32_t kBar = 16 * kSixteenth;
constexpr int kTempo = 150;

// General MIDI channels and programs (numbered from 0).
enum Channel { kLead = 0, kSteel = 1, kMarimba = 2, kBass = 3, kPad = 4, kGlocken = 5, kDrums = 9 };

// Drum keys.
constexpr int kKick = 36, kSnare = 38, kClap = 39, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kRide = 51,
              kLowTom = 45, kMidTom = 47, kHighTom = 50, kTambourine = 54;

struct Chord {
    int root;  // MIDI key of the root in octave 3 (C3 = 48)
    int third; // 3 minor, 4 major
    int seventh; // 0 none, 10 dominant
};

Chord ParseChord(const std::string& name) {
    static const std::array<std::pair<char, int>, 7> roots = {
        {{'C', 48}, {'D', 50}, {'E', 52}, {'F', 53}, {'G', 55}, {'A', 57}, {'B', 59}}};
    for (const auto& [letter, key] : roots) {
        if (name[0] == letter) {
            const bool minor = name.find('m') != std::string::npos;
            const bool seventh = name.find('7') != std::string::npos;
            return {key, minor ? 3 : 4, seventh ? 10 : 0};
        }
    }
    throw std::invalid_argument("unknown chord " + name);
}

struct Note {
    int key; // -1 rest
    std::uint32_t sixteenths;
};

// "E5:2 G5:2 C6:4 R:4": note names with octave (C4 = 60) and lengths in
// sixteenth notes.
std::vector<Note> ParseMelody(const std::string& text) {
    static const std::array<int, 7> pitch = {9, 11, 0, 2, 4, 5, 7}; // A..G
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        const auto colon = token.find(':');
        const std::string name = token.substr(0, colon);
        const auto length = static_cast<std::uint32_t>(std::stoi(token.substr(colon + 1)));
        if (name == "R") {
            notes.push_back({-1, length});
            continue;
        }
        int key = pitch[name[0] - 'A'];
        std::size_t i = 1;
        if (name[i] == '#') {
            ++key;
            ++i;
        } else if (name[i] == 'b') {
            --key;
            ++i;
        }
        key += (std::stoi(name.substr(i)) + 1) * 12;
        notes.push_back({key, length});
    }
    return notes;
}

struct Section {
    std::vector<std::string> chords; // one entry per bar; "F G" splits a bar
    std::string melody;
    int melodyChannel;
    bool glockenspiel; // doubles the melody an octave higher
    int drumStyle;     // 0 sparse intro, 1 full, 2 light bridge, 3 final hit
};

const std::vector<std::string> kVerseChords = {"C", "Am", "F", "G", "C", "Am", "F G", "C"};

const std::string kVerseStart = "E5:2 G5:2 C6:4 B5:2 A5:2 G5:4 "
                                "A5:2 C6:2 E6:4 D6:2 C6:2 A5:4 "
                                "F5:2 A5:2 C6:2 A5:2 G5:4 F5:4 "
                                "G5:3 A5:1 B5:2 D6:2 G5:8 ";
const std::string kVerse = kVerseStart + "E5:2 G5:2 C6:4 B5:2 C6:2 D6:4 "
                                         "E6:4 D6:2 C6:2 A5:4 C6:4 "
                                         "A5:2 C6:2 F6:4 D6:2 B5:2 G5:4 "
                                         "C6:6 G5:2 C6:8";
const std::string kVerseAnswer = kVerseStart + "G5:2 C6:2 E6:4 D6:2 C6:2 G5:4 "
                                               "A5:2 C6:2 E6:2 G6:2 E6:4 C6:4 "
                                               "F6:4 E6:2 D6:2 D6:2 B5:2 G5:4 "
                                               "C6:12 R:4";

std::vector<Section> Song() {
    return {
        {{"C", "Am", "F", "G"}, "R:16 R:16 R:16 R:8 G5:2 A5:2 B5:2 D6:2", kLead, false, 0},
        {kVerseChords, kVerse, kLead, false, 1},
        {kVerseChords, kVerseAnswer, kLead, false, 1},
        {{"F", "G", "Em", "Am", "Dm", "G", "C", "G7"},
         "A5:3 A5:3 C6:2 A5:2 G5:2 F5:4 "
         "B5:3 B5:3 D6:2 B5:2 A5:2 G5:4 "
         "G5:2 B5:2 E6:4 D6:2 B5:2 G5:4 "
         "A5:2 C6:2 E6:2 C6:2 A5:8 "
         "F5:2 A5:2 D6:4 C6:2 A5:2 F5:4 "
         "G5:2 B5:2 D6:4 F6:4 D6:4 "
         "E6:4 C6:2 G5:2 E6:4 G6:4 "
         "F6:2 E6:2 D6:2 B5:2 G5:4 R:4",
         kLead, false, 1},
        {{"Am", "F", "C", "G", "Am", "F", "D", "G7"},
         "A5:2 E5:2 A5:2 B5:2 C6:4 B5:4 "
         "A5:2 F5:2 A5:2 C6:2 F6:4 E6:4 "
         "E6:2 D6:2 C6:2 G5:2 E5:4 G5:4 "
         "D6:4 B5:4 G5:8 "
         "C6:2 B5:2 A5:2 E5:2 A5:4 C6:4 "
         "F6:2 E6:2 D6:2 C6:2 A5:4 F5:4 "
         "F#5:2 A5:2 D6:2 F#6:2 E6:4 D6:4 "
         "D6:2 E6:2 F6:2 D6:2 B5:4 G5:4",
         kSteel, false, 2},
        {kVerseChords, kVerse, kLead, true, 1},
        {kVerseChords, kVerseAnswer, kLead, true, 1},
        {{"F G", "C"}, "A5:2 C6:2 F6:4 G6:2 F6:2 D6:2 B5:2 C6:8 R:8", kLead, true, 3},
    };
}

class Arranger {
public:
    Arranger() : tracks_(7) {
        MidiTrack& conductor = tracks_[0];
        conductor.Name(0, "TIME");
        conductor.Tempo(0, kTempo);
        conductor.TimeSignature(0, 4, 2);
        const std::array<const char*, 7> names = {"", "Lead", "Marimba", "Bass", "Strings", "Glockenspiel", "Drums"};
        for (std::size_t t = 1; t < names.size(); ++t)
            tracks_[t].Name(0, names[t]);
        // The lead track carries the square lead and, in the bridge, steel drums.
        SetUp(1, kLead, 80, 92, 64);
        SetUp(1, kSteel, 114, 127, 72);
        SetUp(2, kMarimba, 12, 96, 40);
        SetUp(3, kBass, 33, 96, 64);
        SetUp(4, kPad, 48, 64, 88);
        SetUp(5, kGlocken, 9, 104, 80);
        SetUp(6, kDrums, 0, 104, 64);
    }

    void Add(const Section& section) {
        const std::uint32_t start = now_;
        AddMelody(section, start);
        for (std::size_t bar = 0; bar < section.chords.size(); ++bar) {
            const std::uint32_t barStart = start + static_cast<std::uint32_t>(bar) * kBar;
            std::istringstream names(section.chords[bar]);
            std::vector<Chord> chords;
            std::string name;
            while (names >> name)
                chords.push_back(ParseChord(name));
            const bool last = bar + 1 == section.chords.size();
            if (section.drumStyle == 3 && last) {
                FinalHit(chords.back(), barStart);
                continue;
            }
            const std::uint32_t span = kBar / static_cast<std::uint32_t>(chords.size());
            for (std::size_t c = 0; c < chords.size(); ++c)
                Accompany(chords[c], barStart + static_cast<std::uint32_t>(c) * span, span, section.drumStyle);
            Drums(barStart, section.drumStyle, bar == 0, last);
        }
        now_ = start + static_cast<std::uint32_t>(section.chords.size()) * kBar;
    }

    std::string Encode() {
        // Two bars of room for the final chord to ring out.
        return EncodeMidiFile(tracks_, kTicksPerQuarter, now_ + 2 * kBar);
    }

private:
    void SetUp(int track, int channel, int program, int volume, int pan) {
        MidiTrack& t = tracks_[track];
        if (channel != kDrums)
            t.Program(0, channel, program);
        t.Controller(0, channel, 7, volume);
        t.Controller(0, channel, 10, pan);
        t.Controller(0, channel, 91, 40); // a little reverb
    }

    void AddMelody(const Section& section, std::uint32_t start) {
        std::uint32_t t = start;
        std::uint32_t total = 0;
        for (const Note& n : ParseMelody(section.melody)) {
            const std::uint32_t length = n.sixteenths * kSixteenth;
            if (n.key >= 0) {
                const int accent = (t % kBar == 0) ? 12 : (t % (kBar / 4) == 0 ? 6 : 0);
                const std::uint32_t gate = length - (length >= 4 * kSixteenth ? 40 : 24);
                tracks_[1].Note(t, gate, section.melodyChannel, n.key, 92 + accent);
                if (section.glockenspiel)
                    tracks_[5].Note(t, gate, kGlocken, n.key + 12, 80 + accent);
            }
            t += length;
            total += n.sixteenths;
        }
        if (total != 16 * section.chords.size())
            throw std::logic_error("a melody does not fill its bars");
    }

    void Accompany(const Chord& chord, std::uint32_t start, std::uint32_t span, int style) {
        const int fifth = 7;
        // Bass: a bouncing line of eighths, root, octave and fifth.
        const std::array<int, 8> bassSteps = {0, 0, 12, 0, fifth, 0, 12, fifth};
        const int bassRoot = chord.root - 12;
        const std::uint32_t eighth = 2 * kSixteenth;
        for (std::uint32_t i = 0; i * eighth < span; ++i) {
            if (style == 2 && i % 2 == 1)
                continue; // the bridge walks in quarters
            const std::uint32_t length = style == 2 ? 2 * eighth : eighth;
            tracks_[3].Note(start + i * eighth, length - 30, kBass, bassRoot + bassSteps[i % 8],
                            i % 4 == 0 ? 108 : 92);
        }
        // Marimba: the chord broken into eighths, climbing and turning back.
        const int third = chord.third;
        const std::array<int, 8> arpeggio = {0, fifth, 12, 12 + third, 12 + fifth, 12 + third, 12, fifth};
        for (std::uint32_t i = 0; i * eighth < span; ++i)
            tracks_[2].Note(start + i * eighth, eighth - 20, kMarimba, chord.root + 12 + arpeggio[i % 8],
                            i % 2 == 0 ? 84 : 70);
        // Strings: the held chord, with the seventh when there is one.
        if (style != 0) {
            const int top = chord.seventh ? chord.seventh : 12;
            for (int step : {0, third, fifth, top})
                tracks_[4].Note(start, span - 20, kPad, chord.root + 12 + step, style == 2 ? 62 : 54);
        }
    }

    void Drums(std::uint32_t bar, int style, bool first, bool last) {
        MidiTrack& d = tracks_[6];
        auto hit = [&](int sixteenth, int key, int velocity) {
            d.Note(bar + static_cast<std::uint32_t>(sixteenth) * kSixteenth, kSixteenth, kDrums, key, velocity);
        };
        if (first && style != 0)
            hit(0, kCrash, 100);
        if (style == 0) {
            // The intro: kick and hats, the snare joining in its second half.
            for (int i = 0; i < 16; i += 2)
                hit(i, kClosedHat, i % 4 == 0 ? 80 : 60);
            hit(0, kKick, 100);
            hit(8, kKick, 90);
            if (bar / kBar >= 2) { // the intro opens the song, so this is its bar number
                hit(4, kSnare, 90);
                hit(12, kSnare, 96);
            }
        } else if (style == 2) {
            // The bridge: ride, claps and tambourine, lighter.
            for (int i = 0; i < 16; i += 2)
                hit(i, kRide, i % 4 == 0 ? 78 : 60);
            hit(0, kKick, 96);
            hit(10, kKick, 80);
            hit(4, kClap, 84);
            hit(12, kClap, 84);
            for (int i = 2; i < 16; i += 4)
                hit(i, kTambourine, 58);
        } else {
            for (int i = 0; i < 16; i += 2)
                hit(i, i == 14 ? kOpenHat : kClosedHat, i % 4 == 0 ? 84 : 64);
            hit(0, kKick, 110);
            hit(6, kKick, 84);
            hit(8, kKick, 104);
            hit(4, kSnare, 100);
            hit(12, kSnare, 104);
        }
        if (last && style != 0) {
            // A fill into the next section.
            const int toms[] = {kHighTom, kHighTom, kMidTom, kLowTom};
            for (int i = 0; i < 4; ++i)
                hit(12 + i, style == 2 ? kSnare : toms[i], 80 + 6 * i);
        }
    }

    void FinalHit(const Chord& chord, std::uint32_t start) {
        const std::uint32_t ring = kBar;
        tracks_[3].Note(start, ring, kBass, chord.root - 12, 110);
        for (int step : {0, 7, 12, 12 + chord.third, 19})
            tracks_[2].Note(start, kSixteenth * 6, kMarimba, chord.root + 12 + step, 96);
        for (int step : {0, chord.third, 7, 12})
            tracks_[4].Note(start, ring, kPad, chord.root + 12 + step, 70);
        tracks_[6].Note(start, kSixteenth, kDrums, kCrash, 110);
        tracks_[6].Note(start, kSixteenth, kDrums, kKick, 112);
    }

    std::vector<MidiTrack> tracks_;
    std::uint32_t now_ = 0;
};

} // namespace

std::string MakeThemeTune() {
    Arranger arranger;
    for (const Section& section : Song())
        arranger.Add(section);
    return arranger.Encode();
}

} // namespace datamaker
