// The help window on the offscreen platform: loading, saving and its keys.
#include "game/help.h"

#include "base/cp932.h"
#include "diagnostics/log_capture.h"
#include "platform/component/desktop.h"
#include "support/full_folder.h"
#include "support/temp_dir.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

using game::HelpEncoding;
using game::Tfrm_help;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

// Keeps the messages the window shows instead of opening boxes.
class RecordingDesktop : public ui::Desktop {
public:
    std::vector<std::string> messages;

    int ShowCursor(bool) override { return 0; }
    void SwitchImeOff(void*) override {}
    void ShowMessage(const std::string&, const std::string& text, ui::MessageKind) override {
        messages.push_back(text);
    }
    void ProcessMessages() override {}
    void WaitForMessages(std::uint32_t) override {}
    bool ScreenSaverActive() const override { return true; }
    void SetScreenSaverActive(bool) override {}
    int ScreenBitsPerPixel() const override { return 32; }
};

class HelpWindow : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = ui::SetDesktop(&desktop_);
        help_.FileName = dir_.File("readme.txt");
        help_.PlayerFolder = dir_.File("player");
    }
    void TearDown() override {
        help_.hide();
        ui::SetDesktop(previous_);
    }

    void Show() {
        help_.show();
        ASSERT_NE(help_.windowHandle(), nullptr);
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(help_.windowHandle(), key, modifiers);
    }
    std::string MemoText() const { return help_.Memo1->toPlainText().toStdString(); }
    std::string File() const { return ReadFileBytes(help_.FileName); }

    testsupport::TempDir dir_;
    RecordingDesktop desktop_;
    ui::Desktop* previous_ = nullptr;
    displaytest::LogCapture logs_;
    Tfrm_help help_;
};

} // namespace

TEST_F(HelpWindow, ShowingLoadsTheFileEachTime) {
    WriteFileBytes(help_.FileName, base::Utf8ToCp932("ぴむる\r\nのゲーム\r\n"));
    // A player's copy counts only beside a file that cannot be written.
    std::filesystem::create_directory(help_.PlayerFolder);
    WriteFileBytes(help_.PlayerFolder + "/readme.txt", "copy\r\n");
    Show();
    EXPECT_EQ(MemoText(), "ぴむる\nのゲーム\n");
    EXPECT_EQ(help_.Encoding(), HelpEncoding::Cp932);

    // Unsaved edits are gone when the window is shown again.
    help_.Memo1->setPlainText("changed");
    help_.BitBtn1->click();
    EXPECT_FALSE(help_.isVisible());
    Show();
    EXPECT_EQ(MemoText(), "ぴむる\nのゲーム\n");
}

TEST_F(HelpWindow, ShowModalReturnsWhenTheCloseButtonIsPressed) {
    WriteFileBytes(help_.FileName, "hello\r\n");
    std::string shown;
    QTimer::singleShot(0, [&] {
        shown = MemoText();
        help_.BitBtn1->click();
    });
    EXPECT_EQ(help_.ShowModal(), QDialog::Rejected);
    EXPECT_EQ(shown, "hello\n");
    EXPECT_FALSE(help_.isVisible());
}

TEST_F(HelpWindow, MissingFileLeavesTheBoxEmptySilently) {
    help_.Memo1->setPlainText("left over");
    Show();
    EXPECT_EQ(MemoText(), "");
    EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(HelpWindow, CtrlSSavesEveryLineWithCrLfInTheEncodingItWasReadIn) {
    WriteFileBytes(help_.FileName, "\xe9\x81\x8a\xe3\x81\xb3\nold\n"); // UTF-8 "遊び"
    Show();
    ASSERT_EQ(help_.Encoding(), HelpEncoding::Utf8);
    help_.Memo1->setPlainText(QString::fromUtf8("遊び方\nnew\u00a0text"));
    Press(Qt::Key_S, Qt::ControlModifier);
    // Non-breaking spaces are kept as they are.
    EXPECT_EQ(File(), "遊び方\r\nnew\u00a0text\r\n");
    // The key still reaches the box, which types nothing for Ctrl+S.
    EXPECT_EQ(help_.Memo1->document()->toRawText().toStdString(), "遊び方\u2029new\u00a0text");

    help_.Memo1->setPlainText(QString::fromUtf8("ＳＪＩＳ"));
    std::filesystem::remove(help_.FileName);
    help_.hide();
    Show(); // a new file is written in CP932
    help_.Memo1->setPlainText(QString::fromUtf8("ぴむる"));
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(File(), base::Utf8ToCp932("ぴむる\r\n"));
}

TEST_F(HelpWindow, OnlyCtrlSSaves) {
    WriteFileBytes(help_.FileName, "keep\r\n");
    Show();
    help_.Memo1->setPlainText("edited");
    Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    Press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(File(), "keep\r\n");
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(File(), "edited\r\n");
}

TEST_F(HelpWindow, BinaryFileIsShownAndSavedWithoutHarm) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    WriteFileBytes(help_.FileName, bytes);
    Show();
    EXPECT_FALSE(MemoText().empty());
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(File().empty());
    EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(HelpWindow, EmptyBoxSavesAnEmptyFile) {
    WriteFileBytes(help_.FileName, "text\r\n");
    Show();
    help_.Memo1->clear();
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(std::filesystem::exists(help_.FileName));
    EXPECT_EQ(File(), "");
    EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(HelpWindow, SaveOnAFullDiskKeepsTheOldFileByteForByteAndTells) {
    testsupport::FullFolder full;
    if (!full.Available())
        GTEST_SKIP() << "mounting a small file system takes the super-user";
    help_.FileName = full.File("readme.txt");
    const std::string old = base::Utf8ToCp932(std::string(900, 'a') + "\r\nぴむるのゲーム\r\n");
    WriteFileBytes(help_.FileName, old);
    full.Fill();
    Show();
    help_.Memo1->setPlainText(QString::fromStdString(std::string(5000, 'b')));
    Press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(desktop_.messages.size(), 1u);
    EXPECT_NE(desktop_.messages[0].find("readme.txt を作成できません"), std::string::npos);
    EXPECT_TRUE(help_.isVisible());
    EXPECT_EQ(MemoText(), std::string(5000, 'b'));
    EXPECT_EQ(File(), old);
    // Nothing half-written is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(full.Path()))
        ++entries;
    EXPECT_EQ(entries, 2); // the file and the filler
}

// Shows the window on a file that is there but cannot be read, types and
// saves; true when the player was told and the player's copy was saved.
bool UnreadableFileIsToldAndTheCopySaved(Tfrm_help& help, RecordingDesktop& desktop) {
    help.FormShow();
    std::uint16_t key = 83;
    help.Memo1->setPlainText("typed");
    help.FormKeyDown(key, ui::ssCtrl);
    return desktop.messages.size() == 1 &&
           desktop.messages[0].find(help.FileName) != std::string::npos &&
           ReadFileBytes(help.PlayerFolder + "/" +
                         std::filesystem::path(help.FileName).filename().string()) == "typed\r\n";
}

TEST_F(HelpWindow, UnreadableFileIsToldAndNeverSavedOver) {
    // A folder in the file's place.
    std::filesystem::create_directory(help_.FileName);
    WriteFileBytes(help_.FileName + "/inside", "whole");
    EXPECT_TRUE(UnreadableFileIsToldAndTheCopySaved(help_, desktop_))
        << (desktop_.messages.empty() ? "no message" : desktop_.messages[0]);
    EXPECT_EQ(ReadFileBytes(help_.FileName + "/inside"), "whole");
    ASSERT_EQ(logs_.Lines().size(), 1u);
    EXPECT_NE(logs_.Lines()[0].find(help_.FileName + "が、読み込めません("), std::string::npos);
    std::filesystem::remove_all(help_.PlayerFolder);

    // A write-only file, which only an ordinary user cannot read: as the
    // super-user, the check runs in a child process that becomes nobody.
    help_.FileName = dir_.File("writeonly.txt");
    WriteFileBytes(help_.FileName, "whole");
    std::filesystem::permissions(help_.FileName, std::filesystem::perms::owner_write);
    desktop_.messages.clear();
    if (geteuid() != 0) {
        EXPECT_TRUE(UnreadableFileIsToldAndTheCopySaved(help_, desktop_));
    } else {
        std::filesystem::permissions(dir_.Path(), std::filesystem::perms::all);
        ASSERT_EQ(chown(help_.FileName.c_str(), 65534, 65534), 0);
        EXPECT_EXIT(
            {
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    std::_Exit(2);
                std::_Exit(UnreadableFileIsToldAndTheCopySaved(help_, desktop_) ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    std::filesystem::permissions(help_.FileName, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(File(), "whole");
}

TEST_F(HelpWindow, FileInAnUnwritablePlaceIsSavedAsThePlayersCopyAndReadBackFirst) {
    // /proc refuses new files even to the super-user.
    help_.FileName = "/proc/version";
    Show();
    const std::string installed = MemoText();
    ASSERT_FALSE(installed.empty());
    help_.Memo1->setPlainText("typed");
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(desktop_.messages.empty());
    EXPECT_EQ(ReadFileBytes(help_.PlayerFolder + "/version"), "typed\r\n");
    help_.hide();
    Show();
    EXPECT_EQ(MemoText(), "typed\n");
}

TEST_F(HelpWindow, NoPlaceToSaveTellsAndKeepsTheText) {
    help_.FileName = "/proc/version";
    help_.PlayerFolder = "/proc/pimuru";
    Show();
    help_.Memo1->setPlainText("typed");
    Press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(desktop_.messages.size(), 1u);
    EXPECT_NE(desktop_.messages[0].find("/proc/pimuru/version"), std::string::npos);
    EXPECT_EQ(MemoText(), "typed");
}

TEST_F(HelpWindow, ReadOnlyFileStaysUnchanged) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the super-user may write any file";
    }
    WriteFileBytes(help_.FileName, "protected\r\n");
    std::filesystem::permissions(help_.FileName, std::filesystem::perms::owner_read);
    Show();
    help_.Memo1->setPlainText("typed");
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(desktop_.messages.empty());
    EXPECT_EQ(File(), "protected\r\n");
    EXPECT_EQ(ReadFileBytes(help_.PlayerFolder + "/readme.txt"), "typed\r\n");
}
