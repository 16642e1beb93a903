#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/recorded_edits.h"
#include "model/omb_data.h"
#include "notation/event_list_dialog.h"
#include "notation/note_detail_dialog.h"
#include "support/scripted_ui.h"

namespace {

class EventListDialogTest : public testing::Test {
protected:
    EventListDialogTest() {
        song.track(2).add(
            std::make_unique<Event>(0, 0xC2, std::span<const std::uint8_t>{}, 5, 0, 0));
        song.track(2).add(std::make_unique<Note>(480, 80, 120, 85, 0, 0));
    }
    std::unique_ptr<EventListDialog> open(bool trackDetail) {
        return std::make_unique<EventListDialog>(
            nullptr, song, ui, trackDetail, EventListEditor::Page{1, 4, 480, 2}, entryChannel,
            [this](QDialog& dialog) { return runNoteDetail(dialog); });
    }
    static void retype(QLineEdit& field, const QString& text) {
        field.selectAll();
        QTest::keyClicks(&field, text);
    }
    const Event& event() const { return static_cast<const Event&>(*song.track(2).at(0)); }

    std::function<int(QDialog&)> runNoteDetail = [](QDialog& dialog) { return dialog.exec(); };
    ScriptedUi ui;
    SongTiming timing;
    OMBData song{timing};
    int entryChannel = 0;
};

TEST_F(EventListDialogTest, TypedValueIsAppliedByOkAndLeftUnappliedByEscape) {
    auto escaped = open(false);
    retype(escaped->field(EventFields::kValue1), "40");
    QTest::keyClick(escaped.get(), Qt::Key_Escape);
    EXPECT_EQ(event().data1(), 5);
    EXPECT_EQ(escaped->editor().take(), nullptr);

    auto dialog = open(false);
    EXPECT_EQ(dialog->windowTitle(), "Events");
    ASSERT_EQ(dialog->list().count(), 1);
    EXPECT_EQ(dialog->tracks().currentText(), "3");
    EXPECT_EQ(dialog->eventNames().currentText(), "Program Change");
    EXPECT_FALSE(dialog->showOption(EventListShow::TempoChanges).isVisibleTo(dialog.get()));
    retype(dialog->field(EventFields::kValue1), "40");
    dialog->okButton().click();
    EXPECT_EQ(event().data1(), 40);
    ASSERT_NE(dialog->editor().take(), nullptr);
}

TEST_F(EventListDialogTest, NameListsAndCreateEventMakeATempoEvent) {
    auto dialog = open(false);
    dialog->eventNames().setCurrentIndex(8);
    emit dialog->eventNames().activated(8);
    dialog->metaNames().setCurrentIndex(7);
    emit dialog->metaNames().activated(7);
    EXPECT_EQ(dialog->field(EventFields::kType).text(), "255");
    EXPECT_EQ(dialog->field(EventFields::kValue1).text(), "81");
    retype(dialog->field(EventFields::kValue2), "100");
    dialog->createButton().click();
    EXPECT_EQ(timing.defaultTempo, 100);
    ASSERT_EQ(dialog->list().count(), 2);
    EXPECT_EQ(dialog->list().currentRow(), 1);
    EXPECT_TRUE(static_cast<const Event&>(*song.track(2).at(1)).isMeta(Event::kMetaTempo));
    dialog->deleteButton().click();
    EXPECT_EQ(dialog->list().count(), 1);
    EXPECT_EQ(song.track(2).count(), 2);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(EventListDialogTest, TrackDetailNoteLineOpensNoteDetail) {
    runNoteDetail = [](QDialog& dialog) {
        auto& detail = static_cast<NoteDetailDialog&>(dialog);
        EXPECT_EQ(detail.windowTitle(), "Note Detail");
        EXPECT_EQ(detail.name().text(), "C5");
        EXPECT_TRUE(detail.name().isReadOnly());
        detail.velocity().setText("100");
        detail.accept();
        return detail.result();
    };
    auto dialog = open(true);
    EXPECT_EQ(dialog->windowTitle(), "Track Detail");
    EXPECT_TRUE(dialog->showOption(EventListShow::CurrentTrack).isChecked());
    ASSERT_EQ(dialog->list().count(), 2);
    dialog->list().setCurrentRow(1);
    EXPECT_EQ(static_cast<const Note&>(*song.track(2).at(1)).velocity(), 100);
    EXPECT_EQ(dialog->list().currentRow(), 1);
    dialog->showOption(EventListShow::TempoChanges).click();
    EXPECT_EQ(dialog->list().count(), 0);
    EXPECT_EQ(dialog->tracks().currentIndex(), -1);
}

}  // namespace
