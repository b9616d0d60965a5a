#include "platform/net/ice_transport.h"

#include <nice/agent.h>

#include <netdb.h>
#include <sys/socket.h>

namespace net {

namespace {

constexpr guint kComponent = 1;
constexpr std::size_t kMaxDatagram = 2048;
constexpr std::size_t kMaxQueued = 256;

// The server's addresses, at most one of each family: libnice takes only
// numeric addresses, and relays of both families let both kinds of homes in.
std::vector<std::string> Resolve(const std::string& host, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found); rc != 0) {
        error = "中継サーバー " + host + " が見つかりません: " + gai_strerror(rc);
        return {};
    }
    std::vector<std::string> addresses;
    bool v4 = false;
    bool v6 = false;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        bool& seen = a->ai_family == AF_INET6 ? v6 : v4;
        char text[NI_MAXHOST];
        if (seen || getnameinfo(a->ai_addr, a->ai_addrlen, text, sizeof text, nullptr, 0,
                                NI_NUMERICHOST) != 0) {
            continue;
        }
        seen = true;
        addresses.emplace_back(text);
    }
    freeaddrinfo(found);
    return addresses;
}

} // namespace

struct IceCallbacks {
    static void GatheringDone(NiceAgent*, guint, gpointer self) {
        auto& t = *static_cast<IceTransport*>(self);
        std::lock_guard lock(t.mutex_);
        if (t.state_ == IceState::Gathering) {
            t.state_ = IceState::Gathered;
            t.changed_.notify_all();
        }
    }

    // A relayed candidate comes with the server-reflexive one of the same
    // allocation, so it completes our side: libnice's own binding request to
    // the same server then goes unanswered for two seconds (the relay's socket
    // takes the server's replies), and nobody should wait for that.
    static void NewCandidate(NiceAgent*, NiceCandidate* candidate, gpointer self) {
        if (candidate->type == NICE_CANDIDATE_TYPE_RELAYED) {
            GatheringDone(nullptr, 0, self);
        }
    }

    static void StateChanged(NiceAgent*, guint, guint, guint state, gpointer self) {
        auto& t = *static_cast<IceTransport*>(self);
        switch (state) {
        case NICE_COMPONENT_STATE_CONNECTING:
            t.SetState(IceState::Connecting);
            break;
        case NICE_COMPONENT_STATE_CONNECTED:
        case NICE_COMPONENT_STATE_READY:
            t.SetState(IceState::Connected);
            break;
        case NICE_COMPONENT_STATE_FAILED:
            t.SetState(IceState::Failed);
            break;
        default:
            break;
        }
    }

    static void PairChosen(NiceAgent*, guint, guint, NiceCandidate* local, NiceCandidate* remote,
                           gpointer self) {
        auto& t = *static_cast<IceTransport*>(self);
        std::lock_guard lock(t.mutex_);
        t.relayed_ = local->type == NICE_CANDIDATE_TYPE_RELAYED ||
                     remote->type == NICE_CANDIDATE_TYPE_RELAYED;
        t.changed_.notify_all();
    }

    // On the agent's thread, whose context then calls Closed.
    static gboolean Close(gpointer self) {
        auto& t = *static_cast<IceTransport*>(self);
        nice_agent_close_async(t.agent_, Closed, self);
        return G_SOURCE_REMOVE;
    }

    static gboolean Quit(gpointer loop) {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_REMOVE;
    }

    static void Closed(GObject*, GAsyncResult*, gpointer self) {
        auto& t = *static_cast<IceTransport*>(self);
        std::lock_guard lock(t.mutex_);
        t.closed_ = true;
        t.changed_.notify_all();
    }

    static void Received(NiceAgent*, guint, guint, guint size, gchar* bytes, gpointer self) {
        auto& t = *static_cast<IceTransport*>(self);
        std::lock_guard lock(t.mutex_);
        if (size > kMaxDatagram || t.received_.size() >= kMaxQueued) {
            ++t.dropped_;
            return;
        }
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes);
        t.received_.emplace_back(b, b + size);
    }
};

IceTransport::IceTransport(IceOptions options) : options_(std::move(options)) {}

IceTransport::~IceTransport() {
    if (agent_) {
        g_signal_handlers_disconnect_by_data(agent_, this);
    }
    if (thread_.joinable()) {
        // Closing gives the relay's allocations back to the server at once
        // instead of leaving them to time out against its quotas.
        g_main_context_invoke(context_, IceCallbacks::Close, this);
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(2), [this] { return closed_; });
    }
    if (thread_.joinable()) {
        // Quitting from inside the loop: a quit before the thread has begun
        // to run the loop would be forgotten.
        g_main_context_invoke(context_, IceCallbacks::Quit, loop_);
        thread_.join();
    }
    if (agent_) {
        g_object_unref(agent_);
    }
    if (loop_) {
        g_main_loop_unref(loop_);
    }
    if (context_) {
        g_main_context_unref(context_);
    }
}

bool IceTransport::UseServer(std::string& error) {
    const auto addresses = Resolve(options_.Server, error);
    if (addresses.empty()) {
        return false;
    }
    g_object_set(agent_, "stun-server", addresses.front().c_str(), "stun-server-port",
                 guint{options_.ServerPort}, nullptr);
    if (options_.Relay == RelayUse::Forbid) {
        return true;
    }
    for (const auto& address : addresses) {
        nice_agent_set_relay_info(agent_, stream_, kComponent, address.c_str(), options_.ServerPort,
                                  options_.RelayUser.c_str(), options_.RelayPassword.c_str(),
                                  NICE_RELAY_TYPE_TURN_UDP);
    }
    return true;
}

bool IceTransport::Start() {
    if (context_) {
        error_ = "ICE は一度しか始められません。";
        return false;
    }
    context_ = g_main_context_new();
    loop_ = g_main_loop_new(context_, FALSE);
    agent_ = nice_agent_new(context_, NICE_COMPATIBILITY_RFC5245);
    if (!agent_) {
        error_ = "ICE を始められません。";
        return false;
    }
    // Datagrams over UDP only; the router's port mapping has its own place
    // in the game, and UPnP would talk to the whole network.
    g_object_set(agent_, "controlling-mode", gboolean{options_.Controlling}, "ice-tcp", FALSE,
                 "upnp", FALSE, "force-relay", gboolean{options_.Relay == RelayUse::Force},
                 nullptr);
    for (const auto& text : options_.LocalAddresses) {
        NiceAddress address;
        nice_address_init(&address);
        if (!nice_address_set_from_string(&address, text.c_str())) {
            error_ = "アドレスではありません: " + text;
            return false;
        }
        nice_agent_add_local_address(agent_, &address);
    }
    stream_ = nice_agent_add_stream(agent_, 1);
    if (stream_ == 0) {
        error_ = "ICE を始められません。";
        return false;
    }
    if (!options_.Server.empty() && !UseServer(error_)) {
        return false;
    }
    g_signal_connect(agent_, "candidate-gathering-done", G_CALLBACK(IceCallbacks::GatheringDone),
                     this);
    g_signal_connect(agent_, "new-candidate-full", G_CALLBACK(IceCallbacks::NewCandidate), this);
    g_signal_connect(agent_, "component-state-changed", G_CALLBACK(IceCallbacks::StateChanged),
                     this);
    g_signal_connect(agent_, "new-selected-pair-full", G_CALLBACK(IceCallbacks::PairChosen), this);
    nice_agent_attach_recv(agent_, stream_, kComponent, context_, IceCallbacks::Received, this);
    if (!nice_agent_gather_candidates(agent_, stream_)) {
        error_ = "この機械にネットワークのアドレスがありません。";
        return false;
    }
    started_ = true;
    thread_ = std::thread([this] {
        g_main_context_push_thread_default(context_);
        g_main_loop_run(loop_);
        g_main_context_pop_thread_default(context_);
    });
    return true;
}

void IceTransport::SetState(IceState state) {
    std::lock_guard lock(mutex_);
    state_ = state;
    changed_.notify_all();
}

IceState IceTransport::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

bool IceTransport::WaitFor(IceState state, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return state_ >= state; });
}

bool IceTransport::Relayed() const {
    std::lock_guard lock(mutex_);
    return relayed_;
}

meeting::IceSide IceTransport::Local() const {
    meeting::IceSide side;
    if (!started_) {
        return side;
    }
    gchar* ufrag = nullptr;
    gchar* password = nullptr;
    if (nice_agent_get_local_credentials(agent_, stream_, &ufrag, &password)) {
        side.Ufrag = ufrag;
        side.Password = password;
    }
    g_free(ufrag);
    g_free(password);
    GSList* candidates = nice_agent_get_local_candidates(agent_, stream_, kComponent);
    for (GSList* c = candidates; c; c = c->next) {
        auto* candidate = static_cast<NiceCandidate*>(c->data);
        if (gchar* line = nice_agent_generate_local_candidate_sdp(agent_, candidate)) {
            side.Candidates.emplace_back(line);
            g_free(line);
        }
        nice_candidate_free(candidate);
    }
    g_slist_free(candidates);
    return side;
}

bool IceTransport::SetRemote(const meeting::IceSide& remote, std::string& error) {
    if (!started_) {
        error = "ICE が始まっていません。";
        return false;
    }
    if (remote.Ufrag.empty() || remote.Password.empty()) {
        error = "相手の接続情報が欠けています。";
        return false;
    }
    GSList* candidates = nullptr;
    for (const auto& line : remote.Candidates) {
        if (NiceCandidate* c =
                nice_agent_parse_remote_candidate_sdp(agent_, stream_, line.c_str())) {
            candidates = g_slist_prepend(candidates, c);
        }
    }
    if (!candidates) {
        error = "相手の接続先の候補が一つもありません。";
        return false;
    }
    nice_agent_set_remote_credentials(agent_, stream_, remote.Ufrag.c_str(),
                                      remote.Password.c_str());
    const int added = nice_agent_set_remote_candidates(agent_, stream_, kComponent, candidates);
    g_slist_free_full(candidates, reinterpret_cast<GDestroyNotify>(nice_candidate_free));
    if (added <= 0) {
        error = "相手の接続先の候補を使えません。";
        return false;
    }
    return true;
}

void IceTransport::Send(std::span<const std::uint8_t> datagram) {
    // Before a pair is chosen libnice refuses; the session sends again.
    if (!started_) {
        return;
    }
    nice_agent_send(agent_, stream_, kComponent, static_cast<guint>(datagram.size()),
                    reinterpret_cast<const gchar*>(datagram.data()));
}

std::optional<std::vector<std::uint8_t>> IceTransport::Receive() {
    std::lock_guard lock(mutex_);
    if (received_.empty()) {
        return std::nullopt;
    }
    auto datagram = std::move(received_.front());
    received_.pop_front();
    return datagram;
}

std::int64_t IceTransport::DroppedDatagrams() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

} // namespace net
