#include "game/replay_list.h"

#include "game/main_form.h"
#include "platform/component/desktop.h"
#include "play/watch_status.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace game {

namespace {

QString ModeText(const ReplaySummary& replay) {
    QString mode = replay.CoupleMode ? QStringLiteral("カップル") : QStringLiteral("ふつう");
    if (replay.Hard)
        mode += QStringLiteral("・難しい");
    return mode;
}

} // namespace

ReplayList::ReplayList(QWidget* parent, const std::string& folder)
    : QDialog(parent), replays_(ListReplays(folder)) {
    setWindowTitle(QStringLiteral("リプレイ"));
    auto* layout = new QVBoxLayout(this);
    auto* where = new QLabel(QString::fromStdString(folder), this);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("日時"), QStringLiteral("モード"),
                            QStringLiteral("長さ"), QStringLiteral("最高得点")});
    for (const ReplaySummary& replay : replays_) {
        auto* row = new QTreeWidgetItem(list_);
        if (!replay.Error.empty()) {
            row->setText(
                0, QString::fromStdString(std::filesystem::path(replay.Path).filename().string()));
            row->setText(1, QStringLiteral("読めません"));
            continue;
        }
        row->setText(0, QDateTime::fromSecsSinceEpoch(replay.StartedAt)
                            .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        row->setText(1, ModeText(replay));
        row->setText(2, QString::fromStdString(play::ClockText(replay.Frames)));
        row->setText(3, QString::number(replay.BestRallyScore));
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    layout->addWidget(list_);
    if (replays_.empty())
        layout->addWidget(new QLabel(
            QStringLiteral("まだリプレイはありません。ゲームを遊ぶと自動で保存されます。"), this));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* watch = buttons->addButton(QStringLiteral("見る"), QDialogButtonBox::AcceptRole);
    watch->setEnabled(!replays_.empty());
    watch->setDefault(true);
    // A replay from elsewhere: a friend's, or one kept in another folder.
    QPushButton* open =
        buttons->addButton(QStringLiteral("ファイルから…"), QDialogButtonBox::ActionRole);
    connect(open, &QPushButton::clicked, this, [this] {
        const QString file =
            QFileDialog::getOpenFileName(this, QStringLiteral("リプレイを開く"), QString(),
                                         QStringLiteral("リプレイ (*%1);;すべてのファイル (*)")
                                             .arg(QString::fromUtf8(kReplaySuffix)));
        if (file.isEmpty())
            return;
        chosen_ = file.toStdString();
        accept();
    });
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Choose(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { Choose(); });
    resize(480, 360);
}

void ReplayList::Choose() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || row >= static_cast<int>(replays_.size()))
        return;
    const ReplaySummary& replay = replays_[static_cast<std::size_t>(row)];
    if (!replay.Error.empty()) {
        ui::CurrentDesktop().ShowMessage(Tfrm_main::MessageCaption(), replay.Error,
                                         ui::MessageKind::Error);
        return;
    }
    chosen_ = replay.Path;
    accept();
}

std::vector<std::vector<std::string>> ReplayList::Rows() const {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        std::vector<std::string> columns;
        for (int c = 0; c < list_->columnCount(); ++c)
            columns.push_back(list_->topLevelItem(i)->text(c).toStdString());
        rows.push_back(std::move(columns));
    }
    return rows;
}

} // namespace game
