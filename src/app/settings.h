#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/midi_ports.h"
#include "playback/audio_exporter.h"
#include "playback/metronome_options.h"
#include "playback/play_loop.h"
#include "playback/track_mix.h"

class Profile;
class Ui;

// One key of the settings file. keptChars is how many characters a read keeps: a longer
// stored value is cut before it is interpreted ("1000" kept to 3 is "100").
struct SettingKey {
    const char* section;
    const char* name;
    const char* defaultText;
    int keptChars;
};

// Every key the program stores. Numbers are signed decimal text, flags "Yes" or "No".
namespace settings_keys {

inline constexpr const char* kConfigSection = "tolvar32 Config";
inline constexpr const char* kMidiSection = "MIDI Config";

inline constexpr SettingKey kDivision{kConfigSection, "Division", "120", 3};
inline constexpr SettingKey kTempo{kConfigSection, "Tempo", "120", 3};
inline constexpr SettingKey kVelocity{kConfigSection, "Velocity", "80", 3};
inline constexpr SettingKey kNumberOfBeats{kConfigSection, "Number of Beats", "4", 1};
// Exactly "STAFF" means staff notation; any other text, the piano roll.
inline constexpr SettingKey kStaffOrPiano{kConfigSection, "StaffOrPiano", "STAFF", 8};
inline constexpr SettingKey kAnimate{kConfigSection, "Animate", "Yes", 4};
inline constexpr SettingKey kHide{kConfigSection, "Hide", "No", 4};
inline constexpr SettingKey kMaximizeControl{kConfigSection, "MaximizeControl", "No", 4};
inline constexpr SettingKey kMaximizeStaff{kConfigSection, "MaximizeStaff", "Yes", 4};
inline constexpr SettingKey kUseAwe{kConfigSection, "UseAWE", "No", 4};
// Paths are kept whole: a cut one names some other file or directory.
inline constexpr int kWholePath = 4096;
// A directory without a trailing separator; the home directory until a file is opened or saved.
inline constexpr SettingKey kLastDir{kConfigSection, "LastDir", "", kWholePath};
// The level of exported audio: normalized to a peak of -1 dBFS ("Yes"), else raised by the
// gain in whole dB (-40..40).
inline constexpr SettingKey kExportNormalize{kConfigSection, "Export Normalize", "Yes", 4};
inline constexpr SettingKey kExportGain{kConfigSection, "Export Gain", "0", 4};
inline constexpr SettingKey kPlayListPause{kConfigSection, "PlayList Pause", "Yes", 3};
inline constexpr SettingKey kBank{kConfigSection, "Bank", "0", 18};
inline constexpr SettingKey kReverb{kConfigSection, "Reverb", "0", 18};
inline constexpr SettingKey kChorus{kConfigSection, "Chorus", "0", 18};
// Read keeping 18 or 9 characters, depending on the reader.
inline constexpr SettingKey kUserBankNum{kConfigSection, "User Bank Num", "0", 18};
// A SoundFont's path, or "No User Bank Selected".
inline constexpr SettingKey kUserBank{kConfigSection, "User Bank", "No User Bank Selected",
                                      kWholePath};
// Names of the MIDI devices as the port list gives them; "-NONE-" means no device. Port
// names of the system's MIDI service run past 31 characters, so more are kept. Without a
// stored play device the built-in synthesizer plays, so that a fresh install is heard.
inline constexpr SettingKey kBoard{kMidiSection, "Board", kBuiltInSynthesizerName, 127};
inline constexpr SettingKey kInBoard{kMidiSection, "InBoard", "-NONE-", 127};
inline constexpr SettingKey kSynFile{kMidiSection, "Syn File", "", kWholePath};

inline constexpr const char* kPracticeSection = "Practice";
// Track numbers 1-16 separated by blanks ("2 5"); empty for none.
inline constexpr SettingKey kMutedTracks{kPracticeSection, "Muted Tracks", "", 63};
inline constexpr SettingKey kSoloedTracks{kPracticeSection, "Soloed Tracks", "", 63};
// Percent of the song's tempo, 25-200.
inline constexpr SettingKey kSpeed{kPracticeSection, "Speed", "100", 3};
// The loop: on or off, and its first and last bar (1-based).
inline constexpr SettingKey kLoop{kPracticeSection, "Loop", "No", 4};
inline constexpr SettingKey kLoopFrom{kPracticeSection, "Loop From", "1", 9};
inline constexpr SettingKey kLoopTo{kPracticeSection, "Loop To", "1", 9};
inline constexpr SettingKey kMetronomeForPlay{kPracticeSection, "Metronome for Play", "No", 4};
inline constexpr SettingKey kMetronomeForRecord{kPracticeSection, "Metronome for Record", "No", 4};
inline constexpr SettingKey kClickEighths{kPracticeSection, "Click Eighths in Compound Meters",
                                          "No", 4};
// 0, 1 or 2 bars.
inline constexpr SettingKey kCountInBars{kPracticeSection, "Count-in Bars", "0", 4};
// Keys 0-127 and velocities 1-127 on channel 10: General MIDI's high and low wood block.
inline constexpr SettingKey kAccentKey{kPracticeSection, "Accent Key", "76", 4};
inline constexpr SettingKey kAccentVelocity{kPracticeSection, "Accent Velocity", "100", 4};
inline constexpr SettingKey kBeatKey{kPracticeSection, "Beat Key", "77", 4};
inline constexpr SettingKey kBeatVelocity{kPracticeSection, "Beat Velocity", "80", 4};

}  // namespace settings_keys

// A window's saved place: top and left edges relative to its parent, then its outer size.
struct WindowPlacement {
    int top;
    int left;
    int width;
    int height;

    bool operator==(const WindowPlacement&) const = default;
};

// The program's settings: every key's reading, checking and writing. A value that breaks its
// key's rule is reported through the error box and replaced by the key's reset value; nothing
// is written back except by the setters and lastDir(). Writes report false when the file could
// not be stored; callers that carry on regardless may ignore it.
class Settings {
public:
    Settings(Profile& profile, Ui& ui);

    std::string text(const SettingKey& key) const;
    std::string text(const SettingKey& key, int keptChars) const;
    // Leading blanks, an optional sign, then digits up to the first other character; no
    // digits read as 0, and a number beyond int saturates at INT_MIN or INT_MAX.
    int number(const SettingKey& key) const;
    int number(const SettingKey& key, int keptChars) const;
    // True only for exactly "Yes": "yes" is not.
    bool isYes(const SettingKey& key) const;

    // Stores the value; false when it was not stored. A settings file that cannot be written
    // says so in one box, the first time, with the file's name and the reason.
    bool setText(const SettingKey& key, std::string_view value);
    bool setNumber(const SettingKey& key, int value);
    bool setFlag(const SettingKey& key, bool yes);

    // Ticks per quarter note: 48..768 and a multiple of 24, else 120.
    int division() const;
    // Beats per minute: 8..240, else 120.
    int tempo() const;
    // 0..127, else 80.
    int velocity() const;
    // File > Export Audio's level: "Export Normalize", else "Export Gain" (-40..40, else 0).
    AudioExporter::Level exportLevel() const;
    // Bars per page of the staff window ("Number of Beats"): 2..4, else 4.
    int barsPerPage() const;
    // True for exactly "STAFF"; anything else means the piano roll.
    bool staffNotation(int keptChars = settings_keys::kStaffOrPiano.keptChars) const;
    // On unless exactly "No".
    bool animate() const;
    bool hide() const;
    bool maximizeControl() const;
    bool maximizeStaff() const;
    bool useAwe() const;
    bool playListPause() const;
    // The last directory used; when none is stored yet, the user's home directory, which is
    // stored then.
    std::string lastDir();
    std::string board() const;
    std::string inBoard() const;
    // The tracks muted and soloed for practice; a number that is no track is passed over.
    TrackMix trackMix() const;
    bool setTrackMix(const TrackMix& mix);
    // The practice speed in percent; one outside Player's range is passed over for 100.
    int speedPercent() const;
    bool setSpeedPercent(int percent);
    // The practice loop; a first bar below 1 reads as 1, a last bar before the first as the
    // first.
    PlayLoop playLoop() const;
    bool setPlayLoop(const PlayLoop& loop);
    // The metronome and count-in; a number out of its range is taken to the nearest in it.
    MetronomeOptions metronome() const;
    // Stores the three switches and the count-in; keys and velocities are edited in the file.
    bool setMetronome(const MetronomeOptions& options);

    // The place saved under name (the keys name + ".top", ".left", ".right", ".bottom"); a
    // missing or unlikely edge falls back to fallbackTop or fallbackLeft, a missing or unlikely
    // size to widthBase - 200 or heightBase - 100. The window named "Staff" is then cut to
    // parentClientSize (width, height) when that is given.
    WindowPlacement readPlacement(std::string_view name, int fallbackTop, int fallbackLeft,
                                  int widthBase, int heightBase,
                                  std::optional<std::pair<int, int>> parentClientSize) const;
    bool savePlacement(std::string_view name, int top, int left, int width, int height);
    // Whether name's saved size would be used as it is (neither size falls back): false on a
    // first start.
    bool placementSizeStored(std::string_view name, int widthBase, int heightBase) const;

private:
    // The key's number when accepted, else the error box with the message and resetValue.
    int checkedNumber(const SettingKey& key, bool (*accepted)(int), const char* message,
                      int resetValue) const;

    Profile& profile_;
    Ui& ui_;
    bool writeFailureReported_ = false;
};
