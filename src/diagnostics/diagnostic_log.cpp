#include "diagnostics/diagnostic_log.h"

#include "base/cp932.h"
#include "base/errors.h"
#include "base/executable_dir.h"

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
    std::string path = LogPath();
    std::FILE* file = std::fopen(path.c_str(), DebugLineCount == 0 ? "wb" : "ab");
    if (!file)
        throw base::EInOutError("Cannot open log file " + path);
    ++DebugLineCount;
    char number[32];
    std::snprintf(number, sizeof number, "debug#%.5d ... ", DebugLineCount);
    std::string line = number + base::Utf8ToCp932(msg) + "\r\n";
    bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        throw base::EInOutError("Cannot write log file " + path);
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
