#pragma once
// The launcher's choice of who plays each pimuru: a person, or the computer
// gentle, steady or strong. A row of two lists inside the launcher's panel;
// the game run reads the choice when it starts.

#include "play/seats.h"

#include <functional>

class QComboBox;
class QWidget;

namespace game {

class SeatChoiceBox {
public:
    // Places the row inside parent, its top at y, from `left` to `right`
    // (the last pixel's column plus one).
    SeatChoiceBox(QWidget* parent, int y, int left, int right);

    partner::SeatChoice Choice() const;
    void SetChoice(const partner::SeatChoice& choice);

    // After the player changed the choice (not after SetChoice).
    std::function<void(const partner::SeatChoice&)> OnChanged;

    QComboBox* List(int index) const { return lists_[index]; }

private:
    QComboBox* lists_[2];
};

} // namespace game
