#include "game/seat_choice_box.h"

#include <QComboBox>
#include <QLabel>
#include <QString>

#include <optional>

namespace game {

namespace {

using partner::Strength;

// List entries in order: the person first, then the strengths.
constexpr const char* kEntries[] = {"人が遊ぶ", "コンピュータ（やさしい）",
                                    "コンピュータ（ふつう）", "コンピュータ（つよい）"};
constexpr Strength kStrengths[] = {Strength::Gentle, Strength::Steady, Strength::Strong};
constexpr const char* kLabels[] = {"ぴむる１", "ぴむる２"};

int EntryOf(const std::optional<Strength>& seat) {
    for (int i = 0; i < 3; ++i) {
        if (seat == kStrengths[i])
            return i + 1;
    }
    return 0;
}

std::optional<Strength> SeatOf(int entry) {
    if (entry >= 1 && entry <= 3)
        return kStrengths[entry - 1];
    return std::nullopt;
}

} // namespace

SeatChoiceBox::SeatChoiceBox(QWidget* parent, int y) {
    for (int i = 0; i < 2; ++i) {
        const int left = 32 + i * 234;
        auto* label = new QLabel(QString::fromUtf8(kLabels[i]), parent);
        label->setGeometry(left, y + 3, 56, 16);
        auto* list = new QComboBox(parent);
        list->setObjectName(QStringLiteral("SeatList%1").arg(i + 1));
        list->setGeometry(left + 58, y, 160, 22);
        for (const char* entry : kEntries)
            list->addItem(QString::fromUtf8(entry));
        label->setBuddy(list);
        QObject::connect(list, &QComboBox::activated, [this](int) {
            if (OnChanged)
                OnChanged(Choice());
        });
        lists_[i] = list;
    }
}

partner::SeatChoice SeatChoiceBox::Choice() const {
    partner::SeatChoice choice;
    for (int i = 0; i < 2; ++i)
        choice.Computer[i] = SeatOf(lists_[i]->currentIndex());
    return choice;
}

void SeatChoiceBox::SetChoice(const partner::SeatChoice& choice) {
    for (int i = 0; i < 2; ++i)
        lists_[i]->setCurrentIndex(EntryOf(choice.Computer[i]));
}

} // namespace game
