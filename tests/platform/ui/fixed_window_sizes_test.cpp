// Fixed-size windows asked to be maximised on a Wayland compositor, the way
// Qt's own title bar button asks: they take the compositor's size instead of
// being ended for keeping their own, and get their own size back after.
#include "platform/ui/fixed_window_sizes.h"
#include "platform/ui/qt_form.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

class FixedForm : public ui::QtForm {
public:
    FixedForm() {
        SetBorderStyle(ui::TBorderStyle::bsDialog);
        SetClientWidth(501);
        SetClientHeight(256);
        FinishLoading();
    }
};

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 5000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

TEST(FixedWindowSizes, MaximisedFixedWindowsTakeTheGivenSizeAndComeBack) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        GTEST_SKIP() << "needs a Wayland compositor";
    ui::FixedWindowSizes sizes;
    FixedForm form;
    QMessageBox box(QMessageBox::Information, QStringLiteral("caption"),
                    QStringLiteral("a message"), QMessageBox::Ok);
    for (QWidget* window : {form.Widget(), static_cast<QWidget*>(&box)}) {
        SCOPED_TRACE(window->metaObject()->className());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const QSize fixed = window->size();
        window->showMaximized();
        EXPECT_TRUE(WaitFor([&] {
            return window->width() > fixed.width() && window->height() > fixed.height();
        })) << window->width()
            << "x" << window->height();
        window->update(); // a frame at the new size reaches the compositor
        QTest::qWait(200);
        window->showNormal();
        EXPECT_TRUE(WaitFor([&] { return window->size() == fixed; }))
            << window->width() << "x" << window->height();
        window->hide();
    }
}

} // namespace
