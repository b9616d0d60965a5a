#include "game/online_connect.h"

#include "platform/net/handshake_driver.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <iostream>

namespace game {

namespace {

// What the rules of a run depend on besides the program: raised when a
// change would make two machines' worlds part.
constexpr std::uint32_t kRulesDataVersion = 1;
constexpr int kJoinTimeoutMs = 15'000;
constexpr int kHostTimeoutMs = 24 * 3600 * 1000; // the host waits until the player gives up
constexpr int kRouterSearchMs = 1500;

OnlineTestSwitches& TestSwitches() {
    static OnlineTestSwitches switches;
    return switches;
}

online::Versions OurVersions() {
    const std::string& testVersion = TestSwitches().ProgramVersion;
    return {testVersion.empty() ? PIMURU_VERSION : testVersion, kRulesDataVersion};
}

class ProgressWindow {
public:
    explicit ProgressWindow(QWidget* parent) : window_(parent) {
        window_.setObjectName(QStringLiteral("OnlineProgress"));
        window_.setWindowTitle(QStringLiteral("オンライン"));
        auto* layout = new QVBoxLayout(&window_);
        label_ = new QLabel(&window_);
        label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long line (a refusal naming both versions) wraps instead of
        // running the window off a small screen.
        label_->setWordWrap(true);
        auto* cancel = new QPushButton(QStringLiteral("やめる"), &window_);
        layout->addWidget(label_);
        layout->addWidget(cancel);
        QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled_ = true; });
        QObject::connect(&window_, &QDialog::rejected, [this] { cancelled_ = true; });
        window_.show();
    }
    void Say(const std::string& text) {
        label_->setText(QString::fromStdString(text));
        FitOnScreen();
        QCoreApplication::processEvents();
    }
    // Handles the window's events; true once the player gave up.
    bool Cancelled() {
        QCoreApplication::processEvents();
        return cancelled_;
    }
    // Leaves the last words up a moment, so that they can be read.
    void Linger(int ms) {
        QElapsedTimer shown;
        shown.start();
        // The partner is connected: giving up now would only leave them waiting.
        while (shown.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }

private:
    // The text keeps its lines as they are up to two thirds of the screen's
    // width and wraps beyond; the window takes the size its text needs and
    // moves back inside the screen where it grew past an edge.
    void FitOnScreen() {
        const QScreen* screen = window_.screen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        const QMargins margins = window_.layout()->contentsMargins();
        const int lines = QFontMetrics(label_->font()).size(0, label_->text()).width();
        const int most = area.width() * 2 / 3 - margins.left() - margins.right();
        label_->setMinimumWidth(area.isEmpty() ? lines : std::max(0, std::min(lines, most)));
        window_.adjustSize();
        if (area.isEmpty())
            return;
        const QRect frame = window_.frameGeometry();
        window_.move(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())),
                     std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    }

    QDialog window_;
    QLabel* label_ = nullptr;
    bool cancelled_ = false;
};

} // namespace

void SetOnlineTestSwitches(const OnlineTestSwitches& switches) {
    TestSwitches() = switches;
}

std::optional<OnlineConnection> ConnectOnline(QWidget* parent, const OnlineRequest& request,
                                              const online::Welcome& offer,
                                              const std::function<bool()>& quitAsked,
                                              std::string& error) {
    error.clear();
    OnlineConnection connection;
    connection.Endpoint = std::make_unique<net::UdpEndpoint>();
    connection.Start.Host = request.Host;
    connection.Start.InputDelay = request.InputDelay;
    connection.Start.ForceDesyncAtFrame = TestSwitches().DesyncAtFrame;
    net::UdpEndpoint& endpoint = *connection.Endpoint;
    ProgressWindow progress(parent);
    const auto cancelled = [&progress, &quitAsked] { return progress.Cancelled() || quitAsked(); };

    if (request.Host) {
        if (!endpoint.Open(request.Port)) {
            error = "ポート " + std::to_string(request.Port) + " で待てません(" + endpoint.Error() +
                    ")。";
            return std::nullopt;
        }
        std::vector<std::string> addresses = LocalAddresses();
        progress.Say("ルーターにポート " + std::to_string(endpoint.Port()) +
                     " の転送を頼んでいます…");
        connection.Mapping = std::make_unique<net::PortMapping>(endpoint.Port(), kRouterSearchMs);
        std::cerr << "pimuru: " << connection.Mapping->Report() << '\n';
        if (connection.Mapping->Mapped() && connection.Mapping->ReachableFromOutside()) {
            addresses.insert(addresses.begin(),
                             connection.Mapping->ExternalAddress() + "(ルーターの外側)");
        }
        progress.Say("ポート " + std::to_string(endpoint.Port()) + " で相手を待っています。\n" +
                     connection.Mapping->Report() +
                     "\n相手に伝えるアドレス:" + AddressLines(addresses));
        connection.Start.Run = offer;
        const net::HostResult hosted = net::WaitForGuest(
            endpoint, OurVersions(), connection.Start.Run, kHostTimeoutMs,
            [&progress](const std::string& refused) {
                std::cerr << "pimuru: " << refused << '\n';
                progress.Say(refused + "\n引き続き相手を待っています。");
            },
            cancelled);
        if (!hosted.Accepted) {
            error = cancelled() ? "" : hosted.Error;
            return std::nullopt;
        }
        progress.Say(hosted.RoundTripMs >= 0 ? "相手と接続しました(往復 " +
                                                   std::to_string(hosted.RoundTripMs) + " ms)。"
                                             : std::string("相手と接続しました。"));
    } else {
        const auto target = net::ParseHostAndPort(request.Address, kDefaultOnlinePort, error);
        if (!target) {
            return std::nullopt;
        }
        if (!endpoint.Open(0)) {
            error = "通信を始められません(" + endpoint.Error() + ")。";
            return std::nullopt;
        }
        progress.Say("ホスト " + target->Host + " のポート " + std::to_string(target->Port) +
                     " に参加しています…");
        const net::JoinResult joined =
            net::Join(endpoint, *target, OurVersions(), kJoinTimeoutMs, cancelled);
        if (!joined.Welcome) {
            error = cancelled() ? "" : joined.Error;
            return std::nullopt;
        }
        connection.Start.Run = *joined.Welcome;
        progress.Say("相手と接続しました(往復 " + std::to_string(joined.RoundTripMs) + " ms)。");
    }
    progress.Linger(800);
    return connection;
}

} // namespace game
