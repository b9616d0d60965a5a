#pragma once
// Hosting or joining, from the launcher's choice to a run ready to start:
// directly by address and port, or by a room code through the meeting
// server. A small window tells how it goes and its button gives up.

#include "game/online_dialog.h"
#include "game/online_versions.h"
#include "online/packet.h"
#include "online/transport.h"
#include "play/online_play.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace game {

// Whatever carries a run's datagrams to the partner (a socket with its
// router's forwarding, or an ICE pair with the meeting room), kept for as
// long as the run lasts.
class OnlineLink {
public:
    virtual ~OnlineLink() = default;
    virtual online::Transport& Transport() = 0;
    // Whether the datagrams go through the meeting server's relay.
    virtual bool Relayed() const = 0;
};

struct OnlineConnection {
    std::unique_ptr<OnlineLink> Link;
    play::OnlineStart Start;
};

// offer: the host's run (carry-over and options); a joiner gets the host's.
// quitAsked: the program is asked to end (its window closed, a signal).
// nullopt with error set when no run follows (error empty: the player gave up).
std::optional<OnlineConnection> ConnectOnline(QWidget* parent, const OnlineRequest& request,
                                              const online::Welcome& offer,
                                              const std::function<bool()>& quitAsked,
                                              std::string& error);

} // namespace game
