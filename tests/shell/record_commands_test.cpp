#include <QTest>
#include <chrono>
#include <fstream>
#include <sstream>

#include "main_window_fixture.h"
#include "notation/staff_surface.h"
#include "platform/system_midi_ports.h"

namespace {

namespace keys = settings_keys;

// Recording through the window from the "Replay" input into the "Capture" output, as a user
// would with a keyboard: Record, the notes arrive on the input's thread and appear, Stop, Save As.
class RecordCommandsTest : public MainWindowTest {
protected:
    // The window and the program go before the ports they use.
    ~RecordCommandsTest() override {
        window.reset();
        app.reset();
    }

    void startRecording(const std::string& take) {
        std::ofstream(dir / "take.txt") << take;
        app = std::make_unique<Application>(dir / "tolvar32.ini", ui, clock, systemPorts);
        app->settings.setText(keys::kBoard, "Capture");
        app->settings.setText(keys::kInBoard, "Replay");
        window = std::make_unique<MainWindow>(*app);
        window->showAsConfigured();
        window->openStartupSong("");
        window->command(command::kRecord);
    }
    // Runs the window while the take plays.
    void runFor(std::chrono::milliseconds time) {
        const auto until = std::chrono::steady_clock::now() + time;
        while (std::chrono::steady_clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::string captured() const {
        std::stringstream text;
        text << std::ifstream(dir / "capture.txt").rdbuf();
        return text.str();
    }

    SystemMidiPorts systemPorts{dir / "capture.txt", dir / "take.txt"};
};

TEST_F(RecordCommandsTest, RecordedNotesAppearEchoAndAreSaved) {
    startRecording("100000 144 60 100\n300000 128 60 0\n400000 144 64 90\n600000 144 64 0\n");
    ASSERT_TRUE(window->transport().recording());
    EXPECT_EQ(transportButtons(), (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_FALSE(button(command::kRecord).isEnabled());
    // The take owns the track: a click on the staff enters nothing meanwhile.
    QTest::mouseClick(&current().surface(), Qt::LeftButton, {},
                      QPoint(current().page().TickToX(480) + 5, 75));
    runFor(std::chrono::milliseconds(900));  // the last release comes at 600 ms
    ASSERT_EQ(track0().count(), 2);
    QTest::mousePress(&button(command::kStop), Qt::LeftButton);
    QTest::mouseRelease(&button(command::kStop), Qt::LeftButton);
    EXPECT_FALSE(window->transport().recording());
    EXPECT_TRUE(button(command::kRecord).isEnabled());
    EXPECT_EQ(ui.boxes.size(), 0u) << ui.texts().front();
    for (const char* echo : {" 144 60 100\n", " 128 60 0\n", " 144 64 90\n", " 128 64 0\n"})
        EXPECT_NE(captured().find(echo), std::string::npos) << echo;

    ui.answerFile((dir / "take.mid").string());
    window->command(command::kSaveAs);
    SongTiming timing;
    OMBData saved(timing);
    ASSERT_TRUE(MidiFile(saved, ui).load(dir / "take.mid"));
    // 100 ms at tempo 120 and division 120 is 24 ticks, snapped to the page's pixels.
    std::vector<std::vector<int>> notes;
    for (int i = 0; i < saved.track(0).count(); ++i) {
        if (const auto* note = dynamic_cast<const Note*>(saved.track(0).at(i)))
            notes.push_back(
                {note->start(), note->duration(), keyOf(note->position(), note->accidental())});
    }
    EXPECT_EQ(notes, (std::vector<std::vector<int>>{{20, 52, 60}, {93, 51, 64}}));
}

}  // namespace
