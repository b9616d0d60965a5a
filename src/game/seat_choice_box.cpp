#include "game/seat_choice_box.h"

#include <QComboBox>
#include <QLabel>
#include <QString>

#include <algorithm>
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

SeatChoiceBox::SeatChoiceBox(QWidget* parent, int y, int left, int right) {
    QLabel* labels[2];
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(QString::fromUtf8(kLabels[i]), parent);
        auto* list = new QComboBox(parent);
        list->setObjectName(QStringLiteral("SeatList%1").arg(i + 1));
        for (const char* entry : kEntries)
            list->addItem(QString::fromUtf8(entry));
        label->setBuddy(list);
        QObject::connect(list, &QComboBox::activated, [this](int) {
            if (OnChanged)
                OnChanged(Choice());
        });
        labels[i] = label;
        lists_[i] = list;
    }
    // Each closed list is wide enough for its longest entry and the arrow,
    // in whatever font the desktop gives (as far as the row has room); the
    // first pair starts at `left`, the second ends at `right`.
    constexpr int kGap = 2; // between a label and its list
    constexpr int kHeight = 22;
    const int labelWidth = std::max(labels[0]->sizeHint().width(), labels[1]->sizeHint().width());
    constexpr int kMiddle = 4; // at least, between the two pairs
    const int room = (right - left - kMiddle) / 2 - labelWidth - kGap;
    const int listWidth = std::min(room, std::max(lists_[0]->sizeHint().width(), lists_[1]->sizeHint().width()));
    const int places[] = {left, right - labelWidth - kGap - listWidth};
    for (int i = 0; i < 2; ++i) {
        labels[i]->setGeometry(places[i], y, labelWidth, kHeight);
        lists_[i]->setGeometry(places[i] + labelWidth + kGap, y, listWidth, kHeight);
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
