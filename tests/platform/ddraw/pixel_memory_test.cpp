#include "platform/ddraw/pixel_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

bool AllZero(const std::uint8_t* p, std::size_t n) {
    return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

TEST(PixelMemory, BlocksAreZeroedAlignedAndWholeUpToTheirLastByte) {
    for (std::size_t bytes : {std::size_t{1}, std::size_t{33}, std::size_t{640 * 2 * 480},
                              ddraw::kHugePixelBlock - 1, ddraw::kHugePixelBlock,
                              std::size_t{1024 * 4 * 768}}) {
        ddraw::PixelMemory block(ddraw::AllocatePixelMemory(bytes));
        ASSERT_NE(block, nullptr) << bytes;
        const auto address = reinterpret_cast<std::uintptr_t>(block.get());
        EXPECT_EQ(address % 32, 0u) << bytes;
        if (bytes >= ddraw::kHugePixelBlock) {
            EXPECT_EQ(address % (std::size_t{2} << 20), 0u) << bytes; // a huge page can hold it
        }
        EXPECT_TRUE(AllZero(block.get(), bytes)) << bytes;
        block.get()[bytes - 1] = 0xAB;
    }
}

TEST(PixelMemory, ImpossibleSizesAreRefused) {
    EXPECT_EQ(ddraw::AllocatePixelMemory(0), nullptr);
    EXPECT_EQ(ddraw::AllocatePixelMemory(SIZE_MAX), nullptr);
    EXPECT_EQ(ddraw::AllocatePixelMemory(SIZE_MAX - 100), nullptr);
}

} // namespace

TEST(PixelBuffer, KeepsItsBlockForTheSameSizeAndEmptiesWhenRoomCannotBeHad) {
    ddraw::PixelBuffer buffer;
    ASSERT_TRUE(buffer.Fit(640 * 480 * 2));
    std::uint8_t* const first = buffer.Data();
    EXPECT_TRUE(buffer.Fit(640 * 480 * 2));
    EXPECT_EQ(buffer.Data(), first);
    EXPECT_FALSE(buffer.Fit(SIZE_MAX));
    EXPECT_EQ(buffer.Data(), nullptr);
    EXPECT_EQ(buffer.Size(), 0u);
    EXPECT_TRUE(buffer.Fit(33));
    EXPECT_NE(buffer.Data(), nullptr);
}
