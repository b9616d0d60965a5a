#pragma once
// The ways to a partner the online set-up chooses between, each in a file of
// its own: hosting and joining directly by address, and meeting by room code.
// Each ends with the link to the partner and the run's start (Start.Run), or
// nullopt with error set (empty: the player gave up).

#include "game/online_connect.h"
#include "game/online_progress.h"

#include <functional>
#include <optional>
#include <string>

namespace game {

using Cancelled = std::function<bool()>;

// On the request's port, with the router asked to forward it (UPnP).
std::optional<OnlineConnection> HostDirectly(ProgressWindow& progress, const OnlineRequest& request,
                                             const online::Welcome& offer,
                                             const Cancelled& cancelled, std::string& error);
// To the request's address.
std::optional<OnlineConnection> JoinDirectly(ProgressWindow& progress, const OnlineRequest& request,
                                             const Cancelled& cancelled, std::string& error);
// Through the request's meeting server: a fresh room whose code the player
// tells the partner (and which goes to standard output as "code: K7Q-4MX").
std::optional<OnlineConnection> HostByCode(ProgressWindow& progress, const OnlineRequest& request,
                                           const online::Welcome& offer, const Cancelled& cancelled,
                                           std::string& error);
// Through the request's meeting server, into the room of the code in Address.
std::optional<OnlineConnection> JoinByCode(ProgressWindow& progress, const OnlineRequest& request,
                                           const Cancelled& cancelled, std::string& error);

} // namespace game
