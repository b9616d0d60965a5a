#pragma once
// The data files as committed in data/, which the game reads.

#include <string>

namespace toolstest {

std::string CommittedFile(const std::string& name);

} // namespace toolstest
