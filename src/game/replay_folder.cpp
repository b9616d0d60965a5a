#include "game/replay_folder.h"

#include "base/system_error_text.h"
#include "game/recorded_files.h"
#include "game/replace_file.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <regex>
#include <system_error>

namespace game {

namespace {

namespace fs = std::filesystem;

// What a kept replay's name tells: when it started and its score.
struct KeptName {
    fs::path Path;
    std::string Start; // "YYYY-MM-DD_hh-mm-ss", sorts as the time does
    std::int64_t Score = 0;
};

// The replays of the folder that were recorded here.
std::vector<KeptName> KeptNames(const std::string& folder, const RecordedFiles& recorded) {
    static const std::regex pattern(
        R"((\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)_score-(\d{1,10})(-\d+)?\.pimuru-replay)");
    std::vector<KeptName> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::smatch match;
        if (std::regex_match(name, match, pattern) && recorded.Lists(name))
            names.push_back({it->path(), match[1].str(), std::stoll(match[2].str())});
    }
    return names;
}

void Prune(const std::string& folder, RecordedFiles& recorded, std::size_t newest, std::size_t best,
           const std::string& spare) {
    std::vector<KeptName> names = KeptNames(folder, recorded);
    std::vector<bool> keep(names.size(), false);
    std::vector<std::size_t> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto newer = [&](std::size_t a, std::size_t b) {
        return names[a].Start != names[b].Start ? names[a].Start > names[b].Start
                                                : names[a].Path > names[b].Path;
    };
    std::sort(order.begin(), order.end(), newer);
    for (std::size_t i = 0; i < std::min(newest, order.size()); ++i)
        keep[order[i]] = true;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return names[a].Score > names[b].Score; });
    for (std::size_t i = 0; i < std::min(best, order.size()); ++i)
        keep[order[i]] = true;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!keep[i] && names[i].Path.string() != spare) {
            const std::string name = names[i].Path.filename().string();
            recorded.Remove(name);
            recorded.Remove(name + kDesyncReportSuffix);
        }
    }
}

} // namespace

std::string ReplayFolder(const base::EnvironmentLookup& environment) {
    return base::UserDataFolder(environment) + "replays/";
}

std::string ReplayFileName(std::int64_t startedAt, std::int32_t score) {
    const std::time_t time = static_cast<std::time_t>(startedAt);
    std::tm local{};
    localtime_r(&time, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(date) + "_score-" + std::to_string(std::max(score, 0)) + kReplaySuffix;
}

std::string KeepReplay(const replay::Replay& replay, const std::string& folder,
                       std::string& error) {
    error.clear();
    if (!base::MakeFolders(folder)) {
        error = folder + ": " + base::SystemErrorText(errno);
        return {};
    }
    // Two runs started in the same second get names of their own.
    const std::string name = ReplayFileName(replay.StartedAt, replay.BestRallyScore);
    const std::string stem = name.substr(0, name.size() - (sizeof kReplaySuffix - 1));
    // Its desync report's name is free too, so that nothing is written over.
    const auto taken = [](const fs::path& replayPath) {
        std::error_code unknown;
        return fs::exists(fs::symlink_status(replayPath, unknown)) ||
               fs::exists(fs::symlink_status(replayPath.string() + kDesyncReportSuffix, unknown));
    };
    fs::path path = fs::path(folder) / name;
    for (int n = 2; taken(path); ++n)
        path = fs::path(folder) / (stem + "-" + std::to_string(n) + kReplaySuffix);

    const std::vector<std::uint8_t> bytes = replay::EncodeReplay(replay);
    const QString failure =
        ReplaceFile(QString::fromStdString(path.string()), std::string(bytes.begin(), bytes.end()));
    if (!failure.isEmpty()) {
        error = path.string() + ": " + failure.toStdString();
        return {};
    }
    RecordedFiles recorded(folder);
    recorded.Add(path.filename().string());
    Prune(folder, recorded, kNewestReplaysKept, kBestReplaysKept, path.string());
    recorded.Save(); // unsaved, this replay only stays longer
    return path.string();
}

void PruneReplays(const std::string& folder, std::size_t newest, std::size_t best,
                  const std::string& spare) {
    RecordedFiles recorded(folder);
    Prune(folder, recorded, newest, best, spare);
    recorded.Save();
}

bool KeepDesyncReport(const std::string& replayPath, const std::string& report,
                      std::string& error) {
    const fs::path path = replayPath + kDesyncReportSuffix;
    const QString failure = ReplaceFile(QString::fromStdString(path.string()), report);
    if (!failure.isEmpty()) {
        error = path.string() + ": " + failure.toStdString();
        return false;
    }
    RecordedFiles recorded(path.parent_path().string());
    recorded.Add(path.filename().string());
    recorded.Save(); // unsaved, the report only stays longer
    error.clear();
    return true;
}

std::vector<ReplaySummary> ListReplays(const std::string& folder) {
    std::vector<ReplaySummary> list;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // Only plain files: opening a named pipe would wait for a writer.
        std::error_code kind;
        if (it->path().extension() != kReplaySuffix || !it->is_regular_file(kind))
            continue;
        ReplaySummary entry;
        entry.Path = it->path().string();
        replay::DecodedReplay read = replay::ReadReplayFile(entry.Path);
        if (read.Value) {
            entry.StartedAt = read.Value->StartedAt;
            entry.CoupleMode = read.Value->CoupleMode;
            entry.Hard = read.Value->Hard;
            entry.Frames = read.Value->FrameCount();
            entry.BestRallyScore = read.Value->BestRallyScore;
        } else {
            entry.Error = read.Error;
        }
        list.push_back(std::move(entry));
    }
    std::sort(list.begin(), list.end(), [](const ReplaySummary& a, const ReplaySummary& b) {
        if (a.Error.empty() != b.Error.empty())
            return a.Error.empty();
        return a.StartedAt != b.StartedAt ? a.StartedAt > b.StartedAt : a.Path > b.Path;
    });
    return list;
}

} // namespace game
