// The replay file: what is written reads back the same, and every kind of
// fault in a file from elsewhere gives its message.
#include "replay/replay_file.h"
#include "replay/replay_messages.h"
#include "support/scripted_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

namespace {

using replay::DecodeReplay;
using replay::EncodeReplay;
using Bytes = std::vector<std::uint8_t>;

replay::Replay ShortRun() {
    static const replay::Replay run = testsupport::RecordScriptedRun({.Seed = 7, .Frames = 500});
    return run;
}

std::string ErrorOf(const Bytes& bytes) {
    const replay::DecodedReplay decoded = DecodeReplay(bytes);
    EXPECT_FALSE(decoded.Value.has_value());
    return decoded.Error;
}

// Little-endian u32 at an offset, the file then sealed again as its writer would.
Bytes WithU32(Bytes bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    replay::SealReplayFile(bytes);
    return bytes;
}

// Offset of the frame count: magic, version, length, the version text, carry-over, options, date.
std::size_t FrameCountOffset(const replay::Replay& r) {
    return 14 + 1 + r.ProgramVersion.size() + 8 + 1 + 8;
}

TEST(ReplayFile, EveryModeReadsBackAsWritten) {
    for (const testsupport::ScriptedRun& run :
         {testsupport::ScriptedRun{.Seed = 1, .Frames = 0},
          testsupport::ScriptedRun{.Seed = 2, .Frames = 1234, .Start = {0xDEADBEEF, 770}},
          testsupport::ScriptedRun{
              .Seed = 3, .CoupleMode = true, .SecondByKeys = true, .Frames = 999},
          testsupport::ScriptedRun{.Seed = 4, .Hard = true, .Frames = 800},
          testsupport::ScriptedRun{.Seed = 5, .HardFromFrame = 300, .Frames = 801}}) {
        const replay::Replay written = testsupport::RecordScriptedRun(run);
        const replay::DecodedReplay read = DecodeReplay(EncodeReplay(written));
        ASSERT_TRUE(read.Value) << read.Error;
        const replay::Replay& r = *read.Value;
        EXPECT_EQ(r.ProgramVersion, written.ProgramVersion);
        EXPECT_EQ(r.Start, written.Start);
        EXPECT_EQ(r.CoupleMode, written.CoupleMode);
        EXPECT_EQ(r.Hard, written.Hard);
        EXPECT_EQ(r.StartedAt, written.StartedAt);
        EXPECT_EQ(r.Checksums, written.Checksums);
        EXPECT_EQ(r.FinalChecksum, written.FinalChecksum);
        EXPECT_EQ(r.FinalScore, written.FinalScore);
        EXPECT_EQ(r.BestRallyScore, written.BestRallyScore);
        EXPECT_EQ(r.FinalHighScore, written.FinalHighScore);
        ASSERT_EQ(r.FrameCount(), written.FrameCount());
        for (std::size_t i = 0; i < r.Inputs.size(); ++i)
            ASSERT_TRUE(r.Inputs[i] == written.Inputs[i]) << "frame " << i;
    }
    // A version text the reader would refuse is written so that it reads.
    replay::Replay odd = ShortRun();
    odd.ProgramVersion = std::string(70, 'v') + "\x1b[2J";
    const replay::DecodedReplay read = DecodeReplay(EncodeReplay(odd));
    ASSERT_TRUE(read.Value) << read.Error;
    EXPECT_EQ(read.Value->ProgramVersion, std::string(64, 'v'));
    odd.ProgramVersion = "1.1\n";
    EXPECT_EQ(DecodeReplay(EncodeReplay(odd)).Value->ProgramVersion, "1.1?");
}

TEST(ReplayFile, EachFaultGivesItsMessage) {
    const replay::Replay run = ShortRun();
    const Bytes good = EncodeReplay(run);

    EXPECT_EQ(ErrorOf(Bytes(good.begin(), good.end() - 1)), replay::messages::Truncated());
    EXPECT_EQ(ErrorOf(Bytes(good.begin(), good.begin() + 5)), replay::messages::Truncated());
    EXPECT_EQ(ErrorOf({}), replay::messages::NotAReplay());
    Bytes other = good;
    other[0] = 'Q';
    EXPECT_EQ(ErrorOf(other), replay::messages::NotAReplay());

    Bytes future = good;
    future[8] = 2;
    replay::SealReplayFile(future);
    EXPECT_EQ(ErrorOf(future), replay::messages::FutureFormat(2));

    Bytes longer = good;
    longer.push_back(0);
    EXPECT_EQ(ErrorOf(longer), replay::messages::BadContent("ファイルの長さ"));

    // A file far larger than its content could honestly need, for frames
    // that nothing in it holds: refused before any memory is taken for them.
    const std::size_t frames = FrameCountOffset(run);
    EXPECT_EQ(ErrorOf(WithU32(good, frames, 0xFFFFFFFF)),
              replay::messages::BadContent("フレーム数"));
    EXPECT_EQ(ErrorOf(WithU32(good, frames, 0x7FFFFFFF)),
              replay::messages::BadContent("検査値の数"));
    EXPECT_EQ(ErrorOf(WithU32(good, frames, 501)), replay::messages::BadContent("入力"));
    // The checksum count, behind the scores and the final checksum.
    EXPECT_EQ(ErrorOf(WithU32(good, frames + 4 + 12 + 8, 0x10000000)),
              replay::messages::BadContent("検査値の数"));
}

TEST(ReplayFile, AnyChangedByteIsRefused) {
    const Bytes good = EncodeReplay(ShortRun());
    for (std::size_t i = 0; i < good.size(); ++i) {
        Bytes changed = good;
        changed[i] ^= 0x20;
        EXPECT_FALSE(DecodeReplay(changed).Value) << "byte " << i;
    }
    Bytes sealed = good;
    sealed[good.size() - 9] ^= 1;
    EXPECT_EQ(ErrorOf(sealed), replay::messages::BadFileChecksum());
}

TEST(ReplayFile, AChangedHeadUnderABrokenSealIsDamage) {
    const Bytes good = EncodeReplay(ShortRun());
    Bytes version = good;
    version[9] = 0x5A; // format 23041, were the seal not checked first
    EXPECT_EQ(ErrorOf(version), replay::messages::BadFileChecksum());
    // A length one short of the file, and one far beyond it ("cut short").
    for (const std::uint32_t wrong : {good.size() - 1, good.size() + 0x10000}) {
        Bytes length = good;
        for (int i = 0; i < 4; ++i)
            length[10 + i] = static_cast<std::uint8_t>(wrong >> (8 * i));
        EXPECT_EQ(ErrorOf(length), replay::messages::BadFileChecksum()) << wrong;
    }
}

// A forged file, correctly sealed, that claims millions of frames: the reader
// holds them in memory in proportion to the bytes that are there, for a long
// wait without input as for a run whose input changes every frame.
TEST(ReplayFile, MemoryStaysInProportionToTheFile) {
    game::FrameInput left;
    left.Pads[0].Dx = -1;
    replay::Replay idle;
    idle.Inputs.Append(left, 3'000'000);
    replay::Replay busy;
    for (int f = 0; f < 200'000; ++f)
        busy.Inputs.Append(f % 2 ? left : game::FrameInput{});
    for (replay::Replay* forged : {&idle, &busy}) {
        forged->Checksums.assign(forged->Inputs.size() / replay::kChecksumInterval, 0x5EED);
        const Bytes bytes = EncodeReplay(*forged);
        const replay::DecodedReplay read = DecodeReplay(bytes);
        ASSERT_TRUE(read.Value) << read.Error;
        const replay::Replay& r = *read.Value;
        EXPECT_EQ(r.FrameCount(), forged->FrameCount());
        EXPECT_EQ(r.Inputs[r.Inputs.size() - 1].Pads[0].Dx, -1);
        const std::size_t held = r.Inputs.HeapBytes() +
                                 r.Checksums.capacity() * sizeof(std::uint64_t) +
                                 r.ProgramVersion.capacity();
        EXPECT_LE(held, 3 * bytes.size()) << bytes.size() << "-byte file";
    }
}

TEST(ReplayFile, UnreadableFilesGiveAMessage) {
    testsupport::TempDir dir;
    EXPECT_EQ(replay::ReadReplayFile(dir.File("missing")).Error,
              replay::messages::CannotOpen(ENOENT));
    EXPECT_EQ(replay::ReadReplayFile(dir.Path().string()).Error,
              replay::messages::CannotOpen(EISDIR));
    std::ofstream(dir.File("huge")).seekp(replay::kMaxFileBytes) << 'x';
    EXPECT_EQ(replay::ReadReplayFile(dir.File("huge")).Error, replay::messages::TooLarge());
    // A named pipe without a writer reads as empty instead of waiting for one.
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(replay::ReadReplayFile(dir.File("pipe")).Error, replay::messages::NotAReplay());
    const Bytes good = EncodeReplay(ShortRun());
    testsupport::WriteFileBytes(dir.File("good"), std::string(good.begin(), good.end()));
    EXPECT_TRUE(replay::ReadReplayFile(dir.File("good")).Value);
}

} // namespace
