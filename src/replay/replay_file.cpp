// The replay file, format 1. Little-endian throughout:
//   "PIMURURP"  magic
//   u16         format version
//   u32         length of the whole file in bytes
//   u8 n, n bytes  program version (UTF-8, no control characters, n <= 64)
//   u32 seed, i32 high score     the carry-over the run started from
//   u8          options: bit 0 two-player couple mode, bit 1 harder game
//   i64         start time, seconds since 1970 (UTC)
//   u32         frame count
//   i32 final score, i32 best rally score, i32 final high score
//   u64         world checksum after the last frame
//   u32 count, count × u64   world checksums every kChecksumInterval frames
//   u32 size, size bytes     inputs as runs: u16 packed input, LEB128 run length
//                            (each run as long as it can be, counts in their
//                            shortest form: a replay has exactly one file)
//   u64         FNV-1a of every byte before it
// Every format, this one and any after it, begins with the magic, the version
// and the length and ends with that seal: so a reader tells a damaged file
// from a newer one.
// Inputs change only a few times a second, so the runs keep an hour of busy
// play near 125 kB (2 kB a minute), a fifth of it the checksums. zlib would
// about halve that: too little to be worth a decompressor in the reader of
// files from strangers and a library in every build of the checker.
#include "replay/replay_file.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/fnv1a.h"
#include "replay/input_code.h"
#include "replay/replay_messages.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace replay {

using base::ByteReader;
using base::ByteWriter;

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'P', 'I', 'M', 'U', 'R', 'U', 'R', 'P'};
constexpr std::size_t kLengthOffset = 10;
constexpr std::size_t kHeadBytes = 14; // magic, version, length
constexpr std::size_t kSealBytes = 8;
constexpr std::size_t kMaxVersionText = 64;
constexpr std::uint8_t kCoupleMode = 1;
constexpr std::uint8_t kHard = 2;
// The world's frame counter is a 32-bit signed number.
constexpr std::uint32_t kMaxFrames = 0x7FFFFFFF;

std::uint64_t HashOf(std::span<const std::uint8_t> bytes) {
    base::Fnv1a hash;
    hash.AddBytes(bytes);
    return hash.Value();
}

// Whether the bytes end in the seal they would have with `length` as the
// stated length. bytes: at least a head and a seal.
bool SealedAs(std::span<const std::uint8_t> bytes, std::uint32_t length) {
    base::Fnv1a hash;
    hash.AddBytes(bytes.first(kLengthOffset));
    for (int i = 0; i < 4; ++i)
        hash.AddByte(static_cast<std::uint8_t>(length >> (8 * i)));
    const std::size_t body = bytes.size() - kSealBytes;
    hash.AddBytes(bytes.subspan(kHeadBytes, body - kHeadBytes));
    ByteReader seal(bytes.subspan(body));
    return seal.U64() == hash.Value();
}

// Control characters are kept out of the version text: it is printed.
bool IsControl(std::uint8_t c) {
    return c < 0x20 || c == 0x7F;
}

void WriteInputs(ByteWriter& out, const InputRuns& inputs) {
    ByteWriter runs;
    std::uint32_t start = 0;
    for (const InputRuns::Run& run : inputs.Runs()) {
        runs.U16(run.Bits);
        runs.Count(run.End - start);
        start = run.End;
    }
    out.U32(static_cast<std::uint32_t>(runs.Result().size()));
    out.Bytes(runs.Result());
}

// Reads the runs twice: first to learn they are sound and add up to the frame
// count, then to keep them, in memory taken once for as many runs as there
// are (a run takes at least three bytes of the file). A file read back is
// written again byte for byte (the fuzzer holds it to that).
bool ReadInputs(std::span<const std::uint8_t> runs, std::uint32_t frames, InputRuns& inputs) {
    std::uint64_t total = 0;
    std::size_t count = 0;
    int previous = -1;
    for (ByteReader in(runs); !in.AtEnd(); ++count) {
        const std::uint16_t bits = in.U16();
        const std::uint32_t length = in.Count();
        // A run is as long as it can be, so that a replay has one file.
        if (in.Failed() || !UnpackInput(bits) || length == 0 || bits == previous)
            return false;
        previous = bits;
        total += length;
        if (total > frames)
            return false;
    }
    if (total != frames)
        return false;
    inputs.ReserveRuns(count);
    for (ByteReader in(runs); !in.AtEnd();) {
        const game::FrameInput input = *UnpackInput(in.U16());
        inputs.Append(input, in.Count());
    }
    return true;
}

DecodedReplay Fault(std::string message) {
    return DecodedReplay{std::nullopt, std::move(message)};
}

} // namespace

void SealReplayFile(std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kHeadBytes + kSealBytes)
        return;
    const auto length = static_cast<std::uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i)
        bytes[kLengthOffset + i] = static_cast<std::uint8_t>(length >> (8 * i));
    const std::size_t body = bytes.size() - kSealBytes;
    const std::uint64_t hash = HashOf(std::span(bytes).first(body));
    for (int i = 0; i < 8; ++i)
        bytes[body + i] = static_cast<std::uint8_t>(hash >> (8 * i));
}

std::vector<std::uint8_t> EncodeReplay(const Replay& replay) {
    ByteWriter out;
    out.Bytes(kMagic);
    out.U16(kFormatVersion);
    out.U32(0); // the length, sealed at the end
    // Written so that the reader takes it: short, without control characters.
    std::vector<std::uint8_t> version(replay.ProgramVersion.begin(), replay.ProgramVersion.end());
    version.resize(std::min(version.size(), kMaxVersionText));
    std::replace_if(version.begin(), version.end(), IsControl, '?');
    out.U8(static_cast<std::uint8_t>(version.size()));
    out.Bytes(version);
    out.U32(replay.Start.RandomSeed);
    out.I32(replay.Start.HighScore);
    out.U8(static_cast<std::uint8_t>((replay.CoupleMode ? kCoupleMode : 0) |
                                     (replay.Hard ? kHard : 0)));
    out.I64(replay.StartedAt);
    out.U32(static_cast<std::uint32_t>(replay.Inputs.size()));
    out.I32(replay.FinalScore);
    out.I32(replay.BestRallyScore);
    out.I32(replay.FinalHighScore);
    out.U64(replay.FinalChecksum);
    out.U32(static_cast<std::uint32_t>(replay.Checksums.size()));
    for (std::uint64_t checksum : replay.Checksums)
        out.U64(checksum);
    WriteInputs(out, replay.Inputs);
    out.U64(0); // the seal
    SealReplayFile(out.Result());
    return std::move(out.Result());
}

DecodedReplay DecodeReplay(std::span<const std::uint8_t> bytes) {
    ByteReader head(bytes);
    const auto magic = head.Bytes(kMagic.size());
    if (head.Failed())
        return Fault(bytes.size() > 0 && std::equal(bytes.begin(), bytes.end(), kMagic.begin())
                         ? messages::Truncated()
                         : messages::NotAReplay());
    if (!std::equal(magic.begin(), magic.end(), kMagic.begin()))
        return Fault(messages::NotAReplay());
    const std::uint16_t version = head.U16();
    const std::uint32_t length = head.U32();
    if (head.Failed() || bytes.size() < kHeadBytes + kSealBytes)
        return Fault(messages::Truncated());
    // Nothing is believed before the seal: a changed version or length is
    // damage, not a newer format or a file cut short.
    if (!SealedAs(bytes, length)) {
        if (length < bytes.size() && length >= kHeadBytes + kSealBytes &&
            SealedAs(bytes.first(length), length))
            return Fault(messages::BadContent("ファイルの長さ")); // whole, with more behind it
        if (length > bytes.size() && !SealedAs(bytes, static_cast<std::uint32_t>(bytes.size())))
            return Fault(messages::Truncated());
        return Fault(messages::BadFileChecksum());
    }
    if (version > kFormatVersion)
        return Fault(messages::FutureFormat(version));
    if (version == 0)
        return Fault(messages::BadContent("形式の番号"));
    if (bytes.size() != length)
        return Fault(messages::BadContent("ファイルの長さ"));
    const std::size_t body = bytes.size() - kSealBytes;

    // Past the seal the bytes are as written, unless someone forged it: every
    // field is still checked.
    ByteReader in(bytes.subspan(kHeadBytes, body - kHeadBytes));
    Replay r;
    const auto versionText = in.Bytes(in.U8());
    if (in.Failed() || versionText.size() > kMaxVersionText ||
        std::any_of(versionText.begin(), versionText.end(), IsControl))
        return Fault(messages::BadContent("版の名前"));
    r.ProgramVersion.assign(versionText.begin(), versionText.end());
    r.Start.RandomSeed = in.U32();
    r.Start.HighScore = in.I32();
    const std::uint8_t options = in.U8();
    if ((options & ~(kCoupleMode | kHard)) != 0)
        return Fault(messages::BadContent("遊び方の設定"));
    r.CoupleMode = (options & kCoupleMode) != 0;
    r.Hard = (options & kHard) != 0;
    r.StartedAt = in.I64();
    const std::uint32_t frames = in.U32();
    r.FinalScore = in.I32();
    r.BestRallyScore = in.I32();
    r.FinalHighScore = in.I32();
    r.FinalChecksum = in.U64();
    const std::uint32_t checksums = in.U32();
    if (in.Failed())
        return Fault(messages::BadContent("見出し"));
    if (frames > kMaxFrames)
        return Fault(messages::BadContent("フレーム数"));
    if (checksums != frames / kChecksumInterval || checksums > in.Left() / 8)
        return Fault(messages::BadContent("検査値の数"));
    r.Checksums.reserve(checksums);
    for (std::uint32_t i = 0; i < checksums; ++i)
        r.Checksums.push_back(in.U64());
    const auto runs = in.Bytes(in.U32());
    if (in.Failed() || !ReadInputs(runs, frames, r.Inputs))
        return Fault(messages::BadContent("入力"));
    if (!in.AtEnd())
        return Fault(messages::BadContent("ファイルの長さ"));
    return DecodedReplay{std::move(r), {}};
}

DecodedReplay ReadReplayFile(const std::string& path) {
    // Opened without waiting: a named pipe nobody writes to would otherwise
    // hold the program in open() for ever; it reads as empty instead. Reads
    // then wait as usual, for a pipe that has a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fault(messages::CannotOpen(errno));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        return Fault(messages::CannotOpen(error));
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::fdopen(fd, "rb"), std::fclose);
    if (!file) {
        const int error = errno;
        ::close(fd);
        return Fault(messages::CannotOpen(error));
    }
    // Read up to one byte beyond the limit to tell a file that is too large,
    // whatever it is (a pipe has no size to ask for).
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 65536> chunk;
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
        if (static_cast<std::int64_t>(bytes.size()) > kMaxFileBytes)
            return Fault(messages::TooLarge());
        if (got < chunk.size())
            break;
    }
    if (std::ferror(file.get()))
        return Fault(messages::CannotOpen(errno));
    return DecodeReplay(bytes);
}

} // namespace replay
