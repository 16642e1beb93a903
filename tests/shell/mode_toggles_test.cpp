#include <QComboBox>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/status_bar.h"

namespace {

namespace keys = settings_keys;

using ModeTogglesTest = MainWindowTest;

TEST_F(ModeTogglesTest, TogglesSayWhatTheyChoseAndStoreIt) {
    start();
    window->command(command::kStaffOrPiano);
    EXPECT_TRUE(current().view().pianoRoll);
    EXPECT_EQ(button(command::kStaffOrPiano).state(), 0);
    EXPECT_EQ(setting(keys::kStaffOrPiano), "PIANO");
    window->command(command::kStaffOrPiano + 6);  // the same toggle without a button
    EXPECT_FALSE(current().view().pianoRoll);
    EXPECT_EQ(setting(keys::kStaffOrPiano), "STAFF");

    window->command(command::kDisplaySolo);
    window->command(command::kPlaySolo);
    EXPECT_TRUE(current().view().displaySolo);
    EXPECT_TRUE(current().view().playSolo);
    window->command(command::kPlaySolo);
    EXPECT_FALSE(current().view().playSolo);

    window->command(command::kAnimateButton);
    EXPECT_FALSE(window->menu().isChecked(command::kAnimate));
    EXPECT_EQ(button(command::kAnimateButton).state(), 1);
    window->menu().action(command::kAnimate)->trigger();
    EXPECT_TRUE(window->menu().isChecked(command::kAnimate)) << "the menu toggles its check once";

    window->command(command::kMinimizeButton);
    EXPECT_TRUE(window->menu().isChecked(command::kMinimizeOnPlay));
    window->menu().action(command::kMinimizeOnPlay)->trigger();
    window->command(command::kMinimizeOnPlay);
    EXPECT_EQ(ui.notices,
              (std::vector<std::string>{
                  "Piano Roll Notation Selected", "Staff Notation Selected",
                  "Display Solo Selected", "Play Solo Selected", "Play All Selected",
                  "Animation Turned Off", "Animation Turned On", "Minimize On Play Turned On",
                  "Minimize On Play Turned Off", "Minimize On Play Turned On"}));
    window->saveSettings();
    EXPECT_EQ(setting(keys::kAnimate), "Yes");
    EXPECT_EQ(setting(keys::kHide), "Yes");
}

// Dotted once sat in another menu, and a rest or accidental once moved the note button.
TEST_F(ModeTogglesTest, RestsAndAccidentalsKeepTheNoteButtonAndEachWindowKeepsItsOwn) {
    start();
    const auto* menu = qobject_cast<QMenu*>(window->menu().action(command::kDotted)->parent());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&Symbols");
    window->command(command::kNoteButtonFirst + 1);
    EXPECT_EQ(current().view().noteValue, 1);
    for (const int id : {command::kWholeRest, command::kSharp, command::kFlat, command::kNatural}) {
        window->command(id);
        EXPECT_EQ(current().view().noteValue, id - command::kNoteValueBase);
        EXPECT_EQ(window->currentNoteButton(), 1) << id;
        EXPECT_EQ(button(command::kNoteButtonFirst + 1).state(), 1) << id;
    }
    window->command(command::kThirtySecondNote);
    EXPECT_EQ(button(command::kNoteButtonLast).state(), 1);
    EXPECT_EQ(button(command::kNoteButtonFirst + 1).state(), 0);

    window->command(command::kNew);
    EXPECT_EQ(window->currentNoteButton(), 3);
    window->command(command::kWindowFirst);
    EXPECT_EQ(window->currentNoteButton(), 5);
}

TEST_F(ModeTogglesTest, ToolbarClicksTheTrackComboAndPageTurnsReachTheCommands) {
    start(songFile("t.mid"));
    QTest::mouseClick(&button(command::kStaffOrPiano), Qt::LeftButton);
    EXPECT_TRUE(current().view().pianoRoll);
    QTest::mouseClick(&button(command::kNoteButtonFirst + 1), Qt::LeftButton);
    EXPECT_EQ(current().view().noteValue, 1);
    window->toolbar().trackCombo()->setCurrentIndex(4);
    emit window->toolbar().trackCombo()->activated(4);
    EXPECT_EQ(current().view().currentTrack, 4);
    window->toolbar().trackCombo()->setCurrentIndex(2);
    window->command(command::kTrackCombo);
    EXPECT_EQ(current().view().currentTrack, 2);
    EXPECT_EQ(current().statusBar().trackField(), "Track : 3");

    const int visible = current().page().visibleBars();
    QTest::mouseClick(&button(command::kNextPage), Qt::LeftButton);
    EXPECT_EQ(current().page().firstBar(), 1 + visible);
    window->command(command::kNextPage);
    EXPECT_EQ(current().page().firstBar(), 1 + 2 * visible);
    EXPECT_EQ(current().statusBar().barField(), QStringLiteral("Bar : %1").arg(2 * visible));
    for (int i = 0; i < 3; ++i)
        window->command(command::kPrevPage);
    EXPECT_EQ(current().page().firstBar(), 1) << "not before the first bar";
}

}  // namespace
