#include "game/online_dialog.h"

#include "online/address_reach.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace game {

OnlineDialog::OnlineDialog(QWidget* parent, const std::vector<std::string>& recentJoins,
                           const std::string& server)
    : QDialog(parent), server_(server) {
    setObjectName(QStringLiteral("OnlineDialog"));
    setWindowTitle(QStringLiteral("オンラインで遊ぶ"));
    auto* layout = new QGridLayout(this);

    hostCode_ = new QRadioButton(QStringLiteral("部屋を作る(コードを相手に伝えます)"), this);
    hostCode_->setObjectName(QStringLiteral("HostByCode"));
    joinCode_ = new QRadioButton(QStringLiteral("コードで参加する　部屋のコード"), this);
    joinCode_->setObjectName(QStringLiteral("JoinByCode"));
    code_ = new QLineEdit(this);
    code_->setObjectName(QStringLiteral("Code"));
    code_->setPlaceholderText(QStringLiteral("K7Q-4MX"));
    code_->setMaxLength(16);
    auto* through = new QLabel(
        server.empty()
            ? QStringLiteral(
                  "ミーティングサーバーが設定されていないので、部屋のコードは使えません。\n"
                  "設定のしかたは README の「A meeting server for room codes」にあります\n"
                  "(pimuru.ini の server= か、--server HOST)。")
            : QString::fromStdString("ミーティングサーバー: " + server),
        this);
    through->setObjectName(QStringLiteral("MeetingServer"));
    through->setTextInteractionFlags(Qt::TextSelectableByMouse);
    hostCode_->setEnabled(!server.empty());
    joinCode_->setEnabled(!server.empty());
    code_->setEnabled(!server.empty());

    auto* direct = new QLabel(QStringLiteral("直接つなぐ(アドレスとポートで):"), this);
    direct->setContentsMargins(0, 10, 0, 0); // the third way, set apart from the codes
    host_ = new QRadioButton(QStringLiteral("ホストになる　ポート"), this);
    host_->setObjectName(QStringLiteral("Host"));
    port_ = new QSpinBox(this);
    port_->setObjectName(QStringLiteral("Port"));
    port_->setRange(1, 65535);
    port_->setValue(kDefaultOnlinePort);
    auto* told = new QLabel(
        QString::fromStdString("相手に伝えるアドレス:" + AddressLines(LocalAddresses())), this);
    told->setTextInteractionFlags(Qt::TextSelectableByMouse);

    join_ = new QRadioButton(QStringLiteral("参加する　アドレス[:ポート]"), this);
    join_->setObjectName(QStringLiteral("Join"));
    address_ = new QComboBox(this);
    address_->setObjectName(QStringLiteral("Address"));
    address_->setEditable(true);
    address_->setMinimumWidth(220);
    for (const std::string& join : recentJoins) {
        address_->addItem(QString::fromStdString(join));
    }

    delay_ = new QComboBox(this);
    delay_->setObjectName(QStringLiteral("InputDelay"));
    delay_->addItem(QStringLiteral("自動(往復時間から)"));
    for (int frames = 0; frames <= 4; ++frames) {
        delay_->addItem(QString::number(frames) + QStringLiteral(" フレーム"));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("開始"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("やめる"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    int row = 0;
    layout->addWidget(hostCode_, row++, 0, 1, 2);
    layout->addWidget(joinCode_, row, 0);
    layout->addWidget(code_, row++, 1);
    layout->addWidget(through, row++, 0, 1, 2);
    layout->addWidget(direct, row++, 0, 1, 2);
    layout->addWidget(host_, row, 0);
    layout->addWidget(port_, row++, 1);
    layout->addWidget(told, row++, 0, 1, 2);
    layout->addWidget(join_, row, 0);
    layout->addWidget(address_, row++, 1);
    layout->addWidget(new QLabel(QStringLiteral("入力遅延"), this), row, 0);
    layout->addWidget(delay_, row++, 1);
    layout->addWidget(buttons, row, 0, 1, 2);

    (server.empty() ? (recentJoins.empty() ? host_ : join_) : hostCode_)->setChecked(true);
    connect(address_, &QComboBox::editTextChanged, this, [this] { join_->setChecked(true); });
    connect(code_, &QLineEdit::textEdited, this, [this] { joinCode_->setChecked(true); });
}

OnlineRequest OnlineDialog::Request() const {
    OnlineRequest request;
    request.Host = hostCode_->isChecked() || host_->isChecked();
    request.ByCode = hostCode_->isChecked() || joinCode_->isChecked();
    request.Server = server_;
    request.Port = static_cast<std::uint16_t>(port_->value());
    request.Address =
        (joinCode_->isChecked() ? code_->text() : address_->currentText()).trimmed().toStdString();
    request.InputDelay = delay_->currentIndex() - 1;
    return request;
}

std::vector<std::string> LocalAddresses() {
    std::vector<std::string> all;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        all.push_back(address.toString().toStdString());
    }
    return online::AddressesToTell(all);
}

std::string AddressLines(const std::vector<std::string>& addresses) {
    if (addresses.empty()) {
        return "\n  (ネットワークにつながっていないようです)";
    }
    std::string lines;
    for (const std::string& address : addresses) {
        lines += "\n  " + address;
    }
    return lines;
}

} // namespace game
