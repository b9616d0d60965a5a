#pragma once
// One opening of a diagnostic log file for one line. The name is trusted
// only when it is a plain file of its own: a symbolic link, a folder, a
// device or a file with other names (a hard link) is refused, so a log never
// writes through to some other file.

#include <string>

namespace diagnostics {

class LogFile {
public:
    LogFile() = default;
    ~LogFile();
    LogFile(LogFile&& other) noexcept;
    LogFile& operator=(LogFile&& other) noexcept;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens (creating it when missing) `path` for appending, emptied first
    // when `fresh`. On failure the result is not open and `reason` says why.
    static LogFile Open(const std::string& path, bool fresh, std::string& reason);

    bool IsOpen() const { return fd_ >= 0; }
    // Writes the whole line, or nothing of it: a line cut short (a full
    // disk) is taken back off the file. False with `reason` on failure.
    bool Append(const std::string& line, std::string& reason);

private:
    explicit LogFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace diagnostics
