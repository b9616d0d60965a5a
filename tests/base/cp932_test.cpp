#include "base/cp932.h"

#include <gtest/gtest.h>

using namespace base;

TEST(Cp932, RoundTripsJapaneseText) {
    std::string utf8 = "ぴむるのゲーム Ver.1.1";
    std::string sjis = Utf8ToCp932(utf8);
    EXPECT_EQ(sjis.substr(0, 2), "\x82\xd2"); // ぴ
    EXPECT_EQ(Cp932ToUtf8(sjis), utf8);
}

TEST(Cp932, BadBytesAreReplacedNotFatal) {
    EXPECT_EQ(Utf8ToCp932("a\xff" "b"), "a?b");
    EXPECT_FALSE(Cp932ToUtf8("\x82").empty());
}

TEST(Cp932, LowerCaseLeavesSecondBytesAlone) {
    // "ソ" is 0x83 0x5C and "ア" 0x83 0x41: the second byte must not change.
    EXPECT_EQ(Cp932LowerCase("CHAR.BMP\x83\x41"), "char.bmp\x83\x41");
}

TEST(Utf8, Validity) {
    EXPECT_TRUE(IsValidUtf8("abc ぴむる"));
    EXPECT_FALSE(IsValidUtf8("\x82\xd2"));
    EXPECT_FALSE(IsValidUtf8("\xe3\x81"));
    EXPECT_FALSE(IsValidUtf8("\xc0\x80"));
}
