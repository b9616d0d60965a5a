// The pixel routines themselves: the vector keyed copies must match the
// portable ones at every width and alignment, the vector byte copies must
// copy exactly their bytes, and a stretched copy cut into parts must give
// the same pixels as in one piece.

#include "platform/ddraw/blitter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace {

using namespace ddraw;

// Runs a keyed copy and the portable one over the same random destination;
// the source rows hold `width` pixels from `offset` on, `pitch` bytes apart.
void ExpectSameAsPortable(blit::CopyRoutine chosen, DWORD bytes, const std::vector<BYTE>& src,
                          LONG offset, LONG width, LONG height, LONG pitch, std::mt19937& random) {
    std::vector<BYTE> dstA(src.size());
    for (auto& b : dstA) {
        b = static_cast<BYTE>(random());
    }
    std::vector<BYTE> dstB = dstA;
    blit::CopyArgs args;
    args.srcPitch = pitch;
    args.dstPitch = pitch;
    args.width = width;
    args.height = height;
    args.key = bytes == 1 ? 0x55 : bytes == 2 ? 0x5555 : 0x55555555;
    args.src = src.data() + offset * bytes;
    args.dst = dstA.data() + offset * bytes;
    chosen(args);
    args.dst = dstB.data() + offset * bytes;
    blit::PortableCopy(bytes, true)(args);
    ASSERT_EQ(dstA, dstB) << "bytes " << bytes << " width " << width;
}

TEST(BlitterTest, VectorKeyedCopiesMatchThePortableOnes) {
    std::mt19937 random(42);
    for (const auto& [bytes, unit] : {std::pair{1u, blit::VectorUnit::Sse2},
                                      {2u, blit::VectorUnit::Sse2},
                                      {4u, blit::VectorUnit::Sse2},
                                      {1u, blit::VectorUnit::Avx2},
                                      {2u, blit::VectorUnit::Avx2},
                                      {4u, blit::VectorUnit::Avx2},
                                      {2u, blit::VectorUnit::Best}}) {
        const blit::CopyRoutine chosen = unit == blit::VectorUnit::Best
                                             ? blit::ChooseCopy(bytes, true)
                                             : blit::VectorKeyedCopy(bytes, unit);
        if (!chosen) {
            continue; // not on this processor
        }
        // Random pixels with key runs, at every width and a few alignments.
        for (LONG width = 1; width <= 70; ++width) {
            for (LONG offset = 0; offset < 3; ++offset) {
                const LONG pitch = (width + offset + 8) * static_cast<LONG>(bytes);
                std::vector<BYTE> src(static_cast<std::size_t>(pitch * 3));
                for (std::size_t i = 0; i < src.size(); i += bytes) {
                    const bool key = random() % 3 == 0;
                    for (DWORD b = 0; b < bytes; ++b) {
                        src[i + b] = key ? 0x55 : static_cast<BYTE>(random());
                    }
                }
                ExpectSameAsPortable(chosen, bytes, src, offset, width, 3, pitch, random);
            }
        }
        // A sprite row: key, then pixels from `left` to `right`, then key,
        // with both edges at every place within two 32-byte vectors.
        const LONG width = 64 / static_cast<LONG>(bytes) + 3;
        const LONG pitch = width * static_cast<LONG>(bytes);
        for (LONG left = 0; left < width; ++left) {
            for (LONG right = left; right <= width; ++right) {
                std::vector<BYTE> src(static_cast<std::size_t>(pitch), 0x55);
                for (std::size_t i = static_cast<std::size_t>(left) * bytes;
                     i < static_cast<std::size_t>(right) * bytes; ++i) {
                    src[i] = static_cast<BYTE>(random() % 0x55); // never the key
                }
                ExpectSameAsPortable(chosen, bytes, src, 0, width, 1, pitch, random);
            }
        }
    }
}

TEST(BlitterTest, VectorByteCopiesCopyEveryLengthAtEveryAlignmentAndNothingMore) {
    // Lengths across the single-vector, four-vector and tail cases of both
    // units, source and destination each off alignment by 0 to 3 bytes.
    std::mt19937 random(7);
    std::vector<BYTE> src(400);
    for (auto& b : src) {
        b = static_cast<BYTE>(random());
    }
    for (const blit::VectorUnit unit :
         {blit::VectorUnit::Sse2, blit::VectorUnit::Avx2, blit::VectorUnit::Best}) {
        const blit::ByteCopy copy = blit::VectorByteCopy(unit);
        if (!copy) {
            continue; // not on this processor
        }
        for (std::size_t bytes = 0; bytes <= 300; ++bytes) {
            for (std::size_t from = 0; from < 4; ++from) {
                for (std::size_t to = 0; to < 4; ++to) {
                    std::vector<BYTE> dst(src.size(), 0xEE);
                    std::vector<BYTE> expected = dst;
                    std::copy_n(src.begin() + static_cast<std::ptrdiff_t>(from), bytes,
                                expected.begin() + static_cast<std::ptrdiff_t>(to));
                    copy(dst.data() + to, src.data() + from, bytes);
                    ASSERT_EQ(dst, expected) << bytes << " bytes from +" << from << " to +" << to;
                }
            }
        }
    }
}

TEST(BlitterTest, ChangedRowsAreCopiedFromTheirFirstToTheirLastDifference) {
    // One differing pixel, or two far apart, anywhere in a 700-pixel row
    // (long equal stretches on both sides); bands give exactly those columns.
    constexpr LONG kWidth = 700;
    for (const DWORD bytes : {2u, 4u}) {
        for (const auto& [left, right] : {std::pair{0, 0}, {3, 3}, {31, 650}, {698, 699},
                                         {200, 201}, {0, 699}, {400, 433}}) {
            std::vector<BYTE> src(kWidth * bytes, 7);
            std::vector<BYTE> dst = src;
            src[static_cast<std::size_t>(left) * bytes] = 9;
            src[static_cast<std::size_t>(right) * bytes + bytes - 1] = 9;
            blit::CopyArgs args;
            args.src = src.data();
            args.dst = dst.data();
            args.width = kWidth;
            args.height = 1;
            std::vector<blit::RowBand> bands;
            blit::CopyChangedRows(args, bytes, 4, bands);
            ASSERT_EQ(bands.size(), 1u);
            EXPECT_EQ(bands[0].left, left) << bytes << " bytes";
            EXPECT_EQ(bands[0].right, right + 1) << bytes << " bytes";
            EXPECT_EQ(dst, src);
        }
    }
}

TEST(BlitterTest, ClippedStretchSamplesAsTheWhole) {
    const LONG sw = 7, sh = 5, dw = 19, dh = 13;
    std::vector<WORD> src(static_cast<std::size_t>(sw * sh));
    for (std::size_t i = 0; i < src.size(); ++i) {
        src[i] = static_cast<WORD>(i * 37 + 1);
    }
    auto run = [&](LONG l, LONG t, LONG r, LONG b, std::vector<WORD>& dst, bool mirror) {
        blit::StretchArgs args;
        args.src = reinterpret_cast<const BYTE*>(src.data());
        args.srcPitch = sw * 2;
        args.srcWidth = sw;
        args.srcHeight = sh;
        args.dst = reinterpret_cast<BYTE*>(dst.data());
        args.dstPitch = dw * 2;
        args.dstWidth = dw;
        args.dstHeight = dh;
        args.partLeft = l;
        args.partTop = t;
        args.partRight = r;
        args.partBottom = b;
        args.mirrorLeftRight = mirror;
        args.mirrorUpDown = mirror;
        blit::ChooseStretch(2, false)(args);
    };
    for (bool mirror : {false, true}) {
        std::vector<WORD> whole(static_cast<std::size_t>(dw * dh), 0);
        std::vector<WORD> parts(whole.size(), 0);
        run(0, 0, dw, dh, whole, mirror);
        run(0, 0, 8, 6, parts, mirror);
        run(8, 0, dw, 6, parts, mirror);
        run(0, 6, 3, dh, parts, mirror);
        run(3, 6, dw, dh, parts, mirror);
        EXPECT_EQ(whole, parts);
        // Every source pixel shows up somewhere when enlarging.
        for (WORD value : src) {
            EXPECT_NE(std::find(whole.begin(), whole.end(), value), whole.end());
        }
    }
}

TEST(BlitterTest, TwentyFourBitFillKeepsTheByteOrder) {
    std::vector<BYTE> dst(3 * 4 + 1, 0xEE);
    blit::ChooseFill(3)(blit::FillArgs{dst.data(), 12, 4, 1, 0x112233});
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0x33, dst[static_cast<std::size_t>(3 * i)]);
        EXPECT_EQ(0x22, dst[static_cast<std::size_t>(3 * i + 1)]);
        EXPECT_EQ(0x11, dst[static_cast<std::size_t>(3 * i + 2)]);
    }
    EXPECT_EQ(0xEE, dst[12]);
}

} // namespace
