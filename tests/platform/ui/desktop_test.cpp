#include "platform/ui/qt_desktop.h"
#include "platform/ui/screen_saver_switch.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace {

TEST(QtDesktop, PointerHidesWhileTheCountIsBelowZero) {
    ui::QtDesktop desktop;
    EXPECT_EQ(desktop.ShowCursor(false), -1);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    EXPECT_EQ(desktop.ShowCursor(false), -2);
    EXPECT_EQ(desktop.ShowCursor(true), -1);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(desktop.ShowCursor(true), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(desktop.ShowCursor(true), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtDesktop, WaitSleepsUntilTheDeadlineWhenNothingHappens) {
    ui::QtDesktop desktop;
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    int rounds = 0;
    // A pump that spun would come back thousands of times in this span.
    while (clock.elapsed() < 100) {
        desktop.WaitForMessages(static_cast<std::uint32_t>(100 - clock.elapsed()) + 1);
        ++rounds;
    }
    EXPECT_LE(rounds, 10);
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(QtDesktop, WaitEndsWhenAnEventArrives) {
    ui::QtDesktop desktop;
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    while (!fired && clock.elapsed() < 5000)
        desktop.WaitForMessages(10000);
    EXPECT_TRUE(fired);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(QtDesktop, MessageBoxShowsTheTextWithLineBreaksAndCaption) {
    ui::QtDesktop desktop;
    QString seenText;
    QString seenCaption;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seenText = box->text();
        seenCaption = box->windowTitle();
        box->accept();
    });
    desktop.ShowMessage("ぴむるのゲーム", "一行目\r二行目", ui::MessageKind::Information);
    EXPECT_EQ(seenText, QString::fromUtf8("一行目\n二行目"));
    EXPECT_EQ(seenCaption, QString::fromUtf8("ぴむるのゲーム"));
}

bool ScreenSaverServicePresent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() &&
           bus.interface()
               ->isServiceRegistered(QStringLiteral("org.freedesktop.ScreenSaver"))
               .value();
}

TEST(ScreenSaverSwitch, WithoutTheServiceTheSettingIsOnlyKept) {
    if (ScreenSaverServicePresent())
        GTEST_SKIP() << "this desktop has a screen saver service";
    ui::ScreenSaverSwitch saver;
    EXPECT_TRUE(saver.Active());
    saver.SetActive(false);
    EXPECT_FALSE(saver.Active());
    EXPECT_FALSE(saver.Inhibiting());
    saver.SetActive(true);
    EXPECT_TRUE(saver.Active());
}

// A stand-in for the desktop's screen saver service on a private session
// bus, answering on the bus's own thread.
class FakeScreenSaver : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == QLatin1String("Inhibit")) {
            ++inhibits;
            connection.send(message.createReply(QVariant::fromValue<uint>(41)));
            return true;
        }
        if (message.member() == QLatin1String("UnInhibit")) {
            if (message.arguments().value(0).toUInt() == 41)
                ++uninhibits;
            connection.send(message.createReply());
            return true;
        }
        return false;
    }
    QString introspect(const QString&) const override { return {}; }

    std::atomic<int> inhibits{0};
    std::atomic<int> uninhibits{0};
};

TEST(ScreenSaverSwitch, HoldsTheScreenSaverBackThroughTheService) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    if (ScreenSaverServicePresent())
        GTEST_SKIP() << "this desktop has a screen saver service of its own";
    QThread serviceThread;
    serviceThread.start();
    FakeScreenSaver service;
    service.moveToThread(&serviceThread);
    QDBusConnection serviceBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-saver"));
    ASSERT_TRUE(
        serviceBus.registerVirtualObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &service));
    ASSERT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    {
        ui::ScreenSaverSwitch saver;
        saver.SetActive(false);
        EXPECT_TRUE(saver.Inhibiting());
        saver.SetActive(false);
        EXPECT_EQ(service.inhibits.load(), 1);
        saver.SetActive(true);
        EXPECT_FALSE(saver.Inhibiting());
        EXPECT_EQ(service.uninhibits.load(), 1);
        // Going away while switched off gives the screen saver back.
        saver.SetActive(false);
    }
    EXPECT_EQ(service.uninhibits.load(), 2);
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
    serviceBus.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-saver"));
    serviceThread.quit();
    serviceThread.wait();
}

TEST(QtDesktop, ColourDepthOfATrueColourDesktopIs32) {
    ui::QtDesktop desktop;
    EXPECT_EQ(desktop.ScreenBitsPerPixel(), 32);
}

} // namespace
