#pragma once
// The directory of the running program's executable, with its trailing
// separator: where the diagnostic logs are written.

#include <string>

namespace base {

std::string ExecutableDirectory();

} // namespace base
