#include <thread>

#include "main_window_fixture.h"

namespace {

using CommandStatesTest = MainWindowTest;

const std::vector<bool> kStopped{true, true, false, true, true, false};

TEST_F(CommandStatesTest,
       ANewSongStartsStoppedOnTheEighthNoteAndClosingTheLastGreysTheSongCommands) {
    start();
    EXPECT_EQ(window->currentNoteButton(), 3);
    EXPECT_EQ(current().view().noteValue, 3);
    EXPECT_EQ(button(command::kStaffOrPiano).state(), 1);
    EXPECT_EQ(transportButtons(), kStopped);
    EXPECT_TRUE(itemEnabled(command::kSave));
    EXPECT_TRUE(itemEnabled(command::kExportAudio));
    EXPECT_TRUE(itemEnabled(command::kExportMusicXml));
    EXPECT_FALSE(itemEnabled(command::kPaste));
    ui.answerFile((dir / "score.musicxml").string());
    window->command(command::kExportMusicXml);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].title, "Export MusicXML");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The song has no notes to export"});
    ui.boxes.clear();
    ui.fileDialogs.clear();

    current().close();
    EXPECT_TRUE(window->staffWindows().empty());
    EXPECT_TRUE(windowsMenu().isEmpty());
    EXPECT_EQ(transportButtons(), std::vector<bool>(6, false));
    EXPECT_FALSE(itemEnabled(command::kDeleteCurrentTrack));
    window->command(command::kNew);
    EXPECT_TRUE(itemEnabled(command::kDeleteCurrentTrack));
    EXPECT_EQ(transportButtons(), kStopped);
}

TEST_F(CommandStatesTest, WithoutASongTheSongCommandsAreGreyAndDoNothingButTheTogglesAnswer) {
    start((dir / "gone.mid").string());
    EXPECT_FALSE(itemEnabled(command::kSave));
    EXPECT_FALSE(itemEnabled(command::kExportAudio));
    EXPECT_FALSE(itemEnabled(command::kExportMusicXml));
    EXPECT_FALSE(button(command::kPlayAll).isEnabled());
    ui.boxes.clear();
    for (const int id :
         {command::kDeleteCurrentTrack, command::kNextPage, command::kSave, command::kWholeRest,
          command::kTrackCombo, command::kPlay, command::kExportAudio, command::kExportMusicXml})
        window->command(id);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.fileDialogs.empty());
    window->command(command::kDisplaySolo);
    EXPECT_EQ(ui.notices, std::vector<std::string>{"Display Solo Selected"});
    EXPECT_EQ(button(command::kDisplaySolo).state(), 1);

    // A command posted from another thread runs on the window's thread.
    std::thread timerThread([this] { window->commandPoster().post(command::kNew, 0); });
    timerThread.join();
    EXPECT_TRUE(window->staffWindows().empty());
    QCoreApplication::sendPostedEvents(window.get());
    EXPECT_EQ(window->staffWindows().size(), 1u);
}

TEST_F(CommandStatesTest, PlayModeRefusesFileCommandsWithItsNoticeAndTurnsTheAcceleratorsOff) {
    start();
    song().changed = true;
    window->transport().setPlayActive(true);
    for (const int id : {command::kOpen, command::kSave, command::kSaveAs, command::kRecord})
        window->command(id);
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.notices, std::vector<std::string>(5, kPlayMode));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.fileDialogs.empty());
    for (const int id : {command::kHelp, command::kSave, command::kOpen})
        EXPECT_TRUE(window->menu().action(id)->shortcut().isEmpty()) << id;
    window->transport().setPlayActive(false);
    EXPECT_EQ(window->menu().action(command::kOpen)->shortcut(), QKeySequence(Qt::Key_F3));
}

}  // namespace
