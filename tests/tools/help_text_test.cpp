#include "committed_data.h"

#include "base/cp932.h"
#include "help_text.h"

#include <gtest/gtest.h>

namespace toolstest {
namespace {

TEST(HelpText, EveryLineEndsWithCarriageReturnAndLineFeed) {
    const std::string text = CommittedFile("readme.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
}

TEST(HelpText, EveryCharacterHasItsCp932Counterpart) {
    // A character missing from the code page would come back as '?'.
    std::string expected;
    for (char c : datamaker::HelpTextUtf8()) {
        if (c == '\n')
            expected += '\r';
        expected += c;
    }
    EXPECT_EQ(base::Cp932ToUtf8(CommittedFile("readme.txt")), expected);
}

TEST(HelpText, NamesTheLauncherOptionsTheKeysAndHowToQuit) {
    const std::string text = base::Cp932ToUtf8(CommittedFile("readme.txt"));
    for (const char* words : {"大きな画面で遊ぶ", "難しくする。", "カップルモード", "VRAMモード切替", "Esc", "Ctrl",
                              "カーソルキー", "ジョイスティック", "10点", "Ｗ・Ａ・Ｓ・Ｄの場所", "左のシフトキー",
                              "Ｚ・Ｘの場所", "キーの場所で決まります",
                              "いつでもつないだり"})
        EXPECT_NE(text.find(words), std::string::npos) << words;
}

} // namespace
} // namespace toolstest
