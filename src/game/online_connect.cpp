#include "game/online_connect.h"

#include "game/connect_steps.h"

#include <iostream>

namespace game {

std::optional<OnlineConnection> ConnectOnline(QWidget* parent, const OnlineRequest& request,
                                              const online::Welcome& offer,
                                              const std::function<bool()>& quitAsked,
                                              std::string& error) {
    error.clear();
    ProgressWindow progress(parent);
    const Cancelled cancelled = [&progress, &quitAsked] {
        return progress.Cancelled() || quitAsked();
    };
    std::optional<OnlineConnection> connection =
        request.ByCode ? (request.Host ? HostByCode(progress, request, offer, cancelled, error)
                                       : JoinByCode(progress, request, cancelled, error))
                       : (request.Host ? HostDirectly(progress, request, offer, cancelled, error)
                                       : JoinDirectly(progress, request, cancelled, error));
    if (!connection) {
        return std::nullopt;
    }
    connection->Start.Host = request.Host;
    connection->Start.InputDelay = request.InputDelay;
    connection->Start.ForceDesyncAtFrame = CurrentTestSwitches().DesyncAtFrame;
    // For scripts that start the game and wait for it to play: exactly this line.
    std::cout << "connected: " << (connection->Link->Relayed() ? "relay" : "direct") << std::endl;
    progress.Linger(800);
    return connection;
}

} // namespace game
