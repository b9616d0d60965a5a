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

class EFOpenError : public EInOutError {
public:
    using EInOutError::EInOutError;
};

// A stream that ends before a read that must be complete.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

} // namespace base
