#include "diagnostics/dddd_log.h"
#include "input/ddid_log.h"
#include "sound/ddsd_log.h"
#include "base/errors.h"
#include "support/temp_dir.h"

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
    }
    void TearDown() override {
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

TEST_F(DiagnosticsTest, UnwritableLogRaisesAnInOutError) {
    diagnostics::SetLogDirectoryForTesting(dir.File("no/such/dir"));
    EXPECT_THROW(dddd::ReportMessage("lost"), base::EInOutError);
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
