#pragma once
// A meeting server of the test's own on loopback: Debian's mosquitto (MQTT 5)
// and coturn (STUN and TURN, on 127.0.0.1 and ::1), each on a free port with a minimal
// configuration, stopped when the object goes.

#include "support/temp_dir.h"

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class MeetingServers {
public:
    MeetingServers() = default;
    ~MeetingServers();
    MeetingServers(const MeetingServers&) = delete;
    MeetingServers& operator=(const MeetingServers&) = delete;

    // Empty when both programs are installed; otherwise which one is missing.
    static std::string Missing();
    // Starts both and waits until they listen; false with Error() otherwise.
    bool Start();
    const std::string& Error() const { return error_; }

    std::uint16_t MqttPort() const { return mqttPort_; }
    std::uint16_t TurnPort() const { return turnPort_; }

private:
    pid_t Spawn(const std::vector<std::string>& command, const std::string& log);

    TempDir dir_;
    std::string error_;
    std::uint16_t mqttPort_ = 0;
    std::uint16_t turnPort_ = 0;
    std::vector<pid_t> children_;
};

// A loopback port free for both TCP and UDP just now.
std::uint16_t FreeLoopbackPort();

} // namespace testsupport
