#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/command_poster.h"
#include "playback/command_ids.h"
#include "playback/midi_device.h"
#include "playback/player.h"
#include "support/manual_clock.h"
#include "support/recording_midi_ports.h"
#include "support/scripted_ui.h"

// A Player on the manual clock, playing into the capture ports; each timer's step is handed
// to it as the main window does.
class PlayerFixture : public ::testing::Test {
protected:
    using Bytes = std::vector<std::uint8_t>;
    using Times = std::vector<std::uint64_t>;

    // The messages a device sends as it opens, before any of the song's.
    static constexpr std::size_t kInitialSettings = 48;

    class PostBox : public CommandPoster {
    public:
        void post(int commandId, int param) noexcept override {
            posts.emplace_back(commandId, param);
        }
        std::vector<std::pair<int, int>> posts;
    };

    PlayerFixture() {
        device_.listOutputs();
        device_.selectOutputByName("Port", -1);
    }

    // Moves the clock to the next timer and hands its step to the player. False once the play
    // has ended.
    bool step() {
        const auto timers = clock_.pendingTimers();
        if (timers.empty()) {
            return false;
        }
        clock_.advanceUs(timers.front().dueUs - clock_.microseconds());
        stepTimes_.push_back(clock_.microseconds());
        bool playing = true;
        for (const auto& [commandId, param] : std::exchange(poster_.posts, {})) {
            EXPECT_EQ(commandId, ID_PLAY_STEP);
            playing = player_.PlayTick(param, false);
        }
        return playing;
    }
    void playToEnd() {
        while (step()) {
        }
    }
    void stepUntilSent(const Bytes& message) {
        while (ports_.sent.empty() || ports_.sent.back().bytes != message) {
            ASSERT_TRUE(step());
        }
    }

    SongTiming timing_;
    OMBData song_{timing_};
    ManualClock clock_;
    RecordingMidiPorts ports_{clock_, {"Port", "Built-in Synthesizer"}, {}, 1};
    ScriptedUi ui_;
    MidiDevice device_{ports_, ui_};
    PostBox poster_;
    Player player_{device_, clock_, poster_, ui_};
    // When each step was taken.
    Times stepTimes_;
};
