#include "game/seat_settings.h"

#include "game/user_settings.h"

#include <QSettings>
#include <QString>

#include <string>
#include <string_view>

namespace game {

namespace {

constexpr const char* kKeys[] = {"seats/pimuru1", "seats/pimuru2"};

} // namespace

partner::SeatChoice LoadSeatChoice() {
    const QSettings settings = UserSettings();
    partner::SeatChoice choice;
    for (int i = 0; i < 2; ++i) {
        const std::string name =
            settings.value(QString::fromUtf8(kKeys[i])).toString().toStdString();
        choice.Computer[i] = partner::StrengthNamed(name);
    }
    return choice;
}

void SaveSeatChoice(const partner::SeatChoice& choice) {
    QSettings settings = UserSettings();
    for (int i = 0; i < 2; ++i) {
        const auto& seat = choice.Computer[i];
        const std::string_view name = seat ? partner::NameOf(*seat) : "person";
        settings.setValue(QString::fromUtf8(kKeys[i]),
                          QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
}

} // namespace game
