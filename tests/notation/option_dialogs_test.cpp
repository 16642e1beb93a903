#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/settings.h"
#include "model/omb_data.h"
#include "model/undo_history.h"
#include "notation/bar_width_dialog.h"
#include "notation/beat_dialog.h"
#include "notation/default_velocity_dialog.h"
#include "notation/glyph_set.h"
#include "notation/go_to_bar_dialog.h"
#include "notation/key_window.h"
#include "notation/time_division_dialog.h"
#include "notation/time_signature_dialog.h"
#include "notation/title_author_dialog.h"
#include "platform/profile.h"
#include "staff/staff_page.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

class OptionDialogsTest : public testing::Test {
protected:
    ScratchDir dir;
    ScriptedUi ui;
    SongTiming timing;
    OMBData song{timing};
    StaffPage page{song, 4};
};

TEST_F(OptionDialogsTest, VelocityAndBarAreCheckedAgainstTheirRanges) {
    const auto enter = [&](const char* text) {
        DefaultVelocityDialog dialog(nullptr, timing, ui);
        EXPECT_EQ(dialog.velocity().text(), QString::number(timing.defaultVelocity));
        dialog.velocity().setText(text);
        dialog.accept();
        return timing.defaultVelocity;
    };
    EXPECT_EQ(enter("2"), 2);
    EXPECT_EQ(enter("1"), 2) << "an entered note of velocity 1 would be a rest";
    EXPECT_EQ(enter("0"), 2);
    EXPECT_EQ(enter("127"), 127);
    EXPECT_EQ(enter("00"), 127);
    EXPECT_EQ(enter("128"), 127);
    EXPECT_EQ(enter("x"), 127);
    EXPECT_EQ(enter("64"), 64);
    EXPECT_EQ(ui.texts(), std::vector<std::string>(5, "Invalid Velocity (2-127)"));

    ui.boxes.clear();
    const auto go = [&](const char* text) {
        GoToBarDialog dialog(nullptr, page, ui);
        dialog.bar().setText(text);
        dialog.accept();
        return page.firstBar();
    };
    EXPECT_EQ(go("2000"), 2001);
    EXPECT_EQ(go("2001"), 2001);
    EXPECT_EQ(go("-3"), 2001);
    EXPECT_EQ(go("0"), 1);
    EXPECT_EQ(ui.texts(), std::vector<std::string>(2, "Invalid Bar (0-2000)"));
}

TEST_F(OptionDialogsTest, BarWidthStoresTheBarsPerPageAndRefusesNoChoice) {
    Profile profile(dir / "t.ini");
    Settings settings(profile, ui);
    BarWidthDialog none(nullptr, page, settings, ui);
    none.widths().setCurrentIndex(-1);
    none.accept();
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid selection"});
    EXPECT_EQ(page.barsPerPage(), 4);

    BarWidthDialog dialog(nullptr, page, settings, ui);
    EXPECT_EQ(dialog.widths().currentText(), "Narrow");
    dialog.widths().setCurrentIndex(0);
    dialog.accept();
    EXPECT_EQ(page.barsPerPage(), 2);
    EXPECT_EQ(settings.barsPerPage(), 2);
}

TEST_F(OptionDialogsTest, TimeSignatureStoresTheMeterAndKeepsANumeratorOutsideItsList) {
    song.timeSignature.beatsPerBar = 7;  // read from a file: not in the list
    TimeSignatureDialog odd(nullptr, song, ui);
    odd.accept();
    EXPECT_EQ(song.timeSignature.beatsPerBar, 7);
    EXPECT_TRUE(song.changed);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid Numerator"});

    song.timeSignature.beatsPerBar = 4;
    song.changed = false;
    TimeSignatureDialog signature(nullptr, song, ui);
    EXPECT_EQ(signature.numerators().currentText(), "4");
    signature.numerators().setCurrentText("3");
    signature.denominators().setCurrentText("8");
    signature.accept();
    EXPECT_EQ(song.timeSignature, (TimeSignature{3, 8}));
    EXPECT_TRUE(song.changed);
}

TEST_F(OptionDialogsTest, TimeDivisionStoresTheChoiceAndResetsOneOutsideTheList) {
    song.timeDivision = 100;
    TimeDivisionDialog unlisted(nullptr, song, ui);
    unlisted.accept();
    EXPECT_EQ(song.timeDivision, 120);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid division, reset to 120"});

    TimeDivisionDialog division(nullptr, song, ui);
    EXPECT_EQ(division.divisions().currentText(), "120");
    division.divisions().setCurrentText("480");
    division.accept();
    EXPECT_EQ(song.timeDivision, 480);
}

TEST_F(OptionDialogsTest, BeatDialogsReadBeatDivisionOrTheMouse) {
    const auto enter = [&](const char* text, auto purpose) {
        BeatDialog dialog(nullptr, purpose, song, 0, ui);
        dialog.beat().setText(text);
        dialog.accept();
        return std::pair{dialog.choice(), dialog.tick()};
    };
    const auto paste = BeatDialog::Purpose::Paste;
    EXPECT_EQ(enter("", paste).first, BeatDialog::Choice::UseMouse);
    EXPECT_EQ(enter("1:0", paste), std::pair(BeatDialog::Choice::AtTick, 480));
    EXPECT_EQ(enter("2:60", paste), std::pair(BeatDialog::Choice::AtTick, 1020));
    EXPECT_EQ(enter("nonsense", paste).first, BeatDialog::Choice::Cancelled);
    EXPECT_EQ(ui.boxes.size(), 1u) << "the parser says why";
    ui.boxes.clear();
    EXPECT_EQ(enter("", BeatDialog::Purpose::SetFirstNote).first, BeatDialog::Choice::Cancelled);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Invalid - Format is Beat:Division"});
}

TEST_F(OptionDialogsTest, KeyWindowAppliesAChoiceAtOnceAndTitleAuthorStartsEmpty) {
    const GlyphSet glyphs;
    song.keySignature = {1, 1, 0, 0, 0, 0, 0};  // D major
    bool okPressed = false;
    UndoHistory history(song);
    auto* keys = new KeyWindow(nullptr, song, history, glyphs, [&] { okPressed = true; });
    EXPECT_EQ(keys->keys().currentIndex(), 9);
    EXPECT_EQ(keys->keys().count(), 15);
    emit keys->keys().activated(2);  // Db major: five flats
    EXPECT_EQ(song.keySignature, (KeySignature{-1, -1, -1, -1, -1, 0, 0}));
    EXPECT_TRUE(song.changed);
    song.changed = false;
    emit keys->keys().activated(7);
    EXPECT_EQ(song.keySignature, KeySignature{});
    EXPECT_TRUE(song.changed);
    keys->findChild<QPushButton*>()->click();
    EXPECT_TRUE(okPressed);

    // Title / Author starts empty and stores what is typed.
    song.setTitle("Old");
    TitleAuthorDialog dialog(nullptr, song);
    EXPECT_TRUE(dialog.title().text().isEmpty());
    dialog.author().setText("Trad.");
    dialog.accept();
    EXPECT_EQ(song.title(), "");
    EXPECT_EQ(song.author(), "Trad.");
}

}  // namespace
