// The committed tune read back as a standard MIDI file: well formed, every
// note ended, General MIDI instruments and drums, and a length of one to
// two minutes.

#include "committed_data.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace toolstest {
namespace {

struct Song {
    int format = -1, tracks = 0, division = 0;
    std::uint32_t microsPerQuarter = 0;
    std::uint32_t lastTick = 0;
    std::set<int> channels, programs;
    int notes = 0, unmatched = 0, drumNotes = 0;
    bool malformed = false;
};

std::uint32_t BE(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

Song Read(const std::string& b) {
    Song s;
    if (b.size() < 14 || b.substr(0, 4) != "MThd" || BE(b, 4, 4) != 6) {
        s.malformed = true;
        return s;
    }
    s.format = static_cast<int>(BE(b, 8, 2));
    s.tracks = static_cast<int>(BE(b, 10, 2));
    s.division = static_cast<int>(BE(b, 12, 2));
    std::size_t at = 14;
    std::map<std::pair<int, int>, int> sounding;
    for (int t = 0; t < s.tracks; ++t) {
        if (at + 8 > b.size() || b.substr(at, 4) != "MTrk") {
            s.malformed = true;
            return s;
        }
        const std::size_t end = at + 8 + BE(b, at + 4, 4);
        if (end > b.size()) {
            s.malformed = true;
            return s;
        }
        at += 8;
        std::uint32_t tick = 0;
        int status = 0;
        bool ended = false;
        while (at < end && !ended) {
            std::uint32_t delta = 0;
            int c;
            do {
                c = static_cast<std::uint8_t>(b[at++]);
                delta = delta << 7 | (c & 0x7F);
            } while ((c & 0x80) && at < end);
            tick += delta;
            if (static_cast<std::uint8_t>(b[at]) & 0x80)
                status = static_cast<std::uint8_t>(b[at++]);
            if (status == 0xFF) {
                const int type = static_cast<std::uint8_t>(b[at]);
                const int length = static_cast<std::uint8_t>(b[at + 1]);
                if (type == 0x51)
                    s.microsPerQuarter = BE(b, at + 2, 3);
                ended = type == 0x2F;
                at += 2 + length;
                continue;
            }
            const int kind = status & 0xF0, channel = status & 0x0F;
            s.channels.insert(channel);
            if (kind == 0xC0) {
                s.programs.insert(static_cast<std::uint8_t>(b[at++]));
                continue;
            }
            const int key = static_cast<std::uint8_t>(b[at]);
            const int velocity = static_cast<std::uint8_t>(b[at + 1]);
            at += 2;
            if (kind == 0x90 && velocity > 0) {
                ++sounding[{channel, key}];
                ++s.notes;
                s.drumNotes += channel == 9 ? 1 : 0;
            } else if (kind == 0x80 || kind == 0x90) {
                if (sounding[{channel, key}]-- <= 0)
                    ++s.unmatched;
            }
            s.lastTick = std::max(s.lastTick, tick);
        }
        if (!ended || at != end)
            s.malformed = true;
        at = end;
    }
    for (const auto& [note, count] : sounding)
        s.unmatched += count != 0 ? 1 : 0;
    return s;
}

TEST(ThemeTune, IsAWellFormedFileWhoseNotesAllEnd) {
    const Song song = Read(CommittedFile("TIME.MID"));
    ASSERT_FALSE(song.malformed);
    EXPECT_TRUE(song.format == 0 || song.format == 1);
    EXPECT_GT(song.division, 0);
    EXPECT_GT(song.notes, 500);
    EXPECT_EQ(song.unmatched, 0);
}

TEST(ThemeTune, UsesInstrumentsAndDrums) {
    const Song song = Read(CommittedFile("TIME.MID"));
    EXPECT_GE(song.programs.size(), 4u);
    EXPECT_TRUE(song.channels.count(9)) << "no drum channel";
    EXPECT_GT(song.drumNotes, 100);
}

TEST(ThemeTune, LastsBetweenOneAndTwoMinutes) {
    const Song song = Read(CommittedFile("TIME.MID"));
    ASSERT_GT(song.microsPerQuarter, 0u);
    const double seconds =
        static_cast<double>(song.lastTick) / song.division * song.microsPerQuarter / 1e6;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);
}

} // namespace
} // namespace toolstest
