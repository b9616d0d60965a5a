#pragma once
// The player's settings file ($XDG_CONFIG_HOME/pimuru/pimuru.ini by default)
// and the meeting server kept there ("server=HOST[:PORT]", and for a private
// relay "relay_user=" and "relay_password=").

#include <QSettings>

#include <string>

namespace game {

QSettings UserSettings();

// The meeting server for room codes; empty when none is set.
std::string SavedMeetingServer();

// The relay's credentials when the server's operator set private ones;
// empty: the public ones every server of ours takes.
std::string SavedRelayUser();
std::string SavedRelayPassword();

} // namespace game
