// One side of many online games played at once through a TURN relay: each
// game's ICE transport (the game's own, libnice) with its packets sealed as
// in a run, carrying one recorded run's packets, one a frame, for as long as
// the caller wants. relay_cost.sh runs a host side and a guest side in the
// two homes of the NAT lab and measures the relay between them.
//   relay_load --side host|guest --pairs N --server ADDRESS --exchange DIR
//              [--relay force|forbid|allow] [--max-seconds S]
// The two sides swap their ICE candidates through files in DIR (a stand-in
// for the meeting server, which is not what is measured); traffic runs
// until DIR/stop appears or --max-seconds have passed since it started.
#include "support/online_pair.h"

#include "meeting/sealed_transport.h"
#include "online/packet.h"
#include "platform/net/ice_transport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The game's frame (38 a second), one packet each way a frame.
constexpr auto kFrame = std::chrono::milliseconds(26);
// Gathering, swapping sides and connecting: generous, the machine may be busy.
constexpr auto kSetupLimit = std::chrono::seconds(90);

struct Options {
    bool Host = true;
    int Pairs = 100;
    std::string Server;
    fs::path Exchange;
    net::RelayUse Relay = net::RelayUse::Allow;
    int MaxSeconds = 120;
};

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "relay_load: %s\n", why.c_str());
    std::exit(1);
}

Options ReadOptions(int argc, char** argv) {
    Options options;
    bool relayGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            Fail(name + " wants a value");
        }
        const std::string value = argv[++i];
        if (name == "--side" && (value == "host" || value == "guest")) {
            options.Host = value == "host";
        } else if (name == "--pairs") {
            options.Pairs = std::atoi(value.c_str());
        } else if (name == "--server") {
            options.Server = value;
        } else if (name == "--exchange") {
            options.Exchange = value;
        } else if (name == "--relay" && (value == "force" || value == "forbid" || value == "allow")) {
            options.Relay = value == "force"    ? net::RelayUse::Force
                            : value == "forbid" ? net::RelayUse::Forbid
                                                : net::RelayUse::Allow;
            relayGiven = true;
        } else if (name == "--max-seconds") {
            options.MaxSeconds = std::atoi(value.c_str());
        } else {
            Fail("unknown option or value: " + name + " " + value);
        }
    }
    if (options.Pairs < 1 || options.Pairs > 1000 || options.Server.empty() ||
        options.Exchange.empty() || options.MaxSeconds < 1 || options.MaxSeconds > 3600) {
        Fail("wants --side, --pairs 1..1000, --server, --exchange and --max-seconds 1..3600");
    }
    if (!relayGiven) {
        // The relay on the host's side only: client to server on one leg,
        // server to peer on the other, as when one home cannot be reached.
        options.Relay = options.Host ? net::RelayUse::Force : net::RelayUse::Forbid;
    }
    return options;
}

// One side's input packets of a run played over the link the online
// figures use (150 ms round trip, 5 % loss), as the session encoded them.
std::vector<std::vector<std::uint8_t>> RecordedPackets(bool host) {
    onlinetest::PairSetup setup;
    setup.Link = {150, 10, 5, 1, 1};
    setup.Seed = 150;
    setup.Frames = 3000;
    setup.RecordSent = true;
    const onlinetest::PairRun run = onlinetest::RunPair(setup);
    const onlinetest::SideResult& side = run.Sides[host ? 0 : 1];
    std::vector<std::vector<std::uint8_t>> packets;
    for (const auto& datagram : side.Sent) {
        const auto packet = online::DecodePacket(datagram);
        if (packet && std::holds_alternative<online::InputPacket>(*packet)) {
            packets.push_back(datagram);
        }
    }
    if (packets.empty()) {
        Fail("the recorded run sent no input packets");
    }
    std::printf("recorded run: %zu input packets in %lld frames, %.1f bytes each on average\n",
                packets.size(), static_cast<long long>(side.TickCount),
                [&] {
                    double bytes = 0;
                    for (const auto& p : packets) bytes += static_cast<double>(p.size());
                    return bytes / static_cast<double>(packets.size());
                }());
    return packets;
}

void WriteAtomically(const fs::path& path, const std::string& text) {
    const fs::path partial = path.string() + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << text;
        if (!out.flush()) {
            Fail("cannot write " + partial.string());
        }
    }
    fs::rename(partial, path);
}

bool WaitForFile(const fs::path& path, Clock::time_point until) {
    while (!fs::exists(path)) {
        if (Clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Per game: "ufrag password count", then count candidate lines.
std::string WriteSides(const std::vector<meeting::IceSide>& sides) {
    std::ostringstream out;
    for (const auto& side : sides) {
        out << side.Ufrag << ' ' << side.Password << ' ' << side.Candidates.size() << '\n';
        for (const auto& line : side.Candidates) {
            out << line << '\n';
        }
    }
    return out.str();
}

std::vector<meeting::IceSide> ReadSides(const fs::path& path, int pairs) {
    std::ifstream in(path);
    std::vector<meeting::IceSide> sides;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream head(line);
        meeting::IceSide side;
        std::size_t count = 0;
        if (!(head >> side.Ufrag >> side.Password >> count) || count > meeting::kMaxCandidates) {
            Fail("unreadable sides in " + path.string());
        }
        for (std::size_t i = 0; i < count && std::getline(in, line); ++i) {
            side.Candidates.push_back(line);
        }
        sides.push_back(std::move(side));
    }
    if (static_cast<int>(sides.size()) != pairs) {
        Fail(path.string() + " holds " + std::to_string(sides.size()) + " games, not " +
             std::to_string(pairs));
    }
    return sides;
}

struct Game {
    std::unique_ptr<net::IceTransport> Ice;
    std::unique_ptr<meeting::SealedTransport> Sealed;
    std::size_t Next = 0; // the recorded packet it sends next
    std::int64_t Sent = 0;
    std::int64_t SentBytes = 0; // with the code at the end
    std::int64_t Received = 0;
};

} // namespace

int main(int argc, char** argv) {
    const Options options = ReadOptions(argc, argv);
    const char* me = options.Host ? "host" : "guest";
    const char* partner = options.Host ? "guest" : "host";
    const auto packets = RecordedPackets(options.Host);

    const auto setupEnds = Clock::now() + kSetupLimit;
    std::vector<Game> games(static_cast<std::size_t>(options.Pairs));
    for (std::size_t i = 0; i < games.size(); ++i) {
        net::IceOptions ice;
        ice.Controlling = options.Host;
        ice.Server = options.Server;
        ice.Relay = options.Relay;
        games[i].Ice = std::make_unique<net::IceTransport>(ice);
        if (!games[i].Ice->Start()) {
            Fail("game " + std::to_string(i) + ": " + games[i].Ice->Error());
        }
        // Both sides of a game share its key; each game its own.
        meeting::Key key{};
        key[0] = static_cast<std::uint8_t>(i);
        key[1] = static_cast<std::uint8_t>(i >> 8);
        games[i].Sealed = std::make_unique<meeting::SealedTransport>(*games[i].Ice, key);
        // Games at different points of the run, so packet sizes mix.
        games[i].Next = (i * 997) % packets.size();
    }
    std::vector<meeting::IceSide> locals;
    int relayCandidates = 0;
    for (auto& game : games) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(setupEnds - Clock::now());
        if (!game.Ice->WaitFor(net::IceState::Gathered, std::max(left, std::chrono::milliseconds(0))) ||
            game.Ice->State() == net::IceState::Failed) {
            Fail("gathering candidates did not finish");
        }
        locals.push_back(game.Ice->Local());
        int relays = 0;
        for (const auto& line : locals.back().Candidates) {
            relays += line.find(" typ relay") != std::string::npos ? 1 : 0;
        }
        if (relays == 0 && options.Relay == net::RelayUse::Force) {
            Fail("game " + std::to_string(locals.size() - 1) +
                 " got no relay allocation (the relay refused it: over its quota?)");
        }
        relayCandidates += relays;
    }
    std::printf("%s: %d games gathered, %d relay allocations held\n", me, options.Pairs,
                relayCandidates);
    WriteAtomically(options.Exchange / (std::string(me) + ".sides"), WriteSides(locals));
    const fs::path theirs = options.Exchange / (std::string(partner) + ".sides");
    if (!WaitForFile(theirs, setupEnds)) {
        Fail("the other side's candidates did not come");
    }
    const auto remotes = ReadSides(theirs, options.Pairs);
    for (std::size_t i = 0; i < games.size(); ++i) {
        std::string error;
        if (!games[i].Ice->SetRemote(remotes[i], error)) {
            Fail("game " + std::to_string(i) + ": " + error);
        }
    }
    int connected = 0;
    int relayed = 0;
    for (auto& game : games) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(setupEnds - Clock::now());
        if (game.Ice->WaitFor(net::IceState::Connected, std::max(left, std::chrono::milliseconds(0))) &&
            game.Ice->State() == net::IceState::Connected) {
            ++connected;
            relayed += game.Ice->Relayed() ? 1 : 0;
        }
    }
    std::printf("%s: %d of %d games connected, %d through the relay\n", me, connected,
                options.Pairs, relayed);
    std::fflush(stdout);
    if (connected != options.Pairs) {
        Fail("not every game connected");
    }
    WriteAtomically(options.Exchange / (std::string(me) + ".ready"), "");
    if (!WaitForFile(options.Exchange / (std::string(partner) + ".ready"), setupEnds)) {
        Fail("the other side did not get ready");
    }

    // Each game sends at its own moment of the frame, as independent games do.
    const auto start = Clock::now();
    const auto stopAt = start + std::chrono::seconds(options.MaxSeconds);
    const fs::path stopFile = options.Exchange / "stop";
    const auto slot = kFrame / games.size();
    auto frameStart = start;
    bool stopped = false;
    std::int64_t frames = 0;
    while (!stopped) {
        for (std::size_t i = 0; i < games.size(); ++i) {
            std::this_thread::sleep_until(frameStart + slot * i);
            Game& game = games[i];
            const auto& packet = packets[game.Next];
            game.Next = (game.Next + 1) % packets.size();
            game.Sealed->Send(packet);
            ++game.Sent;
            game.SentBytes += static_cast<std::int64_t>(packet.size() + meeting::kPacketMacSize);
            while (game.Sealed->Receive()) {
                ++game.Received;
            }
        }
        ++frames;
        frameStart += kFrame;
        stopped = Clock::now() > stopAt || (frames % 38 == 0 && fs::exists(stopFile));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    std::int64_t sent = 0, bytes = 0, received = 0, forged = 0, dropped = 0;
    for (const auto& game : games) {
        sent += game.Sent;
        bytes += game.SentBytes;
        received += game.Received;
        forged += game.Sealed->ForgedDatagrams();
        dropped += game.Ice->DroppedDatagrams();
    }
    std::printf("%s: %.1f s, %lld datagrams sent (%.1f bytes each with the code, %.1f a second a "
                "game), %lld received, %lld failed their code, %lld dropped\n",
                me, seconds, static_cast<long long>(sent),
                static_cast<double>(bytes) / static_cast<double>(std::max<std::int64_t>(1, sent)),
                static_cast<double>(sent) / seconds / options.Pairs,
                static_cast<long long>(received), static_cast<long long>(forged),
                static_cast<long long>(dropped));
    return 0;
}
