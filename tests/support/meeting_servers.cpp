#include "support/meeting_servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace testsupport {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool Binds(int type, std::uint16_t port) {
    const int s = socket(AF_INET, type, 0);
    const sockaddr_in a = Loopback(port);
    const bool ok = bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

bool Listens(std::uint16_t port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(port);
    const bool ok = connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

bool Installed(const char* program) {
    for (const char* dir : {"/usr/sbin/", "/usr/bin/", "/sbin/"}) {
        if (access((std::string(dir) + program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

std::uint16_t FreeLoopbackPort() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int s = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a = Loopback(0);
        socklen_t size = sizeof a;
        bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
        close(s);
        const std::uint16_t port = ntohs(a.sin_port);
        if (Binds(SOCK_DGRAM, port) && Binds(SOCK_STREAM, port)) {
            return port;
        }
    }
    return 0;
}

std::string MeetingServers::Missing() {
    std::string missing;
    for (const char* program : {"mosquitto", "turnserver"}) {
        if (!Installed(program)) {
            missing += std::string(missing.empty() ? "" : ", ") + program;
        }
    }
    return missing;
}

pid_t MeetingServers::Spawn(const std::vector<std::string>& command, const std::string& log) {
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // no server outlives a test that was killed
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        std::vector<char*> argv;
        for (const auto& a : command) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (pid > 0) {
        children_.push_back(pid);
    }
    return pid;
}

bool MeetingServers::Start() {
    mqttPort_ = FreeLoopbackPort();
    const std::string mqttConfig = dir_.File("mosquitto.conf");
    std::ofstream(mqttConfig) << "listener " << mqttPort_ << " 127.0.0.1\n"
                              << "allow_anonymous true\npersistence false\n"
                              // as the project's server: nothing parked there
                              << "retain_available false\n";
    Spawn({"mosquitto", "-c", mqttConfig}, dir_.File("mosquitto.log"));

    turnPort_ = FreeLoopbackPort();
    // Loopback peers are allowed here only: both players are on loopback.
    Spawn({"turnserver", "-n", "--listening-ip=127.0.0.1", "--listening-ip=::1",
           "--relay-ip=127.0.0.1", "--relay-ip=::1",
           "--listening-port=" + std::to_string(turnPort_), "--lt-cred-mech",
           "--user=pimuru:pimuru-relay", "--realm=pimuru", "--allow-loopback-peers", "--no-cli",
           "--no-tls", "--no-dtls", "--simple-log", "--log-file=" + dir_.File("turn.log"),
           "--pidfile=" + dir_.File("turn.pid"), "--userdb=" + dir_.File("turndb")},
          dir_.File("turn.out"));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(Listens(mqttPort_) && Listens(turnPort_))) {
        if (std::chrono::steady_clock::now() > deadline) {
            error_ = "mosquitto or turnserver did not start; logs in " + dir_.Path().string();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

MeetingServers::~MeetingServers() {
    for (const pid_t pid : children_) {
        kill(pid, SIGTERM);
    }
    for (const pid_t pid : children_) {
        waitpid(pid, nullptr, 0);
    }
}

} // namespace testsupport
