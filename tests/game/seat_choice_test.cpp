// The launcher's choice of who plays each pimuru: a run with the computer on
// pimuru 2, the lists' place in the launcher, and the choice remembered in
// the settings file.
#include "launcher_fixture.h"

#include "game/seat_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QSettings>

namespace gametest {
namespace {

using partner::SeatChoice;
using partner::Strength;
using SeatChoiceTest = LauncherTest;

TEST_F(SeatChoiceTest, TheComputerStrikesForPimuru2WhileThePersonsKeysMovePimuru1) {
    EXPECT_EQ(form_->SeatChoice->Choice(), SeatChoice{}) << "people play both at first";
    form_->SeatChoice->SetChoice(SeatChoice{{std::nullopt, Strength::Steady}});
    form_->CheckBox1->setChecked(false);
    const game::World& world = form_->GameWorld();
    std::int32_t before = 0;
    std::int32_t after = 0;
    std::int32_t striker = -1;
    PlayScript({
        {5,
         [&] {
             before = world.PimuruAt(0).X;
             QTest::keyPress(Window(), Qt::Key_Left); // pimuru 2's key, for the person alone
         }},
        {20,
         [&] {
             after = world.PimuruAt(0).X;
             QTest::keyRelease(Window(), Qt::Key_Left);
         }},
        {180, [&] { striker = world.LastStriker(); }},
    });
    EXPECT_LT(after, before - 40);
    EXPECT_EQ(striker, 2);
}

TEST_F(SeatChoiceTest, EachClosedListShowsItsLongestEntryWithinTheButtonsEdges) {
    const int left = form_->BitBtn2->x();
    const int right = form_->BitBtn1->geometry().right();
    for (int i = 0; i < 2; ++i) {
        const QComboBox* list = form_->SeatChoice->List(i);
        // The width the list asks for shows the longest entry and the arrow.
        EXPECT_GE(list->width(), list->sizeHint().width()) << "list " << i + 1;
        EXPECT_GE(list->x(), left) << "list " << i + 1;
        EXPECT_LE(list->geometry().right(), right) << "list " << i + 1;
        for (const QWidget* other : form_->Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(other == list || !other->geometry().intersects(list->geometry()))
                << "list " << i + 1 << " overlaps " << other->metaObject()->className() << " at x "
                << other->x();
        }
    }
}

TEST_F(SeatChoiceTest, APlayersChangeIsPassedOnAndTheSettingsFileKeepsIt) {
    std::optional<SeatChoice> changed;
    form_->SeatChoice->OnChanged = [&](const SeatChoice& choice) { changed = choice; };
    QComboBox* second = form_->SeatChoice->List(1);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Down);
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, (SeatChoice{{std::nullopt, Strength::Gentle}}));

    testsupport::TempDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(config.Path().string()));
    EXPECT_EQ(game::LoadSeatChoice(), SeatChoice{});
    const SeatChoice both{{Strength::Strong, Strength::Gentle}};
    game::SaveSeatChoice(both);
    EXPECT_EQ(game::LoadSeatChoice(), both);
    {
        QSettings file(QString::fromStdString((config.Path() / "pimuru" / "pimuru.ini").string()),
                       QSettings::IniFormat);
        file.setValue(QStringLiteral("seats/pimuru1"), QStringLiteral("wizard"));
    }
    EXPECT_EQ(game::LoadSeatChoice(), (SeatChoice{{std::nullopt, Strength::Gentle}}));
}

} // namespace
} // namespace gametest
