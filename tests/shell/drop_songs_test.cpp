#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "main_window_fixture.h"

namespace {

// Files dragged from a file manager onto the main window.
class DropSongsTest : public MainWindowTest {
protected:
    static QMimeData* urls(const std::vector<std::string>& files) {
        auto* data = new QMimeData;
        QList<QUrl> list;
        for (const std::string& file : files)
            list << (file.find("://") == std::string::npos
                         ? QUrl::fromLocalFile(QString::fromStdString(file))
                         : QUrl(QString::fromStdString(file)));
        data->setUrls(list);
        return data;
    }
    // True when the window took the drag.
    bool dragEnter(const std::vector<std::string>& files) {
        const std::unique_ptr<QMimeData> data(urls(files));
        QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    }
    // A drop comes after the window took the drag, as in a real one.
    void drop(const std::vector<std::string>& files) {
        ASSERT_TRUE(dragEnter(files));
        const std::size_t windowsBefore = window->staffWindows().size();
        const std::unique_ptr<QMimeData> data(urls(files));
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &event);
        // The songs open once the drop is over.
        EXPECT_EQ(window->staffWindows().size(), windowsBefore);
        QCoreApplication::sendPostedEvents(window.get());
    }
};

TEST_F(DropSongsTest, DroppedFilesOpenInWindowsOfTheirOwnTheLastCurrentUpToTheLimit) {
    const std::string a = songFile("a.mid"), b = songFile("b.mid");
    start();
    EXPECT_TRUE(dragEnter({a, b}));
    drop({a, b});
    ASSERT_EQ(window->staffWindows().size(), 3u);
    EXPECT_EQ(window->staffWindows()[1]->document().fileName, a);
    EXPECT_EQ(current().document().fileName, b);
    EXPECT_TRUE(current().document().loaded);
    EXPECT_EQ(windowsMenu(), (QStringList{"3500 /new.mid", "3501 /a.mid", "3502 /b.mid *"}));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(itemEnabled(command::kSave));

    for (int i = 4; i < DocumentWindows::kMaxStaffWindows; ++i)
        window->command(command::kNew);
    drop({a, a, a});
    EXPECT_EQ(window->staffWindows().size(), 11u);
    EXPECT_EQ(current().document().fileName, a);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Too many songs open - close one first"})
        << "the limit stops the drop with one message";
}

TEST_F(DropSongsTest, OnlyLocalFilesAreTakenAMissingOneSaysSoAndPlayModeRefuses) {
    start();
    EXPECT_FALSE(dragEnter({"https://example.org/a.mid"}));
    const std::string missing = (dir / "gone.mid").string();
    drop({"https://example.org/a.mid", missing});
    EXPECT_EQ(window->staffWindows().size(), 1u);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{missing + " Not found"});

    window->transport().setPlayActive(true);
    drop({songFile("a.mid")});
    EXPECT_EQ(window->staffWindows().size(), 1u);
    EXPECT_EQ(ui.notices, std::vector<std::string>{kPlayMode}) << "play mode refuses the drop";
    EXPECT_EQ(ui.boxes.size(), 1u);
}

}  // namespace
