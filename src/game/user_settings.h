#pragma once
// The player's settings file ($XDG_CONFIG_HOME/pimuru/pimuru.ini by default)
// and the meeting server kept there ("server=HOST[:PORT]").

#include <QSettings>

#include <string>

namespace game {

QSettings UserSettings();

// The meeting server for room codes; empty when none is set.
std::string SavedMeetingServer();

} // namespace game
