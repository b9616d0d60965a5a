#include "base/errors.h"
#include "base/stream.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace base;

TEST(MemoryStream, ReadsReportHowManyBytesArrived) {
    MemoryStream s(std::vector<std::uint8_t>{1, 2, 3});
    std::uint8_t buf[8] = {};
    EXPECT_EQ(s.Read(buf, 2), 2);
    EXPECT_EQ(s.Read(buf, 8), 1);
    EXPECT_EQ(buf[0], 3);
    EXPECT_EQ(s.Read(buf, 8), 0);
    s.Seek(10, SeekOrigin::Begin); // past the end: reads nothing, never out of bounds
    EXPECT_EQ(s.Read(buf, 4), 0);
    EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
}

TEST(MemoryStream, WritePastEndGrowsAndSetSizeKeepsPosition) {
    MemoryStream s;
    s.SetSize(4);
    s.Seek(2, SeekOrigin::Begin);
    std::uint8_t data[4] = {9, 8, 7, 6};
    s.Write(data, 4);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Bytes()[0], 0);
    EXPECT_EQ(s.Bytes()[5], 6);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_EQ(s.Seek(-1, SeekOrigin::End), 2);
}

TEST(FileStream, RoundTripAndMissingFile) {
    testsupport::TempDir dir;
    {
        FileStream f(dir.File("a.bin"), FileMode::Create);
        f.Write("hello", 5);
        EXPECT_EQ(f.Size(), 5);
    }
    FileStream f(dir.File("a.bin"), FileMode::OpenRead);
    char buf[8] = {};
    f.Seek(1, SeekOrigin::Begin);
    EXPECT_EQ(f.Read(buf, 8), 4);
    EXPECT_STREQ(buf, "ello");
    EXPECT_THROW(FileStream(dir.File("missing"), FileMode::OpenRead), EInOutError);
}
