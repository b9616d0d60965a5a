#pragma once
// The launcher's online choice: host a game (on a port, with this machine's
// addresses to tell the partner) or join one (an address typed or one of the
// last few joined), and the input delay (chosen from the round trip unless
// the player picks one).

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace game {

inline constexpr std::uint16_t kDefaultOnlinePort = 7170;

struct OnlineRequest {
    bool Host = true;
    std::uint16_t Port = kDefaultOnlinePort; // the host's
    std::string Address;                     // the joiner's "host[:port]"
    int InputDelay = -1;                     // −1: from the round trip
};

class OnlineDialog : public QDialog {
public:
    OnlineDialog(QWidget* parent, const std::vector<std::string>& recentJoins);
    OnlineRequest Request() const;

private:
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
