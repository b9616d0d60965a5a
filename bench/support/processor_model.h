#pragma once
// The processor a benchmark ran on, printed beside every figure so that
// figures from two machines can be told apart.

#include <fstream>
#include <string>

namespace benchsupport {

// The "model name" of /proc/cpuinfo with its family and model numbers
// (virtual machines often name only the maker), or "unknown processor".
inline std::string ProcessorModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    std::string name = "unknown processor";
    std::string family;
    std::string model;
    const auto value = [&line] {
        const auto colon = line.find(':');
        return colon == std::string::npos || colon + 2 > line.size() ? std::string()
                                                                     : line.substr(colon + 2);
    };
    while (std::getline(cpuinfo, line) && !line.empty()) {
        if (line.rfind("model name", 0) == 0)
            name = value();
        else if (line.rfind("cpu family", 0) == 0)
            family = value();
        else if (line.rfind("model\t", 0) == 0)
            model = value();
    }
    if (!family.empty() && !model.empty())
        name += " (family " + family + ", model " + model + ")";
    return name;
}

} // namespace benchsupport
