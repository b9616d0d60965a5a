#include "game/online_dialog.h"

#include "online/address_reach.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace game {

OnlineDialog::OnlineDialog(QWidget* parent, const std::vector<std::string>& recentJoins)
    : QDialog(parent) {
    setObjectName(QStringLiteral("OnlineDialog"));
    setWindowTitle(QStringLiteral("オンラインで遊ぶ"));
    auto* layout = new QGridLayout(this);

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

    layout->addWidget(host_, 0, 0);
    layout->addWidget(port_, 0, 1);
    layout->addWidget(told, 1, 0, 1, 2);
    layout->addWidget(join_, 2, 0);
    layout->addWidget(address_, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("入力遅延"), this), 3, 0);
    layout->addWidget(delay_, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);

    (recentJoins.empty() ? host_ : join_)->setChecked(true);
    connect(address_, &QComboBox::editTextChanged, this, [this] { join_->setChecked(true); });
}

OnlineRequest OnlineDialog::Request() const {
    OnlineRequest request;
    request.Host = host_->isChecked();
    request.Port = static_cast<std::uint16_t>(port_->value());
    request.Address = address_->currentText().trimmed().toStdString();
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
