#include "game/user_settings.h"

namespace game {

QSettings UserSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pimuru"),
                     QStringLiteral("pimuru"));
}

namespace {

std::string Saved(const QString& key) {
    return UserSettings().value(key).toString().trimmed().toStdString();
}

} // namespace

std::string SavedMeetingServer() {
    return Saved(QStringLiteral("server"));
}

std::string SavedRelayUser() {
    return Saved(QStringLiteral("relay_user"));
}

std::string SavedRelayPassword() {
    return Saved(QStringLiteral("relay_password"));
}

} // namespace game
