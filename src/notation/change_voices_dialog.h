#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;
class Settings;
class Ui;
class VoiceTable;

// "Change Voices": assigns a voice to each of the 16 tracks, renames voices and switches to
// another synth file, or to the names of a SoundFont's presets. It works on the voice table
// and the programs it is given; OK saves renamed voices and stores the synth file in the
// settings, and keeps the programs even when the names cannot be saved; Escape leaves the
// settings and the synth file alone.
class ChangeVoicesDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTracks = 16;
    using DialogRunner = std::function<int(QDialog&)>;

    // settingsDirectory: where the names of a SoundFont are saved as a synth file.
    // runDialog runs the Voice Title dialog.
    ChangeVoicesDialog(QWidget* parent, VoiceTable& voices, std::array<int, kTracks>& programs,
                       Settings& settings, Ui& ui, std::filesystem::path settingsDirectory,
                       DialogRunner runDialog);

    // Reads the synth file before the dialog shows; when none is known the user is asked for
    // one. False when the user chose none: the dialog is not to be shown.
    bool prepare();

    QListWidget& voiceList() { return *list_; }
    QPushButton& trackButton(int track) { return *trackButtons_[static_cast<std::size_t>(track)]; }
    QLineEdit& trackVoice(int track) { return *trackVoices_[static_cast<std::size_t>(track)]; }
    QPushButton& setVoiceNameButton() { return *setVoiceName_; }
    QPushButton& changeBankButton() { return *changeBank_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTrackGrid(class QGridLayout& grid);
    // Fills the list from the table: "--NONE--", then every name.
    void fillList();
    void showTrackNames();
    void assignTrack(int track);
    void renameVoice();
    void changeBank();
    // Writes renamed voices to the synth file, or to the user's own copy of it; false, with a
    // message, when neither can be written.
    bool saveNames();
    // Asks for a synth file or a SoundFont and takes its names; false when cancelled or when
    // the SoundFont cannot be read.
    bool chooseBank();
    // False, with a message, when the SoundFont cannot be read; nothing changes then.
    bool takeSoundFont(const std::filesystem::path& file);

    VoiceTable& voices_;
    std::array<int, kTracks>& programs_;
    Settings& settings_;
    Ui& ui_;
    std::filesystem::path settingsDirectory_;
    DialogRunner runDialog_;
    bool namesChanged_ = false;
    // A synth file or SoundFont was chosen: OK stores it as "Syn File".
    bool bankChosen_ = false;
    QListWidget* list_;
    std::array<QPushButton*, kTracks> trackButtons_{};
    std::array<QLineEdit*, kTracks> trackVoices_{};
    QPushButton* setVoiceName_;
    QPushButton* changeBank_;
};
