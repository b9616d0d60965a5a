#include "app/command_line.h"

#include "app/check_replay_command.h"
#include "meeting/room_code.h"
#include "online/input_delay.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace app {

namespace {

// Qt reads these itself, with one dash or two; those in the first list take
// the next argument as their value.
constexpr std::string_view kQtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                                    "platformtheme",   "plugin",
                                                    "qwindowgeometry", "qwindowicon",
                                                    "qwindowtitle",    "display",
                                                    "geometry",        "style",
                                                    "stylesheet",      "session",
                                                    "title",           "name",
                                                    "visual"};
constexpr std::string_view kQtOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool IsIn(std::string_view name, std::span<const std::string_view> names) {
    for (std::string_view known : names)
        if (name == known)
            return true;
    return false;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits few enough for atoi.
bool IsNumber(std::string_view text) { return IsDigits(text) && text.size() <= 5; }

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

// The value of option `name` at args[i] ("--name value" or "--name=value"),
// erasing what it took; none when args[i] is another argument.
std::optional<std::string> TakeOption(std::vector<std::string>& args, std::size_t i,
                                      const std::string& name, std::string& error) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        std::string value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return value;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        std::string value = arg.substr(name.size() + 1);
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        return value;
    }
    return std::nullopt;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            // A bare file is watched, as a file manager opens it.
            if (!line.ReplayFile.empty()) {
                line.Error = "pimuru: only one replay file can be watched at a time";
                return line;
            }
            line.ReplayFile = Absolute(std::string(arg));
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.Help = true;
        } else if (arg == "--windowed") {
            line.Windowed = true;
        } else if (arg == "--host") {
            line.Host = true;
            // The port is optional: anything next that is not an option is
            // the port (a host watches no replay, so it cannot be a file).
            if (i + 1 < argc && argv[i + 1][0] != '-' && argv[i + 1][0] != '\0') {
                const std::string_view port = argv[++i];
                if (!IsDigits(port)) {
                    line.Error = "pimuru: --host takes a port number, not '" + std::string(port) + "'";
                    return line;
                }
                line.HostPort = IsNumber(port) ? std::atoi(argv[i]) : 0;
                if (line.HostPort < 1 || line.HostPort > 65535) {
                    line.Error = "pimuru: --host takes a port from 1 to 65535";
                    return line;
                }
            }
        } else if (arg == "--join") {
            if (i + 1 >= argc) {
                line.Error = "pimuru: --join needs HOST or HOST:PORT";
                return line;
            }
            line.Join = argv[++i];
            line.JoinLooksLikeCode = LooksLikeRoomCode(line.Join);
        } else if (arg == "--server" || arg.starts_with("--server=")) {
            if (arg == "--server" && i + 1 >= argc) {
                line.Error = "pimuru: --server needs HOST or HOST:PORT";
                return line;
            }
            line.Server = arg == "--server" ? argv[++i] : std::string(arg.substr(9));
            if (line.Server.empty() || line.Server[0] == '-') {
                line.Error = "pimuru: --server needs HOST or HOST:PORT";
                return line;
            }
        } else if (arg == "--input-delay") {
            if (i + 1 >= argc || !IsNumber(argv[i + 1]) ||
                std::atoi(argv[i + 1]) > online::kMaxInputDelay) {
                line.Error = "pimuru: --input-delay takes 0 to 4 frames";
                return line;
            }
            line.InputDelay = std::atoi(argv[++i]);
        } else if (arg == kCheckReplayOption) {
            line.Error = std::string("pimuru: ") + kCheckReplayOption +
                         " comes first, before any file or option";
            return line;
        } else if (arg == "--replay") {
            if (i + 1 >= argc || !line.ReplayFile.empty()) {
                line.Error = i + 1 >= argc
                                 ? "pimuru: --replay needs a file"
                                 : "pimuru: only one replay file can be watched at a time";
                return line;
            }
            line.ReplayFile = Absolute(argv[++i]);
        } else {
            std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
            if (const std::size_t equals = name.find('='); equals != std::string_view::npos)
                name = name.substr(0, equals);
            if (IsIn(name, kQtOptionsWithValue)) {
                if (arg.find('=') == std::string_view::npos)
                    ++i;
            } else if (!IsIn(name, kQtOptions)) {
                line.Error = "pimuru: unknown option '" + std::string(arg) +
                             "' (pimuru --help lists the options)";
                return line;
            }
        }
    }
    if (static_cast<int>(line.Host) + static_cast<int>(!line.Join.empty()) + static_cast<int>(!line.ReplayFile.empty()) > 1)
        line.Error = "pimuru: --host, --join and a replay exclude each other";
    return line;
}

bool LooksLikeRoomCode(const std::string& text) {
    std::string ignored;
    return text.find_first_of(".:") == std::string::npos &&
           meeting::ParseRoomCode(text, ignored).has_value();
}

std::string TakeSeatOptions(std::vector<std::string>& args, partner::SeatChoice& choice) {
    std::optional<std::string> computer;
    std::optional<std::string> strength;
    std::string error;
    for (std::size_t i = 1; i < args.size() && error.empty();) {
        if (auto value = TakeOption(args, i, "--computer", error))
            computer = value;
        else if (auto value = TakeOption(args, i, "--strength", error))
            strength = value;
        else if (error.empty())
            ++i;
    }
    if (!error.empty())
        return error;

    std::optional<partner::Strength> chosenStrength;
    if (strength) {
        chosenStrength = partner::StrengthNamed(*strength);
        if (!chosenStrength)
            return "--strength takes gentle, steady or strong, not \"" + *strength + "\"";
    }
    partner::SeatChoice result = choice;
    if (computer) {
        const bool first = *computer == "1" || *computer == "both";
        const bool second = *computer == "2" || *computer == "both";
        if (!first && !second)
            return "--computer takes 1, 2 or both, not \"" + *computer + "\"";
        const bool seat[game::kPimuruCount] = {first, second};
        // Without --strength, a seat keeps the strength it had, or plays steady.
        partner::Strength fallback = partner::Strength::Steady;
        for (const auto& held : choice.Computer) {
            if (held)
                fallback = *held;
        }
        for (int i = 0; i < game::kPimuruCount; ++i) {
            result.Computer[i] = seat[i] ? std::optional<partner::Strength>(chosenStrength.value_or(
                                               result.Computer[i].value_or(fallback)))
                                         : std::nullopt;
        }
    } else if (chosenStrength) {
        for (auto& held : result.Computer) {
            if (held)
                held = chosenStrength;
        }
    }
    choice = result;
    return {};
}

std::string HelpText() {
    return std::string(
               "Usage: pimuru [OPTION]… [REPLAY-FILE]\n"
               "Pimuru's Game (ぴむるのゲーム): two pimuru keep a ball in the air.\n"
               "\n"
               "  --replay FILE         watch a replay at once (a bare FILE does the same)\n"
               "  --host [PORT]         host an online game at once: by a room code when a\n"
               "                        meeting server is set (the code is printed as\n"
               "                        'code: K7Q-4MX'), else directly on PORT (7170)\n"
               "  --join CODE|HOST[:PORT]\n"
               "                        join an online game at once: by its room code\n"
               "                        through the meeting server, or directly at an\n"
               "                        address ([IPv6]:PORT for IPv6)\n"
               "  --server HOST[:PORT]  the meeting server for room codes (MQTT port 1883\n"
               "                        unless given; its relay on 3478); else server= in\n"
               "                        $XDG_CONFIG_HOME/pimuru/pimuru.ini\n"
               "  --input-delay N       online: delay this side's input N frames (0-4;\n"
               "                        chosen from the round trip unless given)\n"
               "  --windowed            untick the launcher's full-screen box\n"
               "  --computer 1|2|both   the computer plays that pimuru (or both)\n"
               "  --strength gentle|steady|strong\n"
               "                        how well the computer plays\n"
               "  ") +
           kCheckReplayOption +
           " FILE…  check replays without a window: print each one's score and\n"
           "                        length, or the first frame that differs; exit 1 on any fault\n"
           "  -h, --help            show this help and end\n"
           "\n"
           "While watching a replay: Space pauses and resumes, . steps one frame while\n"
           "paused, Right and Left jump 10 s, 1 2 4 8 set the speed, + and - change it,\n"
           "H hides the time line, Esc goes back to the launcher.\n"
           "Online, H hides the line of round trip, input delay and frames rolled\n"
           "back; Esc ends the game on both machines.\n"
           "Every run is kept as a replay in $XDG_DATA_HOME/pimuru/replays/\n"
           "(~/.local/share/pimuru/replays/): the newest 100 and the 10 best.\n"
           "Once connected online, a line 'connected: direct' or 'connected: relay'\n"
           "goes to standard output.\n"
           "Qt's own options (-platform, -display …) are passed on to Qt.\n";
}

} // namespace app
