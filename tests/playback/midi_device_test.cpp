#include "playback/midi_device.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device_configuration.h"
#include "app/settings.h"
#include "platform/built_in_synthesizer.h"
#include "platform/profile.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace keys = settings_keys;

class MidiDeviceTest : public ::testing::Test {
protected:
    ManualClock clock_;
    RecordingMidiPorts ports_{
        clock_, {"Synth A", "Port B", "Synth A", "Built-in Synthesizer"}, {"Keys", "Pads"}, 3};
    ScriptedUi ui_;
    MidiDevice device_{ports_, ui_};
    ScratchDir dir_;
    Profile profile_{dir_ / "tolvar32.ini"};
    Settings settings_{profile_, ui_};
    DeviceConfiguration configuration_{device_, settings_};
};

TEST_F(MidiDeviceTest, SavedBoardChoosesTheLastOutputOfItsName) {
    struct Case {
        const char* board;  // nullptr: no key stored
        int opened;         // -1: no output
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {nullptr, 3, {}},
        {"Synth A", 2, {}},
        {"Port B", 1, {}},
        {"-NONE-", -1, {}},
        {"Synth", -1, {"MIDI Board not found - Re-configure"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.board ? c.board : "no key");
        ScratchDir dir;
        Profile profile(dir / "tolvar32.ini");
        Settings settings(profile, ui_);
        if (c.board) {
            settings.setText(keys::kBoard, c.board);
        }
        ui_.boxes.clear();
        ports_.opened.clear();
        DeviceConfiguration(device_, settings).selectSavedOutput();
        EXPECT_EQ(device_.outputEnabled(), c.opened >= 0);
        EXPECT_EQ(device_.isBuiltInSynthesizer(), c.opened == 3);
        EXPECT_TRUE(device_.openOutput(false));
        EXPECT_EQ(ports_.opened, c.opened >= 0 ? std::vector{c.opened} : std::vector<int>{});
        EXPECT_EQ(ui_.texts(), c.boxes);
    }
}

TEST_F(MidiDeviceTest, ConfigurationListsNoneFirstAndStoresWhatIsPicked) {
    settings_.setText(keys::kBoard, "Port B");
    settings_.setText(keys::kInBoard, "Gone");
    DeviceConfiguration::Choices choices = configuration_.choices();
    EXPECT_EQ(choices.outputs, (std::vector<std::string>{"-NONE-", "Synth A", "Port B", "Synth A",
                                                         "Built-in Synthesizer"}));
    EXPECT_EQ(choices.inputs, (std::vector<std::string>{"-NONE-", "Keys", "Pads"}));
    EXPECT_EQ(choices.output, 2);
    EXPECT_EQ(choices.input, -1);

    // The first of two outputs of one name is picked by its place, not looked up by name.
    configuration_.apply(1, 2);
    EXPECT_EQ(settings_.board(), "Synth A");
    EXPECT_EQ(settings_.inBoard(), "Pads");
    EXPECT_EQ(device_.selectedInput(), 1);
    device_.openOutput(false);
    EXPECT_EQ(ports_.opened, std::vector{0});

    // A list left without a selection changes nothing.
    configuration_.apply(-1, 0);
    EXPECT_EQ(settings_.board(), "Synth A");
    EXPECT_EQ(settings_.inBoard(), "-NONE-");
    EXPECT_TRUE(device_.outputEnabled());
    EXPECT_FALSE(device_.inputEnabled());
    EXPECT_TRUE(ui_.boxes.empty());

    device_.selectInputByName("Gone", -1);
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Board not found - Re-configure"});
}

TEST_F(MidiDeviceTest, OpeningSetsEveryChannelAndClosingSilencesWhatSounds) {
    device_.listOutputs();
    device_.selectOutputByName("Port B", -1);
    device_.sendShort(Bytes{0x90, 60, 100});  // not open: nothing goes out
    ASSERT_TRUE(device_.openOutput(true));
    ASSERT_EQ(ports_.sent.size(), 48u);
    EXPECT_EQ(ports_.sentBytes()[0], (Bytes{0xC0, 0}));
    EXPECT_EQ(ports_.sentBytes()[1], (Bytes{0xB0, 7, 127}));
    EXPECT_EQ(ports_.sentBytes()[2], (Bytes{0xB0, 121, 127}));
    EXPECT_EQ(ports_.sentBytes()[47], (Bytes{0xBF, 121, 127}));

    ports_.sent.clear();
    device_.sendShort(Bytes{0x90, 60, 100});
    device_.sendShort(Bytes{0x91, 64, 90});
    device_.sendShort(Bytes{0x91, 64, 90});
    device_.sendShort(Bytes{0x81, 64, 0});
    device_.sendShort(Bytes{0x92, 67, 80});
    device_.sendShort(Bytes{0x92, 67, 0});  // a note-on of velocity 0 ends the note
    ports_.sent.clear();
    device_.closeOutput();
    std::vector<Bytes> expected = {{0x80, 60, 0}, {0x81, 64, 0}};
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        expected.push_back({std::uint8_t(0xB0 | channel), 64, 0});
        expected.push_back({std::uint8_t(0xB0 | channel), 123, 0});
    }
    EXPECT_EQ(ports_.sentBytes(), expected);
    EXPECT_FALSE(device_.outputOpen());

    ports_.sent.clear();
    device_.closeOutput();
    device_.sendProgramChange(0, 5);
    EXPECT_TRUE(ports_.sent.empty());
}

TEST_F(MidiDeviceTest, FailuresShowTheirBoxOncePerOpening) {
    device_.listOutputs();
    device_.selectOutputByName("Port B", -1);
    ports_.refuseOpen = true;
    EXPECT_FALSE(device_.openOutput(true));
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Can not open MIDI device"});

    ports_.refuseOpen = false;
    ports_.refuseSend = true;
    ui_.boxes.clear();
    EXPECT_TRUE(device_.openOutput(true));
    device_.sendLong(Bytes{0xF0, 0x7E, 0xF7});
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Program change failed!"});
    ASSERT_TRUE(device_.openOutput(false));
    device_.sendLong(Bytes{0xF0, 0x7E, 0xF7});
    device_.sendLong(Bytes{0xF0, 0x7E, 0xF7});
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{"Program change failed!",
                                                     "System exclusive message failed!"}));
}

// Without an audio device the built-in synthesizer played every song unheard, without a word.
TEST_F(MidiDeviceTest, TheBuiltInSynthesizerWithoutAnAudioDeviceSaysSoOnce) {
    ports_.synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::Device);
    if (!ports_.synthesizer) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    if (!ports_.synthesizer->silent()) {
        GTEST_SKIP() << "this machine has an audio device";
    }
    device_.listOutputs();
    device_.selectOutputByName("Port B", -1);
    ASSERT_TRUE(device_.openOutput(true));
    EXPECT_TRUE(ui_.boxes.empty()) << "a MIDI port is heard elsewhere";

    device_.selectOutputByName(kBuiltInSynthesizerName, -1);
    ASSERT_TRUE(device_.openOutput(true));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text,
              "No audio output could be opened (" + ports_.synthesizer->audioOutputName() +
                  "), so the Built-in Synthesizer plays without sound. Choose a MIDI port under "
                  "Configuration, or write the song to a sound file with File > Export Audio.");
    EXPECT_EQ(ui_.boxes[0].caption, "No Sound");
    EXPECT_FALSE(ports_.synthesizer->audioOutputName().empty());
    device_.closeOutput();
    ASSERT_TRUE(device_.openOutput(true));
    EXPECT_EQ(ui_.boxes.size(), 1u) << "said once, not at every Play";

    // A synthesizer started to render into a file is meant to have no device.
    MidiDevice renderer(ports_, ui_);
    ports_.synthesizer = BuiltInSynthesizer::start(BuiltInSynthesizer::Audio::None);
    renderer.listOutputs();
    renderer.selectOutputByName(kBuiltInSynthesizerName, -1);
    ASSERT_TRUE(renderer.openOutput(true));
    EXPECT_EQ(ui_.boxes.size(), 1u);
}

TEST_F(MidiDeviceTest, AFailedInitialControlChangeSaysSoAndTheChannelsGoOn) {
    device_.listOutputs();
    device_.selectOutputByName("Port B", -1);
    ports_.refuseKind = 0xB0;
    ASSERT_TRUE(device_.openOutput(true));
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Program change failed!"});
    // Every channel still gets its program.
    EXPECT_EQ(ports_.sent.size(), 16u);
}

TEST_F(MidiDeviceTest, AFailedCloseSaysSoOnTheMessageLineAndLetsTheDeviceGo) {
    device_.listOutputs();
    device_.selectOutputByName("Port B", -1);
    ASSERT_TRUE(device_.openOutput(false));
    ports_.refuseClose = true;
    device_.closeOutput();
    EXPECT_EQ(ui_.notices, std::vector<std::string>{"Error closing MIDI device"});
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_FALSE(device_.outputOpen());
    ports_.sent.clear();
    device_.sendShort(Bytes{0x90, 60, 100});
    EXPECT_TRUE(ports_.sent.empty());
    device_.closeOutput();
    EXPECT_EQ(ui_.notices.size(), 1u);
}

}  // namespace
