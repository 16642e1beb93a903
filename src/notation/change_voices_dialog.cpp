#include "notation/change_voices_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>
#include <utility>

#include "app/settings.h"
#include "notation/voice_title_dialog.h"
#include "platform/built_in_synthesizer.h"
#include "platform/ui.h"
#include "playback/voice_table.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUndefined = "Undefined";
constexpr int kGridRows = 8;

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

bool isSoundFont(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".sf2" || extension == ".sf3";
}

}  // namespace

ChangeVoicesDialog::ChangeVoicesDialog(QWidget* parent, VoiceTable& voices,
                                       std::array<int, kTracks>& programs, Settings& settings,
                                       Ui& ui, fs::path settingsDirectory, DialogRunner runDialog)
    : QDialog(parent),
      voices_(voices),
      programs_(programs),
      settings_(settings),
      ui_(ui),
      settingsDirectory_(std::move(settingsDirectory)),
      runDialog_(std::move(runDialog)) {
    setWindowTitle(QStringLiteral("Change Voices"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);
    auto* voiceColumn = new QVBoxLayout;
    columns->addLayout(voiceColumn);
    voiceColumn->addWidget(new QLabel(QStringLiteral("MIDI  Voices"), this));
    list_ = new QListWidget(this);
    list_->setMinimumWidth(160);
    voiceColumn->addWidget(list_);
    auto* grid = new QGridLayout;
    columns->addLayout(grid);
    buildTrackGrid(*grid);

    auto* help = new QLabel(QStringLiteral("Select a voice from the list, then click on a button "
                                           "to assign the voice to the track."),
                            this);
    help->setWordWrap(true);
    layout->addWidget(help);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    setVoiceName_ = new QPushButton(QStringLiteral("Set Voice Name"), this);
    changeBank_ = new QPushButton(QStringLiteral("Change Bank"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    for (QPushButton* button : {setVoiceName_, changeBank_, ok}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    ok->setDefault(true);
    connect(setVoiceName_, &QPushButton::clicked, this, [this] { renameVoice(); });
    connect(changeBank_, &QPushButton::clicked, this, [this] { changeBank(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void ChangeVoicesDialog::buildTrackGrid(QGridLayout& grid) {
    for (int track = 0; track < kTracks; ++track) {
        auto* button = new QPushButton(QStringLiteral("Track %1").arg(track + 1), this);
        button->setAutoDefault(false);
        auto* voice = new QLineEdit(this);
        voice->setReadOnly(true);
        voice->setFocusPolicy(Qt::NoFocus);
        const int column = track / kGridRows * 2;
        grid.addWidget(button, track % kGridRows, column);
        grid.addWidget(voice, track % kGridRows, column + 1);
        trackButtons_[static_cast<std::size_t>(track)] = button;
        trackVoices_[static_cast<std::size_t>(track)] = voice;
        connect(button, &QPushButton::clicked, this, [this, track] { assignTrack(track); });
    }
}

bool ChangeVoicesDialog::prepare() {
    if (voices_.path().empty()) {
        const std::string synFile = settings_.text(settings_keys::kSynFile);
        if (synFile.empty()) {
            if (!chooseBank()) {
                return false;
            }
        } else {
            voices_.reload(synFile);
        }
    } else {
        voices_.reload(voices_.path());
    }
    fillList();
    showTrackNames();
    return true;
}

void ChangeVoicesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    list_->setFocus(Qt::OtherFocusReason);
}

void ChangeVoicesDialog::fillList() {
    list_->clear();
    list_->addItem(qText(voices_.name(-1)));
    for (int program = 0; program < voices_.count(); ++program) {
        list_->addItem(qText(voices_.name(program)));
    }
    list_->setCurrentRow(0);
}

void ChangeVoicesDialog::showTrackNames() {
    for (int track = 0; track < kTracks; ++track) {
        const int program = programs_[static_cast<std::size_t>(track)];
        trackVoice(track).setText(program + 1 > voices_.count() ? QString::fromLatin1(kUndefined)
                                                                : qText(voices_.name(program)));
    }
}

void ChangeVoicesDialog::assignTrack(int track) {
    const int row = list_->currentRow();
    if (row < 0) {
        return;
    }
    programs_[static_cast<std::size_t>(track)] = row - 1;
    trackVoice(track).setText(qText(voices_.name(row - 1)));
}

void ChangeVoicesDialog::renameVoice() {
    const int row = list_->currentRow();
    if (row < 1 || list_->item(row)->text().size() < 2) {
        return;
    }
    VoiceTitleDialog title(this, list_->item(row)->text());
    if (runDialog_(title) != QDialog::Accepted || !voices_.setName(row, title.name())) {
        return;
    }
    delete list_->takeItem(row);
    list_->insertItem(row, qText(voices_.name(row - 1)));
    list_->setCurrentRow(row);
    namesChanged_ = true;
}

void ChangeVoicesDialog::changeBank() {
    if (!saveNames()) {
        return;
    }
    if (chooseBank()) {
        fillList();
        showTrackNames();
    }
}

bool ChangeVoicesDialog::chooseBank() {
    const fs::path folder = voices_.path().parent_path();
    const std::optional<std::string> chosen =
        ui_.chooseFile(FileDialogKind::Open, "Synth Files (*.syn);;SoundFont Files (*.sf2 *.sf3)",
                       "Select Synth File", folder.empty() ? "*.syn" : (folder / "*.syn").string());
    if (!chosen) {
        return false;
    }
    if (isSoundFont(*chosen)) {
        if (!takeSoundFont(*chosen)) {
            return false;
        }
    } else {
        voices_.reload(*chosen);
    }
    bankChosen_ = true;
    return true;
}

// The names of the presets the built-in synthesizer plays for programs 0-127. A SoundFont is
// never written: its names, renamed or not, go to a synth file of its own name in the
// settings directory. That file may hold the user's own names from an earlier choice of the
// same SoundFont, so it is replaced only when the user agrees; otherwise its names are taken.
bool ChangeVoicesDialog::takeSoundFont(const fs::path& file) {
    const std::optional<BuiltInSynthesizer::PresetNames> names =
        BuiltInSynthesizer::presetNames(file);
    if (!names) {
        ui_.errorBox("Could not read the SoundFont " + file.string());
        return false;
    }
    const fs::path synthFile = settingsDirectory_ / fs::path(file.stem()).concat(".syn");
    std::error_code error;
    if (fs::exists(synthFile, error) &&
        ui_.errorBox(synthFile.string() +
                         " already exists.\nReplace its names with the presets of " +
                         file.filename().string() + "?",
                     "File Exists", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        voices_.reload(synthFile);
        return true;
    }
    voices_.assign(*names, synthFile);
    namesChanged_ = true;
    return true;
}

// A synth file the user may not write (one installed with the program, a read-only copy)
// keeps its renamed voices in a file of its name in the settings directory, which then
// becomes the synth file.
bool ChangeVoicesDialog::saveNames() {
    if (!namesChanged_) {
        return true;
    }
    const fs::path original = voices_.path();
    if (!voices_.save()) {
        const fs::path copy = settingsDirectory_ / original.filename();
        std::error_code error;
        const bool written =
            copy != original &&
            (!fs::exists(copy, error) ||
             ui_.errorBox(copy.string() + " already exists.\nReplace it with these voices?",
                          "File Exists", MB_YESNO | MB_ICONQUESTION) == IDYES) &&
            voices_.saveAs(copy);
        if (!written) {
            ui_.errorBox("Could not write " + original.string());
            return false;
        }
        ui_.errorBox(
            original.string() + " cannot be written: the voices are saved to " + copy.string(),
            "Voices Saved", MB_OK | MB_ICONINFORMATION);
        bankChosen_ = true;
    }
    namesChanged_ = false;
    return true;
}

// The track assignments are the song's and are kept even when the names could not be saved:
// the message says so, and the names stay for the rest of the session.
void ChangeVoicesDialog::accept() {
    saveNames();
    if (bankChosen_) {
        settings_.setText(settings_keys::kSynFile, voices_.path().string());
    }
    QDialog::accept();
}
