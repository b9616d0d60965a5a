#include "platform/ui/qt_form.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct KeySeen {
    bool down;
    std::uint16_t key;
    ui::TShiftState shift;
};

// A form as the game writes one: a control with the focus, key handlers
// that record what they see.
class RecordingForm : public ui::QtForm {
public:
    RecordingForm() {
        edit = new QLineEdit(Widget());
        SetClientWidth(200);
        SetClientHeight(100);
        OnKeyDown = [this](std::uint16_t& key, ui::TShiftState shift) {
            seen.push_back({true, key, shift});
            if (key == consumeKey)
                key = 0;
        };
        OnKeyUp = [this](std::uint16_t& key, ui::TShiftState shift) {
            seen.push_back({false, key, shift});
        };
        FinishLoading();
    }

    QWindow* Window() const { return Widget()->windowHandle(); }

    QLineEdit* edit;
    std::vector<KeySeen> seen;
    std::uint16_t consumeKey = 0xFFFF;
};

void ShowAndFocus(RecordingForm& form) {
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    form.edit->setFocus();
    QCoreApplication::processEvents();
}

TEST(QtForm, KeysReachTheFormFirstAndThenTheFocusedControl) {
    RecordingForm form;
    ShowAndFocus(form);
    QTest::keyClick(form.Window(), Qt::Key_A);
    QTest::keyClick(form.Window(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    // The modifier keys themselves come as keys too (Shift 16, Ctrl 17).
    ASSERT_EQ(form.seen.size(), 8u);
    EXPECT_TRUE(form.seen[0].down);
    EXPECT_EQ(form.seen[0].key, 65);
    EXPECT_FALSE(form.seen[1].down);
    EXPECT_EQ(form.seen[2].key, 16);
    EXPECT_EQ(form.seen[3].key, 17);
    EXPECT_EQ(form.seen[4].key, 69);
    EXPECT_EQ(form.seen[4].shift, ui::ssCtrl | ui::ssShift);
    EXPECT_EQ(form.edit->text(), QStringLiteral("a"));

    // A handler that clears the key keeps it from the control.
    form.consumeKey = 66;
    QTest::keyClick(form.Window(), Qt::Key_B);
    EXPECT_EQ(form.edit->text(), QStringLiteral("a"));
}

TEST(QtForm, HeldKeyRepeatsAsKeyDownsWithoutReleases) {
    RecordingForm form;
    ShowAndFocus(form);
    // A held key under X11: press, then release/press pairs flagged as
    // repeats, then the real release.
    QTest::simulateEvent(form.Window(), true, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                         false);
    for (int i = 0; i < 3; ++i) {
        QTest::simulateEvent(form.Window(), false, Qt::Key_Space, Qt::NoModifier,
                             QStringLiteral(" "), true);
        QTest::simulateEvent(form.Window(), true, Qt::Key_Space, Qt::NoModifier,
                             QStringLiteral(" "), true);
    }
    QTest::simulateEvent(form.Window(), false, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                         false);
    ASSERT_EQ(form.seen.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(form.seen[i].down);
        EXPECT_EQ(form.seen[i].key, 32);
    }
    EXPECT_FALSE(form.seen[4].down);
}

TEST(QtForm, KeyPreviewSurvivesABorderChange) {
    RecordingForm form;
    ShowAndFocus(form);
    form.SetBorderStyle(ui::TBorderStyle::bsNone);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    QTest::keyClick(form.Window(), Qt::Key_Escape);
    ASSERT_FALSE(form.seen.empty());
    EXPECT_EQ(form.seen.front().key, 27);
}

TEST(QtForm, CloseHandlerDecidesWhetherTheWindowGoes) {
    RecordingForm form;
    ShowAndFocus(form);
    int closes = 0;
    form.OnClose = [&](ui::TCloseAction& action) {
        ++closes;
        action = ui::TCloseAction::caNone;
    };
    form.Widget()->close();
    EXPECT_TRUE(form.Visible());
    form.OnClose = [&](ui::TCloseAction&) { ++closes; };
    form.Widget()->close();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closes, 2);
}

TEST(QtForm, SizeBorderAndVisibility) {
    RecordingForm form;
    form.SetBorderStyle(ui::TBorderStyle::bsDialog);
    form.SetClientWidth(501);
    form.SetClientHeight(256);
    EXPECT_EQ(form.ClientWidth(), 501);
    EXPECT_EQ(form.ClientHeight(), 256);
    // A dialog border cannot be resized by the user.
    EXPECT_EQ(form.Widget()->minimumSize(), QSize(501, 256));
    EXPECT_EQ(form.Widget()->maximumSize(), QSize(501, 256));
    EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);

    form.Show();
    form.SetClientWidth(640);
    form.SetClientHeight(480);
    EXPECT_EQ(form.ClientWidth(), 640);
    form.SetBorderStyle(ui::TBorderStyle::bsNone);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Widget()->windowFlags() & Qt::FramelessWindowHint);
    form.SetBounds(0, 0, 800, 600);
    EXPECT_EQ(form.Width(), 800);
    EXPECT_EQ(form.Height(), 600);
    form.SetLeft(40);
    form.SetTop(30);
    EXPECT_EQ(form.Left(), 40);
    EXPECT_EQ(form.Top(), 30);
    form.Hide();
    EXPECT_FALSE(form.Visible());
    form.SetCaption("ぴむるのゲーム Ver.1.1");
    EXPECT_EQ(form.Caption(), "ぴむるのゲーム Ver.1.1");
}

// A component that takes over the form's creation event, as the display
// component does: its own set-up, then the form's handler, then its event.
class Recorder : public ui::TComponent {
public:
    Recorder(ui::TForm& form, std::string name, std::vector<std::string>& log, bool intercept)
        : ui::TComponent(&form), name_(std::move(name)), log_(log) {
        if (!intercept)
            return;
        ui::TNotifyEvent formHandler = form.OnCreate;
        form.OnCreate = [this, formHandler] {
            log_.push_back(name_ + " set-up");
            if (formHandler)
                formHandler();
            log_.push_back(name_ + " init");
        };
    }
    ~Recorder() override { log_.push_back(name_ + " destroyed"); }
    void Loaded() override { log_.push_back(name_ + " loaded"); }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class ComponentForm : public ui::QtForm {
public:
    explicit ComponentForm(std::vector<std::string>& log) {
        OnCreate = [&log] { log.push_back("FormCreate"); };
        new Recorder(*this, "input", log, false);
        new Recorder(*this, "display", log, true);
        FinishLoading();
    }
};

TEST(QtForm, CreationLoadsComponentsThenRunsTheInterceptedCreationEvent) {
    std::vector<std::string> log;
    {
        ComponentForm form(log);
        EXPECT_EQ(log, (std::vector<std::string>{"input loaded", "display loaded", "display set-up",
                                                 "FormCreate", "display init"}));
        log.clear();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"display destroyed", "input destroyed"}));
}

// Owned components are released while the window still exists, since a
// display component may still talk to it.
class WindowWatcher : public ui::TComponent {
public:
    WindowWatcher(ui::QtForm& form, bool& windowAlive)
        : ui::TComponent(&form), window_(form.Widget()), windowAlive_(windowAlive) {}
    ~WindowWatcher() override { windowAlive_ = !window_.isNull(); }

private:
    QPointer<QWidget> window_;
    bool& windowAlive_;
};

TEST(QtForm, ComponentsGoBeforeTheWindow) {
    bool windowAlive = false;
    {
        auto* form = new RecordingForm;
        new WindowWatcher(*form, windowAlive);
        delete form;
    }
    EXPECT_TRUE(windowAlive);
}

} // namespace
