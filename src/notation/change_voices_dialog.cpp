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
    bankChosen_ = true;
    if (isSoundFont(*chosen)) {
        takeSoundFont(*chosen);
    } else {
        voices_.reload(*chosen);
    }
    return true;
}

// The names of the presets the built-in synthesizer plays for programs 0-127. A SoundFont is
// never written: its names, renamed or not, go to a synth file of its own name in the
// settings directory.
void ChangeVoicesDialog::takeSoundFont(const fs::path& file) {
    const fs::path synthFile = settingsDirectory_ / file.stem().concat(".syn");
    if (const auto names = BuiltInSynthesizer::presetNames(file)) {
        voices_.assign(*names, synthFile);
    } else {
        voices_.assign({}, synthFile);
    }
    namesChanged_ = true;
}

// Renamed voices that cannot be written keep the dialog where it is, so they are not lost by
// a reload or a close without a word; Escape still leaves without them.
bool ChangeVoicesDialog::saveNames() {
    if (!namesChanged_) {
        return true;
    }
    if (!voices_.save()) {
        ui_.errorBox("Could not write " + voices_.path().string());
        return false;
    }
    namesChanged_ = false;
    return true;
}

void ChangeVoicesDialog::accept() {
    if (!saveNames()) {
        return;
    }
    if (bankChosen_) {
        settings_.setText(settings_keys::kSynFile, voices_.path().string());
    }
    QDialog::accept();
}
