#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/event_list_dialog.h"
#include "notation/note_detail_dialog.h"
#include "notation/staff_surface.h"
#include "staff/staff_geometry.h"

namespace {

class EventListCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        start();
        song().track(0).add(
            std::make_unique<Event>(0, 0xC0, std::span<const std::uint8_t>{}, 5, 0, 0));
        song().track(0).add(std::make_unique<Note>(0, 80, 120, 85, 0, 0));
        current().Redraw();
    }
    void click(Qt::MouseButton button, QPoint at) {
        QTest::mouseClick(&current().surface(), button, {}, at);
    }
    QPoint eventStrip() const {
        return {200, staff_geometry::eventStripTop(current().surface().height()) + 5};
    }
    static void retype(QLineEdit& field, const QString& text) {
        field.selectAll();
        QTest::keyClicks(&field, text);
    }
    const Event& programChange() const {
        const Track& track = song().track(0);
        for (int i = 0; i < track.count(); ++i) {
            if (track.at(i)->isEvent()) {
                return static_cast<const Event&>(*track.at(i));
            }
        }
        throw std::logic_error("no event");
    }
};

TEST_F(EventListCommandsTest, EventStripOpensTheEventsAndCtrlZUndoesThem) {
    window->setDialogRunner([&](QDialog& dialog) {
        auto& events = static_cast<EventListDialog&>(dialog);
        EXPECT_EQ(events.windowTitle(), "Events");
        events.createButton().click();
        EXPECT_EQ(events.list().count(), 2);
        events.deleteButton().click();
        retype(events.field(EventFields::kValue1), "40");
        events.okButton().click();
        return dialog.result();
    });
    click(Qt::LeftButton, eventStrip());
    EXPECT_EQ(programChange().data1(), 40);
    EXPECT_EQ(song().track(0).count(), 2);
    EXPECT_EQ(window->menu().action(command::kUndo)->text(), "&Undo Events\tCtrl+Z");
    window->command(command::kUndo);
    EXPECT_EQ(programChange().data1(), 5);
    EXPECT_EQ(song().track(0).count(), 2);
    EXPECT_FALSE(window->menu().action(command::kUndo)->isEnabled());
}

// The event list and the note detail opened only by clicks in the staff that no menu or
// help page mentioned.
TEST_F(EventListCommandsTest, EventsAndNoteDetailOpenFromTheOptionsMenuAndTheirKeys) {
    EXPECT_EQ(itemText(command::kEventList), "&Events...\tCtrl+E");
    EXPECT_EQ(itemText(command::kNoteDetail), "&Note Detail...\tCtrl+D");
    QStringList opened;
    window->setDialogRunner([&](QDialog& dialog) {
        opened.append(dialog.windowTitle());
        if (auto* detail = dynamic_cast<NoteDetailDialog*>(&dialog)) {
            opened.append(detail->velocity().text());
        }
        dialog.reject();
        return dialog.result();
    });
    press(Qt::CTRL | Qt::Key_E);
    press(Qt::CTRL | Qt::Key_D);
    EXPECT_EQ(opened, (QStringList{"Events", "Note Detail", "80"}));
    EXPECT_TRUE(ui.boxes.empty());

    // The first note of the page, past the events before it; none on a page without notes.
    song().track(0).add(std::make_unique<Note>(20, 90, 120, 70, 0, 0));
    song().track(0).add(std::make_unique<Note>(40 * 480, 100, 120, 70, 0, 0));
    opened.clear();
    window->menu().action(command::kNoteDetail)->trigger();
    window->command(command::kNextPage);
    window->command(command::kNoteDetail);
    EXPECT_EQ(opened, (QStringList{"Note Detail", "80"}));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"No Note on this page"});
    EXPECT_FALSE(song().changed);
}

TEST_F(EventListCommandsTest,
       RightClickOnANoteChangesItsVelocityUndoablyAndTrackDetailOpensFromTheMenu) {
    window->setDialogRunner([&](QDialog& dialog) {
        auto& detail = static_cast<NoteDetailDialog&>(dialog);
        EXPECT_EQ(detail.velocity().text(), "80");
        detail.velocity().setText("100");
        detail.accept();
        return detail.result();
    });
    click(Qt::RightButton, QPoint(current().page().TickToX(0) + 5, 85 + 13));
    const auto velocity = [&] {
        return static_cast<const Note&>(*song().track(0).at(1)).velocity();
    };
    EXPECT_EQ(velocity(), 100);
    window->command(command::kUndo);
    EXPECT_EQ(velocity(), 80);
    EXPECT_TRUE(ui.boxes.empty());

    EXPECT_TRUE(window->menu().action(command::kTrackDetail)->isEnabled());
    int lines = -1;
    window->setDialogRunner([&](QDialog& dialog) {
        auto& detail = static_cast<EventListDialog&>(dialog);
        EXPECT_EQ(detail.windowTitle(), "Track Detail");
        lines = detail.list().count();
        return QDialog::Rejected;
    });
    window->command(command::kTrackDetail);
    EXPECT_EQ(lines, 2);
    EXPECT_FALSE(itemEnabled(command::kUndo)) << "closing Track Detail records no step";
}

}  // namespace
