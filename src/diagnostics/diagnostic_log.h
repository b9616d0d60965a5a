#pragma once
// The diagnostic log and result check that the display, sound and input layers
// share in like form: one instance per layer, each with its own log file,
// switches, line counter and (optionally) exception class.

#include "base/user_folders.h"

#include <cstdint>
#include <functional>
#include <string>

namespace diagnostics {

class DiagnosticLog {
public:
    // `raise` throws the layer's exception with the given message; empty for a
    // layer without one (the display layer).
    DiagnosticLog(std::string fileName, std::function<void(const std::string&)> raise,
                  bool raiseOnError, bool writeDebugLog, bool haltOnError);

    bool RaiseOnError;
    bool WriteDebugLog;
    bool HaltOnError;
    std::int32_t DebugLineCount = 0;

    // Raises the layer's exception (when switched on) or writes the numbered
    // line "debug#%.5d ... %s" to the layer's log file. `msg` is UTF-8; the
    // file gets CP932. A log name that is no plain file (a link, a folder)
    // sends the run's lines to the same name in the user's state folder; a
    // line that cannot be written anywhere is dropped, said once on stderr.
    void ReportMessage(const std::string& msg);
    // Reports a non-zero `code` with "(Error Code(%X))" appended and ends the
    // program when HaltOnError is set. Returns `code` unchanged.
    std::int32_t CheckResult(std::int32_t code, const std::string& msg);

    // Full path of the log file.
    std::string LogPath() const;
    const std::string& FileName() const { return fileName_; }

private:
    void WriteLine(const std::string& line);

    std::string fileName_;
    std::function<void(const std::string&)> raise_;
    // The file this run's lines go to once its first line was written, and
    // the log's name beside the program it stands for.
    std::string runFile_;
    std::string runBeside_;
    bool dropReported_ = false;
};

// "(Error Code(%X))": the code as unsigned 32-bit upper-case hexadecimal.
std::string ErrorCodeSuffix(std::int32_t code);

// How a layer ends the program when HaltOnError is set: normal termination
// with a non-zero exit status. Tests may replace it (and restore it with an
// empty function).
using HaltAction = std::function<void()>;
void SetHaltAction(HaltAction action);
[[noreturn]] void Halt();

// The directory the logs go to, with its trailing separator: the
// executable's directory while files can be created there, otherwise the
// user's state folder (see base/user_folders.h), created on first use. A test
// may point it elsewhere (an empty string restores the default).
void SetLogDirectoryForTesting(const std::string& directory);
std::string LogDirectory();

// The choice behind LogDirectory, for a given executable's directory.
std::string ChooseLogDirectory(const std::string& executableDirectory,
                               const base::EnvironmentLookup& environment);

} // namespace diagnostics
