#include "game/recent_joins.h"

#include "base/user_folders.h"
#include "game/replace_file.h"

#include <algorithm>
#include <fstream>

namespace game {

namespace {

constexpr char kFileName[] = "recent_joins.txt";
constexpr std::size_t kLongestAddress = 255;

} // namespace

std::vector<std::string> LoadRecentJoins(const std::string& folder) {
    std::vector<std::string> joins;
    std::ifstream file(folder + kFileName);
    std::string line;
    while (joins.size() < kRecentJoinsKept && std::getline(file, line)) {
        if (!line.empty() && line.size() <= kLongestAddress &&
            std::find(joins.begin(), joins.end(), line) == joins.end()) {
            joins.push_back(line);
        }
    }
    return joins;
}

void RememberJoin(const std::string& folder, const std::string& address) {
    if (address.empty() || address.size() > kLongestAddress ||
        address.find('\n') != std::string::npos) {
        return;
    }
    std::vector<std::string> joins = LoadRecentJoins(folder);
    joins.erase(std::remove(joins.begin(), joins.end(), address), joins.end());
    joins.insert(joins.begin(), address);
    joins.resize(std::min(joins.size(), kRecentJoinsKept));
    if (!base::MakeFolders(folder)) {
        return;
    }
    std::string text;
    for (const std::string& join : joins) {
        text += join + '\n';
    }
    // Whole or not at all: a full disk keeps the old list rather than half of it.
    ReplaceFile(QString::fromStdString(folder + kFileName), text);
}

} // namespace game
