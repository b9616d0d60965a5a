#include "app/check_replay_command.h"

#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "replay/replay_messages.h"

#include <iostream>
#include <string_view>
#include <vector>

namespace app {

int CheckReplayFiles(std::span<const std::string> files, std::ostream& out, std::ostream& err) {
    if (files.empty()) {
        err << "使い方: pimuru " << kCheckReplayOption << " ファイル…\n";
        return 2;
    }
    int status = 0;
    for (const std::string& file : files) {
        const replay::DecodedReplay decoded = replay::ReadReplayFile(file);
        if (!decoded.Value) {
            out << file << ": " << decoded.Error << '\n';
            status = 1;
            continue;
        }
        const replay::CheckResult result = replay::CheckReplay(*decoded.Value);
        if (!result.Clean) {
            out << file << ": " << replay::messages::WorldDiffers(result.FirstBadFrame) << '\n';
            status = 1;
            continue;
        }
        out << file << ": "
            << replay::messages::CheckedClean(result.FinalScore, decoded.Value->BestRallyScore,
                                              result.Frames)
            << '\n';
    }
    return status;
}

std::optional<int> CheckReplayIfAsked(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != kCheckReplayOption)
        return std::nullopt;
    const std::vector<std::string> files(argv + 2, argv + argc);
    return CheckReplayFiles(files, std::cout, std::cerr);
}

} // namespace app
