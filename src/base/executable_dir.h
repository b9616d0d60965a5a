#pragma once
// The directory of the running program's executable, with its trailing
// separator: where the diagnostic logs go while it can be written, and one
// of the places the game looks for its data.

#include <string>

namespace base {

std::string ExecutableDirectory();

} // namespace base
