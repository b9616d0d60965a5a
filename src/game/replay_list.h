#pragma once
// The launcher's list of kept replays, newest first: date, mode, length and
// best rally score. The one chosen (double-click, Enter or the watch button)
// is watched, or a file chosen from anywhere; a file that cannot be read
// says why when chosen.

#include "game/replay_folder.h"

#include <QDialog>

#include <string>
#include <vector>

class QTreeWidget;

namespace game {

class ReplayList : public QDialog {
public:
    ReplayList(QWidget* parent, const std::string& folder);

    // The file chosen, once the dialog is accepted.
    const std::string& Chosen() const { return chosen_; }
    // The rows as shown, for tests: each row's columns.
    std::vector<std::vector<std::string>> Rows() const;

private:
    void Choose();

    QTreeWidget* list_;
    std::vector<ReplaySummary> replays_;
    std::string chosen_;
};

} // namespace game
