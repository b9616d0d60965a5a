#pragma once
// The operating system's reason for a failed call, as log and message text:
// what strerror says for an error number, and the log line for a file that
// could not be opened.

#include <string>

namespace base {

// The system's words for `error` (an errno value), in UTF-8: the user's
// language where the C library has it, English otherwise.
std::string SystemErrorText(int error);

// The log text for a data file that could not be opened: the name followed
// by "が、見つかりません" when the file is not there, and by "が、開けません"
// with the system's reason for anything else (no permission, a folder in its
// place, …), so a log never calls a present file missing.
std::string OpenFailureMessage(const std::string& fileName, int error);

} // namespace base
