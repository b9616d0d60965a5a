#pragma once
// A partner found through ICE (libnice): host, server-reflexive (STUN) and
// relayed (TURN) candidates, IPv4 and IPv6, are gathered and tried in pairs,
// and the pair chosen carries the run's datagrams. The agent runs on its own
// GLib main context and thread, so the class needs no Qt and no caller's loop.

#include "meeting/meeting_message.h"
#include "online/transport.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

typedef struct _NiceAgent NiceAgent;
typedef struct _GMainContext GMainContext;
typedef struct _GMainLoop GMainLoop;

namespace net {

inline constexpr std::uint16_t kRelayPort = 3478;

enum class RelayUse {
    Allow,  // direct pairs first, the relay when nothing else works
    Forbid, // no relayed candidates (a relay refused or over its quota)
    Force,  // relayed pairs only (tests)
};

struct IceOptions {
    bool Controlling = false; // the host controls, the guest follows
    // STUN and TURN server (host name or address); empty: host candidates only.
    std::string Server;
    std::uint16_t ServerPort = kRelayPort;
    std::string RelayUser = "pimuru";
    std::string RelayPassword = "pimuru-relay";
    RelayUse Relay = RelayUse::Allow;
    // Addresses to gather host candidates on; empty: every interface but
    // loopback. Tests on one machine give 127.0.0.1.
    std::vector<std::string> LocalAddresses;
};

enum class IceState {
    Gathering,  // asking the servers for our outside addresses
    Gathered,   // Local() is complete; waiting for the partner's side
    Connecting, // trying pairs with the partner
    Connected,  // a pair works: Relayed() says which kind
    Failed,     // no pair works, or the chosen one stopped working
};

class IceTransport : public online::Transport {
public:
    explicit IceTransport(IceOptions options);
    ~IceTransport() override;
    IceTransport(const IceTransport&) = delete;
    IceTransport& operator=(const IceTransport&) = delete;

    // Starts gathering, once. false, with Error(), when it cannot (the
    // server's name unknown, no network address); the transport then stays
    // unusable: it sends nothing and has no side.
    bool Start();
    const std::string& Error() const { return error_; }

    IceState State() const;
    // Waits until the state is `state` or later (Failed ends every wait);
    // false when the time ran out first.
    bool WaitFor(IceState state, std::chrono::milliseconds timeout);
    // Our side as gathered so far (complete once Gathered).
    meeting::IceSide Local() const;
    // The partner's side; connecting starts. false with error when its
    // credentials are missing or none of its candidates can be read.
    bool SetRemote(const meeting::IceSide& remote, std::string& error);
    // Whether the chosen pair goes through the relay.
    bool Relayed() const;

    void Send(std::span<const std::uint8_t> datagram) override;
    std::optional<std::vector<std::uint8_t>> Receive() override;
    // Datagrams dropped because the queue was full or they were too large.
    std::int64_t DroppedDatagrams() const;

private:
    friend struct IceCallbacks; // libnice's signals, on the agent's thread
    void SetState(IceState state);
    bool UseServer(std::string& error);

    IceOptions options_;
    std::string error_;
    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    NiceAgent* agent_ = nullptr;
    unsigned stream_ = 0;
    bool started_ = false; // Start succeeded: the agent may be used
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    IceState state_ = IceState::Gathering;
    bool relayed_ = false;
    bool closed_ = false;
    std::deque<std::vector<std::uint8_t>> received_;
    std::int64_t dropped_ = 0;
};

} // namespace net
