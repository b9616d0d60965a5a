#include "game/user_settings.h"

namespace game {

QSettings UserSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pimuru"),
                     QStringLiteral("pimuru"));
}

std::string SavedMeetingServer() {
    return UserSettings().value(QStringLiteral("server")).toString().trimmed().toStdString();
}

} // namespace game
