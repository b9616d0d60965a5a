#pragma once
// Exception classes shared by the layers: the runtime's base exception and its
// input/output errors (a file that cannot be opened, read or written).

#include <stdexcept>
#include <string>

namespace base {

// Root of the system's own exceptions; carries a message text (UTF-8).
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be created, opened, read, written or closed.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be opened, with the system's error number (errno).
class EFOpenError : public EInOutError {
public:
    explicit EFOpenError(const std::string& message, int errorNumber = 0)
        : EInOutError(message), errorNumber_(errorNumber) {}
    int ErrorNumber() const { return errorNumber_; }

private:
    int errorNumber_;
};

// A stream that ends before a read that must be complete.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

} // namespace base
