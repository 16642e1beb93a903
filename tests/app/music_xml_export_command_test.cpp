#include "app/music_xml_export_command.h"

#include <gtest/gtest.h>

#include "app/song_document.h"
#include "staff/music_xml_exporter.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

class MusicXmlExportCommandTest : public ::testing::Test {
protected:
    MusicXmlExportCommandTest() {
        document.fileName = (dir / "tune.mid").string();
        document.song.track(0).add(std::make_unique<Note>(0, 80, 120, 85, 0, 0));
    }

    ScratchDir dir;
    ScriptedUi ui;
    SongTiming timing;
    SongDocument document{timing, ""};
    MusicXmlExportCommand command{ui};
};

TEST_F(MusicXmlExportCommandTest, OffersTheSongsNameAndWritesTheChosenFileReplacingOnlyByConsent) {
    ui.answerFile((dir / "tune").string());
    EXPECT_TRUE(command.run(document, "/unused"));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].filterDescription, "MusicXML Files (*.musicxml)");
    EXPECT_EQ(ui.fileDialogs[0].title, "Export MusicXML");
    EXPECT_EQ(ui.fileDialogs[0].initialName, (dir / "tune.musicxml").string());
    EXPECT_EQ(ScratchDir::read(dir / "tune.musicxml"), MusicXmlExporter::scoreText(document.song))
        << "a name without an extension is a .musicxml file";
    EXPECT_EQ(ui.notices, std::vector<std::string>{"tune.musicxml Exported"});
    EXPECT_FALSE(document.song.changed) << "an export is no change to the song";

    ScratchDir::write(dir / "old.musicxml", "keep me");
    ui.answerFile((dir / "old.musicxml").string());
    ui.answerNext(IDNO);
    EXPECT_FALSE(command.run(document, dir.path().string()));
    EXPECT_EQ(ScratchDir::read(dir / "old.musicxml"), "keep me");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Do you want to replace the file?"});

    ui.answerFile((dir / "old.musicxml").string());
    ui.answerNext(IDYES);
    EXPECT_TRUE(command.run(document, dir.path().string()));
    EXPECT_NE(ScratchDir::read(dir / "old.musicxml"), "keep me");

    document.fileName.clear();
    EXPECT_FALSE(command.run(document, dir.path().string())) << "the dialog is cancelled";
    EXPECT_EQ(ui.fileDialogs.back().initialName, (dir / "new.musicxml").string());
}

TEST_F(MusicXmlExportCommandTest, AFailedExportShowsWhyAndNoNotice) {
    ui.answerFile((dir / "missing" / "tune.musicxml").string());
    EXPECT_FALSE(command.run(document, dir.path().string()));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Could not write " +
                                                   (dir / "missing" / "tune.musicxml").string()});
    EXPECT_TRUE(ui.notices.empty());
}

}  // namespace
