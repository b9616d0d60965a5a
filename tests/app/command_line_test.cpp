// The program's command line: what it takes, what it passes on to Qt, and
// the one line for anything else; the options that choose the seats.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using partner::SeatChoice;
using partner::Strength;

app::CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "pimuru");
    return app::ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, TakesItsOptionsAndPassesQtsOn) {
    const app::CommandLine line = Parse(
        {"-platform", "offscreen", "--windowed", "--display=:3", "-reverse", "run.pimuru-replay"});
    EXPECT_EQ(line.Error, "");
    EXPECT_TRUE(line.Windowed);
    EXPECT_FALSE(line.Help);
    // Made absolute: the program changes to its data folder before it reads.
    EXPECT_EQ(line.ReplayFile, (std::filesystem::current_path() / "run.pimuru-replay").string());
    EXPECT_EQ(Parse({"--replay", "/r/a.pimuru-replay"}).ReplayFile, "/r/a.pimuru-replay");
    EXPECT_EQ(Parse({"--", "-odd-name"}).ReplayFile,
              (std::filesystem::current_path() / "-odd-name").string());
    EXPECT_TRUE(Parse({"-h"}).Help);
}

TEST(CommandLine, RefusesWhatItDoesNotKnowInOneLine) {
    EXPECT_EQ(Parse({"--fullscreen"}).Error,
              "pimuru: unknown option '--fullscreen' (pimuru --help lists the options)");
    EXPECT_NE(Parse({"-x"}).Error, "");
    EXPECT_NE(Parse({"--replay"}).Error, "");
    EXPECT_NE(Parse({"a.pimuru-replay", "b.pimuru-replay"}).Error, "");
    EXPECT_NE(Parse({"--windowed", "--check-replay", "a"}).Error, "");
    // What follows --host is its port, never a replay file.
    EXPECT_EQ(Parse({"--host", "abc"}).Error, "pimuru: --host takes a port number, not 'abc'");
    EXPECT_EQ(Parse({"--host", "1234567"}).Error, "pimuru: --host takes a port from 1 to 65535");
    EXPECT_EQ(Parse({"--host", "7171", "--windowed"}).HostPort, 7171);
    EXPECT_EQ(Parse({"--host", "--windowed"}).HostPort, 7170);
}

TEST(CommandLine, JoinTakesARoomCodeOrAnAddressAndServerTakesAHost) {
    for (const char* code : {"K7Q-4MX", "k7q4mx", "K7Q4MX"}) {
        const app::CommandLine line = Parse({"--join", code});
        EXPECT_TRUE(line.JoinLooksLikeCode) << code;
        EXPECT_EQ(line.Join, code);
    }
    for (const char* address : {"192.0.2.7", "K7Q4MX:7170", "K7Q.4MX", "[::1]:7170", "localhost",
                                "K7Q-4M", "K0Q-4MX"}) {
        EXPECT_FALSE(Parse({"--join", address}).JoinLooksLikeCode) << address;
    }
    EXPECT_EQ(Parse({"--server", "meet.example.org:1884", "--host"}).Server, "meet.example.org:1884");
    EXPECT_EQ(Parse({"--server=192.0.2.1"}).Server, "192.0.2.1");
    EXPECT_EQ(Parse({"--server"}).Error, "pimuru: --server needs HOST or HOST:PORT");
    EXPECT_EQ(Parse({"--server", "--host"}).Error, "pimuru: --server needs HOST or HOST:PORT");
}

TEST(SeatOptions, ChooseTheComputersSeatsOrSayWhatIsWrong) {
    const SeatChoice remembered{{std::nullopt, Strength::Gentle}};
    struct Case {
        std::vector<std::string> args;
        SeatChoice expected;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{"pimuru"}, remembered, {"pimuru"}},
        {{"pimuru", "--computer", "1"}, {{Strength::Gentle, std::nullopt}}, {"pimuru"}},
        {{"pimuru", "--computer=both", "--strength", "strong", "-platform", "xcb"},
         {{Strength::Strong, Strength::Strong}},
         {"pimuru", "-platform", "xcb"}},
        {{"pimuru", "--strength=steady"}, {{std::nullopt, Strength::Steady}}, {"pimuru"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        SeatChoice choice = remembered;
        EXPECT_EQ(app::TakeSeatOptions(args, choice), "") << c.args.size();
        EXPECT_EQ(choice, c.expected) << c.args.size();
        EXPECT_EQ(args, c.left);
    }

    const std::vector<std::string> wrong[] = {
        {"pimuru", "--computer", "3"}, {"pimuru", "--strength", "hard"}, {"pimuru", "--computer"}};
    for (const auto& bad : wrong) {
        std::vector<std::string> args = bad;
        SeatChoice choice = remembered;
        EXPECT_NE(app::TakeSeatOptions(args, choice), "") << bad.back();
        EXPECT_EQ(choice, remembered);
    }
}

} // namespace
