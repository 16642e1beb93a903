#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "main_window_fixture.h"
#include "notation/awe_control_dialog.h"
#include "notation/change_voices_dialog.h"
#include "notation/voice_title_dialog.h"
#include "platform/data_directory.h"
#include "shell/control_bar.h"

namespace {

namespace keys = settings_keys;

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class SynthCommandsTest : public MainWindowTest {
protected:
    // Starts on a new song with the synth file holding these lines.
    void startWithSynthFile(const std::string& lines) {
        ScratchDir::write(dir / "mine.syn", lines);
        Profile(dir / "tolvar32.ini")
            .write(keys::kMidiSection, keys::kSynFile.name, (dir / "mine.syn").string());
        start();
    }
    // Runs Voices; voices handles the Change Voices dialog, title the Voice Title dialog.
    void runVoices(const std::function<int(ChangeVoicesDialog&)>& voices,
                   const std::function<int(VoiceTitleDialog&)>& title = {}) {
        window->setDialogRunner([&](QDialog& dialog) {
            if (auto* titleDialog = dynamic_cast<VoiceTitleDialog*>(&dialog)) {
                return title(*titleDialog);
            }
            return voices(static_cast<ChangeVoicesDialog&>(dialog));
        });
        window->command(command::kVoices);
    }
    static void assign(ChangeVoicesDialog& dialog, int row, int track) {
        dialog.voiceList().setCurrentRow(row);
        QTest::mouseClick(&dialog.trackButton(track), Qt::LeftButton);
    }
    // The program of the program change at the start of the track; -1 for none.
    int programAtStart(int track) const {
        const Track& elements = song().track(track);
        if (elements.empty() || !elements.at(0)->isEvent()) {
            return -1;
        }
        return static_cast<const Event*>(elements.at(0))->data1();
    }
    QString trackListEntry(int track) const {
        return window->toolbar().trackCombo()->itemText(track);
    }
};

TEST_F(SynthCommandsTest, OkCarriesTheVoicesIntoTheTracksAsOneStepAndEscapeChangesNothing) {
    startWithSynthFile("Piano\n\nViolin\n");
    QStringList shown;
    runVoices([&](ChangeVoicesDialog& dialog) {
        for (int row = 0; row < dialog.voiceList().count(); ++row)
            shown << dialog.voiceList().item(row)->text();
        EXPECT_EQ(dialog.voiceList().currentRow(), 0);
        EXPECT_EQ(dialog.trackVoice(0).text(), "--NONE--");
        assign(dialog, 3, 0);
        assign(dialog, 0, 1);
        EXPECT_EQ(dialog.trackVoice(0).text(), "Violin");
        EXPECT_EQ(dialog.trackVoice(1).text(), "--NONE--");
        dialog.accept();
        return dialog.result();
    });
    // The blank line keeps its program, so "Violin" is still program 2.
    EXPECT_EQ(shown, (QStringList{"--NONE--", "Piano", "", "Violin"}));
    EXPECT_EQ(song().program[0], 2);
    EXPECT_EQ(song().program[1], OMBData::kNoProgram);
    EXPECT_EQ(std::vector({programAtStart(0), programAtStart(1)}), std::vector({2, -1}));
    EXPECT_EQ(trackListEntry(0), "1 - Violin");
    EXPECT_EQ(window->menu().action(command::kUndo)->text(), "&Undo Change Voices\tCtrl+Z");

    song().program[4] = 2;
    song().program[5] = 3;  // past the names loaded
    runVoices([&](ChangeVoicesDialog& dialog) {
        EXPECT_EQ(dialog.trackVoice(4).text(), "Violin");
        EXPECT_EQ(dialog.trackVoice(5).text(), "Undefined");
        assign(dialog, 1, 2);
        dialog.reject();
        return dialog.result();
    });
    EXPECT_EQ(song().program[2], OMBData::kNoProgram);
    EXPECT_EQ(programAtStart(2), -1);

    QAction* undo = window->menu().action(command::kUndo);
    EXPECT_TRUE(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
    undo->trigger();
    EXPECT_EQ(song().program[0], OMBData::kNoProgram);
    EXPECT_TRUE(track0().empty());
    EXPECT_EQ(trackListEntry(0), "1 - --NONE--");
    EXPECT_FALSE(song().changed);
}

TEST_F(SynthCommandsTest, SoundFontNamesItsPresetsAndRenamesGoToASynthFileOfItsName) {
    startWithSynthFile("Piano\n");
    const auto presets = BuiltInSynthesizer::presetNames(kSoundFont);
    ASSERT_TRUE(presets);
    ui.answerFile(kSoundFont);
    runVoices(
        [&](ChangeVoicesDialog& dialog) {
            QTest::mouseClick(&dialog.changeBankButton(), Qt::LeftButton);
            EXPECT_EQ(dialog.voiceList().count(), 129);
            EXPECT_EQ(dialog.voiceList().item(1)->text().toStdString(), (*presets)[0]);
            dialog.voiceList().setCurrentRow(41);
            QTest::mouseClick(&dialog.setVoiceNameButton(), Qt::LeftButton);
            EXPECT_EQ(dialog.voiceList().item(41)->text(), "My Violin St");
            EXPECT_EQ(dialog.voiceList().currentRow(), 41);
            assign(dialog, 41, 1);
            dialog.accept();
            return dialog.result();
        },
        [&](VoiceTitleDialog& title) {
            EXPECT_EQ(title.title().text().toStdString(), (*presets)[40]);
            title.title().setText("My Violin String");
            title.accept();
            return title.result();
        });
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].filterDescription,
              "Synth Files (*.syn);;SoundFont Files (*.sf2 *.sf3)");
    EXPECT_EQ(ui.fileDialogs[0].title, "Select Synth File");
    const std::filesystem::path synthFile = dir / "TimGM6mb.syn";
    EXPECT_EQ(setting(keys::kSynFile), synthFile.string());
    const std::string saved = ScratchDir::read(synthFile);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 128);
    EXPECT_NE(saved.find("\nMy Violin St\n"), std::string::npos);
    EXPECT_EQ(ScratchDir::read(dir / "mine.syn"), "Piano\n");
    EXPECT_EQ(trackListEntry(1), "2 - My Violin St");
    EXPECT_EQ(programAtStart(1), 40);
}

// Renames voice 1 to name and assigns it to track 0, then presses OK.
std::function<int(ChangeVoicesDialog&)> renameFirstVoiceThenOk() {
    return [](ChangeVoicesDialog& dialog) {
        dialog.voiceList().setCurrentRow(1);
        QTest::mouseClick(&dialog.setVoiceNameButton(), Qt::LeftButton);
        dialog.voiceList().setCurrentRow(1);
        QTest::mouseClick(&dialog.trackButton(0), Qt::LeftButton);
        dialog.accept();
        return dialog.result();
    };
}
std::function<int(VoiceTitleDialog&)> titled(const std::string& name) {
    return [name](VoiceTitleDialog& title) {
        title.title().setText(QString::fromStdString(name));
        title.accept();
        return title.result();
    };
}

TEST_F(SynthCommandsTest, RenamesOfAFileThatCannotBeWrittenGoToTheUsersOwnCopy) {
    const std::filesystem::path bank = dir / "bank";
    std::filesystem::create_directory(bank);
    ScratchDir::write(bank / "mine.syn", "Piano\n");
    Profile(dir / "tolvar32.ini")
        .write(keys::kMidiSection, keys::kSynFile.name, (bank / "mine.syn").string());
    start();
    runVoices(
        [&](ChangeVoicesDialog& dialog) {
            std::filesystem::remove_all(bank);  // as a folder the user may not write
            return renameFirstVoiceThenOk()(dialog);
        },
        titled("Ünïcödé Brïght"));
    // Cut to 13 bytes without splitting a character.
    EXPECT_EQ(ScratchDir::read(dir / "mine.syn"), "Ünïcödé B\n");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{(bank / "mine.syn").string() +
                                                   " cannot be written: the voices are saved to " +
                                                   (dir / "mine.syn").string()});
    EXPECT_EQ(setting(keys::kSynFile), (dir / "mine.syn").string());
    EXPECT_EQ(song().program[0], 0);
    EXPECT_EQ(trackListEntry(0), "1 - Ünïcödé B");

    // A copy the user already has is replaced only when the user agrees.
    std::filesystem::create_directory(bank);
    ScratchDir::write(bank / "mine.syn", "Organ\n");
    app->settings.setText(keys::kSynFile, (bank / "mine.syn").string());
    app->voices.loadAtStartup((bank / "mine.syn").string());
    ui.answerNext(IDNO);
    runVoices(
        [&](ChangeVoicesDialog& dialog) {
            std::filesystem::remove_all(bank);
            return renameFirstVoiceThenOk()(dialog);
        },
        titled("Church"));
    EXPECT_EQ(ui.texts().back(), "Could not write " + (bank / "mine.syn").string());
    EXPECT_EQ(ScratchDir::read(dir / "mine.syn"), "Ünïcödé B\n");
    EXPECT_EQ(song().program[0], 0) << "OK keeps the track assignments all the same";
    EXPECT_EQ(trackListEntry(0), "1 - Church");
}

TEST_F(SynthCommandsTest, RenamesOfTheShippedVoicesNeverWriteTheDataDirectory) {
    const std::filesystem::path shipped = dataDirectory() / "midimap.syn";
    const std::string before = ScratchDir::read(shipped);
    start();
    ASSERT_EQ(app->voices.path(), shipped);
    runVoices(renameFirstVoiceThenOk(), titled("My Piano"));
    EXPECT_EQ(ScratchDir::read(shipped), before);
    const std::string copy = ScratchDir::read(dir / "midimap.syn");
    EXPECT_EQ(copy.substr(0, copy.find('\n')), "My Piano");
    EXPECT_EQ(std::count(copy.begin(), copy.end(), '\n'), app->voices.count());
    EXPECT_EQ(setting(keys::kSynFile), (dir / "midimap.syn").string());
    EXPECT_EQ(ui.boxes.at(0).caption, "Voices Saved");
}

TEST_F(SynthCommandsTest,
       ASoundFontReplacesTheUsersSynthFileOnlyWhenAskedAndAnUnreadableOneNothing) {
    startWithSynthFile("Piano\n");
    ScratchDir::write(dir / "TimGM6mb.syn", "My own\n");
    ScratchDir::write(dir / "broken.sf2", "RIFF but not a SoundFont");
    const auto chooseBankThenOk = [&](ChangeVoicesDialog& dialog) {
        QTest::mouseClick(&dialog.changeBankButton(), Qt::LeftButton);
        dialog.accept();
        return dialog.result();
    };
    ui.answerFile((dir / "broken.sf2").string());
    runVoices([&](ChangeVoicesDialog& dialog) {
        QTest::mouseClick(&dialog.changeBankButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.voiceList().count(), 2) << "the names shown stay";
        dialog.accept();
        return dialog.result();
    });
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Could not read the SoundFont " +
                                                   (dir / "broken.sf2").string()});
    EXPECT_FALSE(std::filesystem::exists(dir / "broken.syn"));
    EXPECT_EQ(setting(keys::kSynFile), (dir / "mine.syn").string());

    ui.answerFile(kSoundFont);
    ui.answerNext(IDNO);
    runVoices(chooseBankThenOk);
    EXPECT_EQ(ui.boxes.back().caption, "File Exists");
    EXPECT_EQ(ScratchDir::read(dir / "TimGM6mb.syn"), "My own\n");
    EXPECT_EQ(app->voices.name(0), "My own");
    EXPECT_EQ(setting(keys::kSynFile), (dir / "TimGM6mb.syn").string());

    ui.answerFile(kSoundFont);
    ui.answerNext(IDYES);
    runVoices(chooseBankThenOk);
    EXPECT_EQ(app->voices.name(0), (*BuiltInSynthesizer::presetNames(kSoundFont))[0].substr(0, 13));
    const std::string saved = ScratchDir::read(dir / "TimGM6mb.syn");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 128);
}

TEST_F(SynthCommandsTest, AweControlSetsTheSynthesizerAndItsSettingsSurviveARestart) {
    ports.synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    start();
    EXPECT_TRUE(window->menu().action(command::kAweControl)->isEnabled());
    ScratchDir::write(dir / "old.sbk", "not a SoundFont");
    ui.answerFile((dir / "old.sbk").string());
    ui.answerFile(kSoundFont);
    window->setDialogRunner([&](QDialog& dialog) {
        auto& awe = static_cast<AweControlDialog&>(dialog);
        EXPECT_EQ(awe.userBankFile().text(), "No User Bank Selected");
        EXPECT_EQ(awe.version().text().left(2), "2.");
        QTest::mouseClick(&awe.clearBankButton(), Qt::LeftButton);
        awe.userBank().setCurrentIndex(4);
        QTest::mouseClick(&awe.setBankButton(), Qt::LeftButton);
        QTest::mouseClick(&awe.setBankButton(), Qt::LeftButton);
        EXPECT_EQ(awe.userBankFile().text(), kSoundFont);
        awe.reverb().setCurrentText("HALL 2");
        awe.synthBank().setCurrentText("ROLAND_GS");
        awe.useForAllSongs().setChecked(true);
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kAweControl);
    EXPECT_EQ(ui.notices,
              (std::vector<std::string>{"Error Clearing Bank", "Error Setting User Bank",
                                        "User Bank Set", "AWE Set Successfully"}));
    EXPECT_EQ(ui.fileDialogs.at(0).filterDescription, "SoundFont Files (*.sf2 *.sf3 *.sbk)");
    EXPECT_EQ(ui.fileDialogs.at(0).title, "Open User Bank");
    EXPECT_EQ(app->soundFontState.leadingBankSelect(), 5);

    window->setDialogRunner([&](QDialog& dialog) {
        static_cast<AweControlDialog&>(dialog).reverb().setCurrentText("NONE");
        dialog.reject();
        return dialog.result();
    });
    window->command(command::kAweControl);
    EXPECT_EQ(app->soundFontState.reverbType, 4);

    window->close();
    EXPECT_EQ(
        std::vector({setting(keys::kBank), setting(keys::kReverb), setting(keys::kUserBankNum),
                     setting(keys::kUserBank), setting(keys::kUseAwe)}),
        std::vector<std::string>({"1", "4", "5", kSoundFont, "Yes"}));
    // The window reads back the flag; the synthesizer's own settings are the control's tests.
    window.reset();
    ports.synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    start();
    EXPECT_TRUE(app->soundFontState.useForAllSongs);
}

}  // namespace
