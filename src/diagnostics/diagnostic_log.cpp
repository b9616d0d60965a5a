#include "diagnostics/diagnostic_log.h"

#include "base/cp932.h"
#include "base/executable_dir.h"
#include "diagnostics/log_file.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace diagnostics {
namespace {

HaltAction& CurrentHaltAction() {
    static HaltAction action;
    return action;
}

std::string& LogDirectoryOverride() {
    static std::string directory;
    return directory;
}

} // namespace

DiagnosticLog::DiagnosticLog(std::string fileName, std::function<void(const std::string&)> raise,
                             bool raiseOnError, bool writeDebugLog, bool haltOnError)
    : RaiseOnError(raiseOnError), WriteDebugLog(writeDebugLog), HaltOnError(haltOnError),
      fileName_(std::move(fileName)), raise_(std::move(raise)) {}

std::string DiagnosticLog::LogPath() const { return LogDirectory() + fileName_; }

void DiagnosticLog::ReportMessage(const std::string& msg) {
    if (raise_ && RaiseOnError) {
        raise_(msg);
        return;
    }
    if (!WriteDebugLog)
        return;
    ++DebugLineCount;
    char number[32];
    std::snprintf(number, sizeof number, "debug#%.5d ... ", DebugLineCount);
    WriteLine(number + base::Utf8ToCp932(msg) + "\r\n");
}

void DiagnosticLog::WriteLine(const std::string& line) {
    // The first line of a run starts the file afresh; so does a new log
    // folder (which only tests choose), without emptying anything.
    const bool first = DebugLineCount == 1;
    const std::string beside = LogPath();
    if (first || beside != runBeside_) {
        runBeside_ = beside;
        runFile_.clear();
    }
    std::string reason;
    LogFile file;
    if (!runFile_.empty()) {
        file = LogFile::Open(runFile_, false, reason);
    } else {
        // Beside the program, or where that name is taken by anything but a
        // plain file (a link, a folder), in the user's state folder.
        file = LogFile::Open(beside, first, reason);
        if (file.IsOpen()) {
            runFile_ = beside;
        } else {
            const std::string state = base::UserStateFolder();
            const std::string copy = state + fileName_;
            if (copy != beside && base::MakeFolders(state)) {
                std::string stateReason;
                file = LogFile::Open(copy, first, stateReason);
                if (file.IsOpen())
                    runFile_ = copy;
            }
        }
    }
    if (file.IsOpen() && file.Append(line, reason))
        return;
    // A log is for diagnosis after the fact: a line it cannot take is lost,
    // never the game.
    if (!dropReported_) {
        dropReported_ = true;
        std::fprintf(stderr,
                     "pimuru: %s: a log line could not be written (%s); such lines are dropped\n",
                     (runFile_.empty() ? LogPath() : runFile_).c_str(), reason.c_str());
    }
}

std::int32_t DiagnosticLog::CheckResult(std::int32_t code, const std::string& msg) {
    if (code == 0)
        return 0;
    ReportMessage(msg + ErrorCodeSuffix(code));
    if (HaltOnError)
        Halt();
    return code;
}

std::string ErrorCodeSuffix(std::int32_t code) {
    char text[40];
    std::snprintf(text, sizeof text, "(Error Code(%X))", static_cast<std::uint32_t>(code));
    return text;
}

void SetHaltAction(HaltAction action) { CurrentHaltAction() = std::move(action); }

void Halt() {
    if (CurrentHaltAction())
        CurrentHaltAction()();
    std::exit(EXIT_FAILURE);
}

void SetLogDirectoryForTesting(const std::string& directory) {
    LogDirectoryOverride() = directory.empty() || directory.back() == '/' ? directory : directory + "/";
}

std::string ChooseLogDirectory(const std::string& executableDirectory,
                               const base::EnvironmentLookup& environment) {
    if (base::CanCreateFilesIn(executableDirectory))
        return executableDirectory;
    std::string state = base::UserStateFolder(environment);
    // A folder that cannot be made shows as the log file's open error.
    base::MakeFolders(state);
    return state;
}

std::string LogDirectory() {
    if (!LogDirectoryOverride().empty())
        return LogDirectoryOverride();
    return ChooseLogDirectory(base::ExecutableDirectory(), base::ProcessEnvironment);
}

} // namespace diagnostics
