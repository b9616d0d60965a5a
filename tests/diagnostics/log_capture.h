#pragma once
// Sends the display layer's log into a temporary directory for one test and
// reads its lines back as UTF-8 without the "debug#nnnnn ... " prefix.

#include "base/cp932.h"
#include "diagnostics/dddd_log.h"
#include "diagnostics/diagnostic_log.h"
#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace displaytest {

class LogCapture {
public:
    LogCapture() {
        diagnostics::SetLogDirectoryForTesting(dir_.Path().string());
        dddd::Log().DebugLineCount = 0;
    }
    ~LogCapture() {
        diagnostics::SetLogDirectoryForTesting("");
        dddd::Log().DebugLineCount = 0;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        if (dddd::Log().DebugLineCount == 0)
            return lines;
        const std::string text = base::Cp932ToUtf8(testsupport::ReadFileBytes(dir_.File("dddd.debug")));
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            const std::size_t body = line.find(" ... ");
            lines.push_back(body == std::string::npos ? line : line.substr(body + 5));
            start = end + 2;
        }
        return lines;
    }
    const testsupport::TempDir& Dir() const { return dir_; }

private:
    testsupport::TempDir dir_;
};

} // namespace displaytest
