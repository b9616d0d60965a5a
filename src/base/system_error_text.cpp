#include "base/system_error_text.h"

#include "base/cp932.h"

#include <cerrno>
#include <cstring>

namespace base {

std::string SystemErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r returns its text, which may or may not be in buffer.
    const std::string text = strerror_r(error, buffer, sizeof buffer);
    // A locale in another code page would give text the logs cannot carry.
    if (IsValidUtf8(text))
        return text;
    const char* english = strerrordesc_np(error);
    return english ? english : "error " + std::to_string(error);
}

std::string OpenFailureMessage(const std::string& fileName, int error) {
    if (error == ENOENT || error == ENOTDIR)
        return fileName + "が、見つかりません";
    return fileName + "が、開けません(" + SystemErrorText(error) + ")";
}

} // namespace base
