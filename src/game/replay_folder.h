#pragma once
// The player's replays folder: every run is kept there under a name a person
// can tell apart (date, time, score), only the newest and the best of those
// recorded here stay, and the launcher lists what is there.

#include "base/user_folders.h"
#include "replay/replay_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace game {

inline constexpr char kReplaySuffix[] = ".pimuru-replay";
inline constexpr char kDesyncReportSuffix[] = ".desync.txt";
inline constexpr std::size_t kNewestReplaysKept = 100;
inline constexpr std::size_t kBestReplaysKept = 10;

// "$XDG_DATA_HOME/pimuru/replays/" (by default ~/.local/share/pimuru/replays/).
std::string ReplayFolder(const base::EnvironmentLookup& environment = base::ProcessEnvironment);

// "2026-12-09_14-03-22_score-1234.pimuru-replay": the start in local time and
// the run's best rally score.
std::string ReplayFileName(std::int64_t startedAt, std::int32_t score);

// Writes the replay into the folder (made when missing), whole or not at all,
// then removes the replays the folder no longer keeps. The path written, or
// an empty path and the reason in `error`.
std::string KeepReplay(const replay::Replay& replay, const std::string& folder, std::string& error);

// Of the replays recorded here (RecordedFiles), keeps the newest `newest`,
// the `best` with the highest scores and `spare`; removes the others with
// their desync reports. Every other file is the player's and stays.
void PruneReplays(const std::string& folder, std::size_t newest = kNewestReplaysKept,
                  std::size_t best = kBestReplaysKept, const std::string& spare = {});

// Writes what an online run found when the two worlds went apart beside its
// kept replay (replayPath + kDesyncReportSuffix), whole or not at all; it is
// removed with its replay. False and the reason in `error` when it cannot be.
bool KeepDesyncReport(const std::string& replayPath, const std::string& report,
                      std::string& error);

// What the launcher's list shows of a replay file.
struct ReplaySummary {
    std::string Path;
    std::string Error; // why the file cannot be watched; empty when it can
    std::int64_t StartedAt = 0;
    bool CoupleMode = false;
    bool Hard = false;
    std::int64_t Frames = 0;
    std::int32_t BestRallyScore = 0;
};
// Every replay file in the folder, newest first (unreadable ones last).
std::vector<ReplaySummary> ListReplays(const std::string& folder);

} // namespace game
