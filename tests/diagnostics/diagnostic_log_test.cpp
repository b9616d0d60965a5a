#include "diagnostics/dddd_log.h"
#include "input/ddid_log.h"
#include "sound/ddsd_log.h"
#include "support/full_folder.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

using testsupport::ReadFileBytes;

namespace {

class DiagnosticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        diagnostics::SetLogDirectoryForTesting(dir.Path().string());
        for (auto* log : {&dddd::Log(), &ddsd::Log(), &ddid::Log()}) {
            log->DebugLineCount = 0;
            log->RaiseOnError = false;
        }
        // A test must not end the process: a halt becomes an exception.
        diagnostics::SetHaltAction([] { throw Halted(); });
        setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_STATE_HOME");
        diagnostics::SetHaltAction(nullptr);
        diagnostics::SetLogDirectoryForTesting("");
    }
    struct Halted {};
    testsupport::TempDir dir;
};

TEST_F(DiagnosticsTest, LinesAreNumberedAndALaterRunReplacesTheFile) {
    dddd::CheckResult(1, "one");
    dddd::CheckResult(-2147467259, "two");
    dddd::ReportMessage("three");
    EXPECT_EQ(ReadFileBytes(dir.File("dddd.debug")),
              "debug#00001 ... one(Error Code(1))\r\n"
              "debug#00002 ... two(Error Code(80004005))\r\n"
              "debug#00003 ... three\r\n");
    dddd::Log().DebugLineCount = 0; // a new run
    dddd::ReportMessage("again");
    EXPECT_EQ(ReadFileBytes(dir.File("dddd.debug")), "debug#00001 ... again\r\n");
}

TEST_F(DiagnosticsTest, JapaneseMessagesAreWrittenInCp932) {
    dddd::ReportMessage("ファイル");
    EXPECT_EQ(ReadFileBytes(dir.File("dddd.debug")), "debug#00001 ... \x83t\x83@\x83" "C\x83\x8b\r\n");
}

TEST_F(DiagnosticsTest, ZeroWritesNothingAndPositiveCodesAreFailures) {
    EXPECT_EQ(dddd::CheckResult(0, "fine"), 0);
    EXPECT_EQ(ReadFileBytes(dir.File("dddd.debug")), "");
    EXPECT_EQ(dddd::CheckResult(1, "S_FALSE"), 1);
    EXPECT_EQ(dddd::Log().DebugLineCount, 1);
}

TEST_F(DiagnosticsTest, LayersCountIndependentlyAndSoundHaltsAfterWriting) {
    dddd::ReportMessage("a");
    dddd::ReportMessage("b");
    EXPECT_THROW(ddsd::CheckResult(5, "snd"), Halted);
    EXPECT_EQ(ReadFileBytes(dir.File("ddsd.debug")), "debug#00001 ... snd(Error Code(5))\r\n");
    EXPECT_THROW(ddid::CheckResult(6, "inp"), Halted);
    EXPECT_EQ(ReadFileBytes(dir.File("ddid.debug")), "debug#00001 ... inp(Error Code(6))\r\n");
}

TEST_F(DiagnosticsTest, RaiseOnErrorRaisesTheFullMessageAndWritesNothing) {
    ddsd::Log().RaiseOnError = true;
    try {
        ddsd::CheckResult(0x10, "x");
        FAIL();
    } catch (const ddsd::EDDSD& e) {
        EXPECT_STREQ(e.what(), "x(Error Code(10))");
    }
    ddid::Log().RaiseOnError = true;
    EXPECT_THROW(ddid::ReportMessage("y"), ddid::EDDID);
    EXPECT_EQ(ReadFileBytes(dir.File("ddsd.debug")), "");
    EXPECT_EQ(ReadFileBytes(dir.File("ddid.debug")), "");
}

TEST_F(DiagnosticsTest, ALineThatCannotBeWrittenIsDroppedSaidOnceAndTheRunGoesOn) {
    diagnostics::SetLogDirectoryForTesting(dir.File("no/such/dir"));
    setenv("XDG_STATE_HOME", "/proc/pimuru-none", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_NO_THROW(dddd::ReportMessage("lost"));
    EXPECT_NO_THROW(dddd::CheckResult(5, "lost too"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no/such/dir/dddd.debug"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    testsupport::FullFolder full;
    if (!full.Available())
        GTEST_SKIP() << "mounting a small file system takes the super-user";
    diagnostics::SetLogDirectoryForTesting(full.Path());
    full.Fill();
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(ddid::CheckResult(6, "a line the disk has no room for"), Halted);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("ddid.debug"), std::string::npos);
    // Not a cut-off line: nothing.
    EXPECT_EQ(ReadFileBytes(full.File("ddid.debug")), "");
}

TEST_F(DiagnosticsTest, LinksAndFoldersAtTheLogsNameAreNotFollowed) {
    testsupport::WriteFileBytes(dir.File("precious"), "mine");
    std::filesystem::create_symlink(dir.File("precious"), dir.File("dddd.debug"));
    std::filesystem::create_directory(dir.File("ddsd.debug"));
    std::filesystem::create_hard_link(dir.File("precious"), dir.File("ddid.debug"));
    dddd::ReportMessage("a");
    dddd::ReportMessage("b");
    ddsd::ReportMessage("c");
    ddid::ReportMessage("d");
    EXPECT_EQ(ReadFileBytes(dir.File("precious")), "mine");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dddd.debug")));
    // The run's lines are in the state folder instead.
    const std::string state = dir.File("state") + "/pimuru/";
    EXPECT_EQ(ReadFileBytes(state + "dddd.debug"), "debug#00001 ... a\r\ndebug#00002 ... b\r\n");
    EXPECT_EQ(ReadFileBytes(state + "ddsd.debug"), "debug#00001 ... c\r\n");
    EXPECT_EQ(ReadFileBytes(state + "ddid.debug"), "debug#00001 ... d\r\n");
}

TEST_F(DiagnosticsTest, LogsGoToTheStateFolderWhenTheExecutablesFolderTakesNoFiles) {
    const base::EnvironmentLookup environment = [state = dir.File("state")](const char* name) {
        return std::string(name) == "XDG_STATE_HOME" ? state.c_str() : nullptr;
    };
    const std::string writable = dir.Path().string() + "/";
    EXPECT_EQ(diagnostics::ChooseLogDirectory(writable, environment), writable);
    EXPECT_FALSE(std::filesystem::exists(dir.File("state")));

    const std::string chosen = diagnostics::ChooseLogDirectory("/proc/", environment);
    EXPECT_EQ(chosen, dir.File("state") + "/pimuru/");
    EXPECT_TRUE(std::filesystem::is_directory(chosen)) << "not created on first use";
}

using DiagnosticsDeathTest = DiagnosticsTest;

TEST_F(DiagnosticsDeathTest, HaltEndsTheProcessWithFailureAfterTheLine) {
    std::string path = dir.File("ddsd.debug");
    EXPECT_EXIT(
        {
            diagnostics::SetHaltAction(nullptr);
            ddsd::CheckResult(7, "bye");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFileBytes(path), "debug#00001 ... bye(Error Code(7))\r\n");
}

} // namespace
