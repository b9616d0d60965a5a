#include "game/help_text.h"

#include "base/cp932.h"

#include <gtest/gtest.h>

using namespace game;

TEST(HelpText, ReadsEveryLineBreakAndWritesCrLf) {
    const HelpText text = DecodeHelpFile("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(text.Utf8, "one\ntwo\nthree\nfour");
    EXPECT_EQ(EncodeHelpFile(text.Utf8, text.Encoding), "one\r\ntwo\r\nthree\r\nfour\r\n");
    // A trailing break is no extra line, an empty line in between is kept.
    EXPECT_EQ(EncodeHelpFile("a\n\nb\n", HelpEncoding::Cp932), "a\r\n\r\nb\r\n");
    EXPECT_EQ(EncodeHelpFile("a\n\n", HelpEncoding::Cp932), "a\r\n\r\n");
    EXPECT_EQ(EncodeHelpFile("", HelpEncoding::Cp932), "");
    EXPECT_EQ(EncodeHelpFile("\n", HelpEncoding::Cp932), "\r\n");
}

TEST(HelpText, SavedFileReadsBackTheSame) {
    for (const char* file : {"a\r\n\r\n", "\r\n", "x\r\ny\r\n", "\r\n\r\nz\r\n"}) {
        const HelpText text = DecodeHelpFile(file);
        EXPECT_EQ(EncodeHelpFile(text.Utf8, text.Encoding), file);
    }
}

TEST(HelpText, JapaneseInCp932OrUtf8StaysInItsEncoding) {
    const std::string japanese = "遊び方\nぴむる";
    const std::string sjis = base::Utf8ToCp932("遊び方\r\nぴむる\r\n");
    const HelpText fromSjis = DecodeHelpFile(sjis);
    EXPECT_EQ(fromSjis.Encoding, HelpEncoding::Cp932);
    EXPECT_EQ(fromSjis.Utf8, japanese + "\n");
    EXPECT_EQ(EncodeHelpFile(fromSjis.Utf8, fromSjis.Encoding), sjis);

    const HelpText fromUtf8 = DecodeHelpFile("遊び方\r\nぴむる\r\n");
    EXPECT_EQ(fromUtf8.Encoding, HelpEncoding::Utf8);
    EXPECT_EQ(fromUtf8.Utf8, japanese + "\n");
    EXPECT_EQ(EncodeHelpFile(fromUtf8.Utf8, fromUtf8.Encoding), "遊び方\r\nぴむる\r\n");

    // Plain ASCII is the system's code page: Japanese typed into it is saved in CP932.
    EXPECT_EQ(DecodeHelpFile("abc\r\n").Encoding, HelpEncoding::Cp932);
}

TEST(HelpText, AnyBytesDecodeWithoutFailing) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    const HelpText text = DecodeHelpFile(bytes);
    EXPECT_EQ(text.Encoding, HelpEncoding::Cp932);
    EXPECT_TRUE(base::IsValidUtf8(text.Utf8));
}

TEST(HelpText, CharactersTheCodePageCannotHoldAreNotLost) {
    const std::string text = "ぴむる \xF0\x9F\x8E\x88 ball\n"; // a balloon emoji
    const std::string saved = EncodeHelpFile(text, HelpEncoding::Cp932);
    EXPECT_EQ(saved, "ぴむる \xF0\x9F\x8E\x88 ball\r\n");
    EXPECT_EQ(DecodeHelpFile(saved).Utf8, text);
}
