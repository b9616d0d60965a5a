#pragma once
// The launcher's online choice: host a room by code or join one by its code
// through the meeting server, or the direct way: host on a port (with this
// machine's addresses to tell the partner) or join an address (typed or one
// of the last few joined); and the input delay (chosen from the round trip
// unless the player picks one).

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace game {

inline constexpr std::uint16_t kDefaultOnlinePort = 7170;

struct OnlineRequest {
    bool Host = true;
    bool ByCode = false;                     // through the meeting server
    std::string Server;                      // the meeting server's "host[:port]"
    std::uint16_t Port = kDefaultOnlinePort; // the direct host's
    std::string Address;                     // the joiner's "host[:port]", or the room code
    int InputDelay = -1;                     // −1: from the round trip
};

class OnlineDialog : public QDialog {
public:
    // server: the meeting server set; empty: the room-code ways say so.
    OnlineDialog(QWidget* parent, const std::vector<std::string>& recentJoins,
                 const std::string& server);
    OnlineRequest Request() const;

private:
    std::string server_;
    QRadioButton* hostCode_;
    QRadioButton* joinCode_;
    QLineEdit* code_;
    QRadioButton* host_;
    QRadioButton* join_;
    QSpinBox* port_;
    QComboBox* address_;
    QComboBox* delay_;
};

// This machine's addresses a partner can use, those that work only on the
// same network marked; empty when it has none.
std::vector<std::string> LocalAddresses();
// Addresses as the lines of a list for the player, one indented line each.
std::string AddressLines(const std::vector<std::string>& addresses);

} // namespace game
