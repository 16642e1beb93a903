#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>

#include "app/settings.h"
#include "model/omb_data.h"
#include "notation/beat_dialog.h"
#include "notation/change_voices_dialog.h"
#include "notation/default_velocity_dialog.h"
#include "notation/go_to_bar_dialog.h"
#include "notation/loop_dialog.h"
#include "notation/speed_dialog.h"
#include "notation/time_division_dialog.h"
#include "notation/title_author_dialog.h"
#include "notation/voice_title_dialog.h"
#include "platform/profile.h"
#include "playback/voice_table.h"
#include "staff/staff_page.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

// Opens the dialog as a user meets it, types text over what the first control shows and
// presses the key; answers what the dialog's exec() would have returned.
int typeAndPress(QDialog& dialog, const char* text, Qt::Key key) {
    dialog.show();
    QWidget* focus = dialog.focusWidget();
    EXPECT_NE(focus, nullptr);
    if (focus == nullptr) {
        return -1;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        EXPECT_EQ(edit->selectedText(), edit->text()) << "the whole value is selected";
    } else if (auto* spinBox = qobject_cast<QAbstractSpinBox*>(focus)) {
        EXPECT_FALSE(spinBox->text().isEmpty());
    }
    QTest::keyClicks(focus, text);
    QTest::keyClick(focus, key);
    return dialog.result();
}

class DialogKeyboardTest : public testing::Test {
protected:
    ScriptedUi ui;
    SongTiming timing;
    OMBData song{timing};
    StaffPage page{song, 4};
};

TEST_F(DialogKeyboardTest,
       DialogsOpenOnTheirFirstFieldTakeWhatIsTypedOnEnterAndEscapeChangesNothing) {
    DefaultVelocityDialog escaped(nullptr, timing, ui);
    EXPECT_EQ(typeAndPress(escaped, "12", Qt::Key_Escape), QDialog::Rejected);
    EXPECT_EQ(timing.defaultVelocity, 80);
    DefaultVelocityDialog velocity(nullptr, timing, ui);
    EXPECT_EQ(typeAndPress(velocity, "64", Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(timing.defaultVelocity, 64);

    GoToBarDialog bar(nullptr, page, ui);
    EXPECT_EQ(typeAndPress(bar, "12", Qt::Key_Enter), QDialog::Accepted);
    EXPECT_EQ(page.firstBar(), 13);

    BeatDialog paste(nullptr, BeatDialog::Purpose::Paste, song, 0, ui);
    EXPECT_EQ(typeAndPress(paste, "2:40", Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(paste.choice(), BeatDialog::Choice::AtTick);
    EXPECT_EQ(paste.tick(), 2 * 4 * song.timeDivision + 40);
    EXPECT_TRUE(ui.boxes.empty());

    int percent = 100;
    SpeedDialog escapedSpeed(nullptr, percent);
    EXPECT_EQ(typeAndPress(escapedSpeed, "50", Qt::Key_Escape), QDialog::Rejected);
    EXPECT_EQ(percent, 100);
    SpeedDialog speed(nullptr, percent);
    EXPECT_EQ(typeAndPress(speed, "50", Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(percent, 50);

    // The loop's bars given the wrong way round still name the bars between.
    PlayLoop loop;
    LoopDialog bars(nullptr, loop);
    EXPECT_EQ(typeAndPress(bars, "5", Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(loop, (PlayLoop{true, 1, 5}));
    bars.lastBar().setValue(2);
    bars.accept();
    EXPECT_EQ(loop, (PlayLoop{true, 2, 5}));

    TitleAuthorDialog dialog(nullptr, song);
    dialog.show();
    ASSERT_EQ(dialog.focusWidget(), &dialog.title());
    QTest::keyClicks(&dialog.title(), "Reel");
    QTest::keyClick(&dialog.title(), Qt::Key_Tab);
    EXPECT_EQ(dialog.focusWidget(), &dialog.author()) << "Tab reaches the author";

    TimeDivisionDialog division(nullptr, song, ui);
    division.show();
    EXPECT_NE(qobject_cast<QComboBox*>(division.focusWidget()), nullptr);
}

TEST_F(DialogKeyboardTest, VoiceDialogsTakeEnterAndEscapeKeepsTheNames) {
    VoiceTitleDialog title(nullptr, "Piano");
    EXPECT_EQ(typeAndPress(title, "A string voice", Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(title.name(), "A string voi");

    const ScratchDir dir;
    ScratchDir::write(dir / "voices.syn", "Piano\nViolin\n");
    Profile profile(dir / "t.ini");
    Settings settings(profile, ui);
    VoiceTable voices;
    voices.reload(dir / "voices.syn");
    std::array<int, 16> programs{};
    programs.fill(-1);
    const auto open = [&](Qt::Key key) {
        ChangeVoicesDialog dialog(nullptr, voices, programs, settings, ui, dir.path(),
                                  [](QDialog& dialog) { return dialog.exec(); });
        EXPECT_TRUE(dialog.prepare());
        dialog.show();
        EXPECT_EQ(dialog.focusWidget(), &dialog.voiceList());
        QTest::keyClick(&dialog.voiceList(), Qt::Key_Down);
        QTest::keyClick(&dialog.voiceList(), key);
        return dialog.result();
    };
    EXPECT_EQ(open(Qt::Key_Escape), QDialog::Rejected);
    EXPECT_EQ(open(Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(ScratchDir::read(dir / "voices.syn"), "Piano\nViolin\n");
}

}  // namespace
