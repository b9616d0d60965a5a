#pragma once
// The game's side of the meeting server (an MQTT 5 broker, libmosquitto): it
// hears one room's topic and publishes there. Messages arrive on the
// client's own thread and wait in a short queue for the caller; a flood into
// the topic costs at most that queue. Publish, Receive and the destructor may
// be called from any one thread and never wait on the network for long.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

struct mosquitto;

namespace net {

inline constexpr std::uint16_t kMeetingPort = 1883;

class MeetingClient {
public:
    // Messages larger than maxMessage are dropped on arrival, and at most
    // maxQueued wait; more are dropped and counted.
    explicit MeetingClient(std::size_t maxMessage = 4096, std::size_t maxQueued = 64);
    ~MeetingClient();
    MeetingClient(const MeetingClient&) = delete;
    MeetingClient& operator=(const MeetingClient&) = delete;

    // Connects, once, and hears topic (a literal topic, no wildcards). false, with
    // Error() naming the server, when that has not happened within timeout.
    bool Connect(const std::string& host, std::uint16_t port, const std::string& topic,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5));

    // Publishes to the topic; the server forgets the message after
    // expirySeconds (0: the server's own limit). Nothing is retained: the
    // project's server refuses it, so that no one can park messages there.
    bool Publish(std::span<const std::uint8_t> message, std::uint32_t expirySeconds);

    // Only messages that pass test are kept from now on (and those waiting
    // are tested too): garbage in the room never takes a place in the queue.
    // test runs on the client's network thread.
    void KeepOnly(std::function<bool(std::span<const std::uint8_t>)> test);

    // The next message from someone else on the topic, waiting up to wait.
    std::optional<std::vector<std::uint8_t>> Receive(std::chrono::milliseconds wait = {});

    const std::string& Error() const { return error_; }
    std::int64_t DroppedMessages() const;

private:
    friend struct MeetingCallbacks; // libmosquitto's callbacks, on the network thread
    void Refused(std::string why);
    void Loop();

    std::size_t maxMessage_;
    std::size_t maxQueued_;
    mosquitto* client_ = nullptr;
    std::thread loop_;
    std::string topic_;
    std::string server_; // "host:port", for the player's messages
    std::string error_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool subscribed_ = false;
    bool stopping_ = false;
    std::string refusal_; // what the server said when it refused us
    std::function<bool(std::span<const std::uint8_t>)> keep_;
    std::deque<std::vector<std::uint8_t>> queue_;
    std::int64_t dropped_ = 0;
};

} // namespace net
