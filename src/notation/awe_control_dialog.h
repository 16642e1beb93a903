#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class Settings;
class SoundFontControl;
class Ui;

// "AWE Control": the synth bank, the user bank and its SoundFont, reverb and chorus, and
// "Use SoundFont for all songs". The user bank acts at once; OK applies the rest, Cancel
// leaves it.
class AweControlDialog : public QDialog {
    Q_OBJECT

public:
    // useForAllSongs: the main window's flag, which OK sets from the check box.
    AweControlDialog(QWidget* parent, SoundFontControl& control, bool& useForAllSongs,
                     Settings& settings, Ui& ui);

    QCheckBox& useForAllSongs() { return *useForAll_; }
    QComboBox& synthBank() { return *synthBank_; }
    QComboBox& userBank() { return *userBank_; }
    QLabel& userBankFile() { return *userBankFile_; }
    QPushButton& setBankButton() { return *setBank_; }
    QPushButton& clearBankButton() { return *clearBank_; }
    QComboBox& effectType() { return *effectType_; }
    QComboBox& reverb() { return *reverb_; }
    QComboBox& chorus() { return *chorus_; }
    QLabel& memory() { return *memory_; }
    QLabel& version() { return *version_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildSoundFontGroup();
    QWidget* buildEffectsGroup();
    QWidget* buildStatus();
    void fill();
    // Selects the user bank number and shows its name.
    void showUserBank();
    void userBankChosen(int index);
    void setBank();
    void clearBank();

    SoundFontControl& control_;
    bool& useForAllSongsFlag_;
    Settings& settings_;
    Ui& ui_;
    QCheckBox* useForAll_;
    QComboBox* synthBank_;
    QComboBox* userBank_;
    QLabel* userBankFile_;
    QPushButton* setBank_;
    QPushButton* clearBank_;
    QComboBox* effectType_;
    QComboBox* reverb_;
    QComboBox* chorus_;
    QLabel* memory_;
    QLabel* version_;
};
