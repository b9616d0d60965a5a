#include "archive/QDArc.h"
#include "archive/archive_builder.h"
#include "base/cp932.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace archive;
using testsupport::ArchiveEntry;
using testsupport::BuildArchive;
using testsupport::LiteralBlock;

namespace {

std::string Read(const std::string& archiveBytes, const std::string& name,
                 const Limits& limits = {}) {
    base::MemoryStream stream(std::vector<std::uint8_t>(archiveBytes.begin(), archiveBytes.end()));
    auto entry = ReadArchiveEntry(stream, name, limits);
    EXPECT_EQ(entry->Position(), 0);
    return std::string(entry->Bytes().begin(), entry->Bytes().end());
}

std::string ErrorOf(const std::string& archiveBytes, const std::string& name) {
    try {
        Read(archiveBytes, name);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

std::string Block(const std::string& table, const std::string& packedBytes) {
    std::string b = table;
    std::uint32_t n = static_cast<std::uint32_t>(packedBytes.size());
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((n >> (8 * i)) & 0xFF);
    return b + packedBytes;
}

// A table where code 0x80 is the pair (0x61, 0x62) and every other code literal.
std::string PairTable80() {
    std::string t = "\xFF"; // skip 0..127, then one entry for code 128
    t += "\x61\x62";
    t += '\x7E';
    for (int c = 0x81; c <= 0xFF; ++c)
        t += static_cast<char>(c);
    return t;
}

TEST(Archive, NamesMatchRegardlessOfLetterCaseFirstEntryWins) {
    std::string a = BuildArchive({{"CHAR.BMP", "upper"}, {"other.bmp", "x"}, {"char.bmp", "second"}});
    EXPECT_EQ(Read(a, "char.bmp"), "upper");
    EXPECT_EQ(Read(BuildArchive({{"char.bmp", "lower"}}), "CHAR.BMP"), "lower");
    EXPECT_EQ(Read(a, "OTHER.bmp"), "x");
    // A Japanese name is looked up through its CP932 bytes.
    EXPECT_EQ(Read(BuildArchive({{base::Utf8ToCp932("背景A.bmp"), "jp"}}), "背景a.BMP"), "jp");
}

TEST(Archive, MissingEntriesAndNonArchives) {
    EXPECT_EQ(ErrorOf(BuildArchive({}), "a"), kEntryNotFound);
    EXPECT_EQ(ErrorOf(BuildArchive({{"a", "1"}}), "b"), kEntryNotFound);
    std::string good = BuildArchive({{"a", "1"}});
    for (int i = 4; i < 8; ++i) {
        std::string bad = good;
        bad[i] ^= 0x20;
        EXPECT_EQ(ErrorOf(bad, "a"), kNotAnArchive) << i;
    }
    EXPECT_EQ(ErrorOf("", "a"), kNotAnArchive);
    std::string zeroOffset = good;
    std::fill(zeroOffset.begin() + 256, zeroOffset.begin() + 260, '\0');
    EXPECT_EQ(ErrorOf(zeroOffset, "a"), kEntryNotFound);
}

TEST(Archive, PlainEntryIsCopiedExactly) {
    std::string data = std::string("\0\1\2BM", 5) + std::string(1000, 'z');
    std::string a = BuildArchive({{"x", "abc"}, {"y", data}});
    EXPECT_EQ(Read(a, "y"), data);
}

TEST(Archive, PackedLiteralBlockAndBytePair) {
    std::string literal = BuildArchive({{"e", LiteralBlock("abc"), 3}}, true);
    EXPECT_EQ(Read(literal, "e"), "abc");
    std::string pair = BuildArchive({{"e", Block(PairTable80(), "\x80\x63"), 3}}, true);
    EXPECT_EQ(Read(pair, "e"), "abc");
    // Two blocks in a row, and a full size larger than the output: zero filled.
    std::string two = BuildArchive({{"e", LiteralBlock("ab") + Block(PairTable80(), "\x80"), 6}}, true);
    EXPECT_EQ(Read(two, "e"), std::string("abab\0\0", 6));
}

TEST(ArchiveHostile, ImpossibleCountsAreNotArchives) {
    std::string a = BuildArchive({{"a", "1"}});
    for (std::uint32_t count : {0xFFFFFFFFu, 0x80000000u, 1048577u}) {
        std::string bad = a;
        for (int i = 0; i < 4; ++i)
            bad[8 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
        EXPECT_EQ(ErrorOf(bad, "a"), kNotAnArchive) << count;
    }
    // The largest allowed count in a small file reads only what is there.
    std::string big = a;
    std::uint32_t count = 1048576;
    for (int i = 0; i < 4; ++i)
        big[8 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
    EXPECT_EQ(Read(big, "a"), "1");
    EXPECT_EQ(ErrorOf(big, "zz"), kEntryNotFound);
}

TEST(ArchiveHostile, SizesAndOffsetsPastTheEndStayBounded) {
    std::string a = BuildArchive({{"huge", "abc", 0x7FFFFFFF}, {"neg", "abc", -5}});
    std::string huge = Read(a, "huge"); // the file holds 6 bytes from its offset
    EXPECT_EQ(huge.substr(0, 6), "abcabc");
    EXPECT_EQ(huge.size(), 6 + static_cast<std::size_t>(kMaxZeroPadding));
    EXPECT_EQ(Read(a, "neg"), "");

    std::string pastEnd = BuildArchive({{"p", "abc"}});
    pastEnd[256] = '\x7F'; // data offset far past the end of the file
    pastEnd[259] = '\x7F';
    EXPECT_EQ(Read(pastEnd, "p"), std::string(3, '\0'));

    std::string packedHuge = BuildArchive({{"e", LiteralBlock("abc"), 0x7FFFFFFF}}, true);
    EXPECT_LE(Read(packedHuge, "e").size(), 3 + static_cast<std::size_t>(kMaxZeroPadding));
}

// A table where code 0x80 is the pair (left, right), every other code literal.
std::string TableWith80(char left, char right) {
    std::string t = "\xFF";
    t += left;
    t += right;
    t += '\x7E';
    for (int c = 0x81; c <= 0xFF; ++c)
        t += static_cast<char>(c);
    return t;
}

TEST(ArchiveHostile, BrokenPackedDataRaisesErrors) {
    // 0x80 = (0x80, 0x62): every expansion pushes another byte: the stack overflows.
    EXPECT_THROW(Read(BuildArchive({{"e", Block(TableWith80('\x80', 'b'), "\x80"), 3}}, true), "e"), ERangeError);
    // 0x80 = (0x61, 0x80): endless output, stopped by the output bound.
    EXPECT_THROW(Read(BuildArchive({{"e", Block(TableWith80('a', '\x80'), "\x80"), 3}}, true), "e"), EQDAError);
    // Skips that jump over code 256 without landing on it.
    EXPECT_THROW(Read(BuildArchive({{"e", Block("\xFF\x80\xFF", "a"), 1}}, true), "e"), ERangeError);
    // Entries that run past code 255.
    std::string overrun = "\xFF\x80\x7F";
    for (int c = 0x81; c <= 0xFF; ++c)
        overrun += static_cast<char>(c);
    overrun += '\0';
    EXPECT_THROW(Read(BuildArchive({{"e", Block(overrun, "a"), 1}}, true), "e"), ERangeError);
}

TEST(ArchiveHostile, CallersMaySetTighterLimits) {
    const Limits tight{4096, 16};
    const std::string longEntry =
        BuildArchive({{"e", LiteralBlock(std::string(5000, 'a')), 5000}}, true);
    EXPECT_EQ(Read(longEntry, "e").size(), 5000u);
    EXPECT_THROW(Read(longEntry, "e", tight), EQDAError);
    // Entries claiming more than the file holds get only the padding allowed.
    EXPECT_EQ(Read(BuildArchive({{"p", "abc", 0x7FFFFFFF}}), "p", tight).size(), 3u + 16u);
    EXPECT_EQ(Read(BuildArchive({{"e", LiteralBlock("abc"), 0x7FFFFFFF}}, true), "e", tight).size(),
              3u + 16u);
}

TEST(ArchiveHostile, TruncatedPackedDataEndsQuietly) {
    std::string full = BuildArchive({{"e", LiteralBlock("abcdef"), 6}}, true);
    for (std::size_t cut : {full.size() - 3, full.size() - 8, full.size() - 100, std::size_t{530}}) {
        std::string truncated = full.substr(0, cut);
        std::string out = Read(truncated, "e");
        EXPECT_EQ(out.size(), 6u) << cut; // zero filled to the full size
    }
    // A huge packed length with nothing behind it produces nothing more.
    std::string block = LiteralBlock("");
    block[block.size() - 1] = '\x7F';
    block[block.size() - 4] = '\xFF';
    EXPECT_EQ(Read(BuildArchive({{"e", block + "xy", 2}}, true), "e"), "xy");
}

TEST(Archive, ExtractFromArchiveFile) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.File("pack.qda"), BuildArchive({{"Haikei.BMP", "pixels"}}));
    EXPECT_EQ(ExtractFromArchive(dir.File("pack.qda"), "haikei.bmp")->Size(), 6);
    EXPECT_THROW(ExtractFromArchive(dir.File("none.qda"), "a"), base::EFOpenError);
}

} // namespace
