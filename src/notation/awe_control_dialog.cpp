#include "notation/awe_control_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "app/settings.h"
#include "app/sound_font_control.h"
#include "platform/ui.h"
#include "playback/sound_font_state.h"

namespace {

constexpr int kReverbAndChorus = 0;

template <typename Names>
QComboBox* listOf(QWidget* parent, const Names& names) {
    auto* list = new QComboBox(parent);
    for (const char* name : names) {
        list->addItem(QString::fromLatin1(name));
    }
    return list;
}

}  // namespace

AweControlDialog::AweControlDialog(QWidget* parent, SoundFontControl& control, bool& useForAllSongs,
                                   Settings& settings, Ui& ui)
    : QDialog(parent),
      control_(control),
      useForAllSongsFlag_(useForAllSongs),
      settings_(settings),
      ui_(ui) {
    setWindowTitle(QStringLiteral("AWE Control"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSoundFontGroup());
    layout->addWidget(buildEffectsGroup());
    layout->addWidget(buildStatus());
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    fill();
    connect(userBank_, &QComboBox::currentIndexChanged, this,
            [this](int index) { userBankChosen(index); });
    connect(setBank_, &QPushButton::clicked, this, [this] { setBank(); });
    connect(clearBank_, &QPushButton::clicked, this, [this] { clearBank(); });
}

QWidget* AweControlDialog::buildSoundFontGroup() {
    auto* group = new QGroupBox(QStringLiteral("Soundfont"), this);
    auto* form = new QFormLayout(group);
    useForAll_ = new QCheckBox(QStringLiteral("Use SoundFont for all songs"), group);
    form->addRow(useForAll_);
    synthBank_ = listOf(group, SoundFontState::kSynthBankNames);
    form->addRow(QStringLiteral("S&ynth Bank:"), synthBank_);
    userBank_ = new QComboBox(group);
    for (int number = SoundFontState::kFirstUserBank; number <= SoundFontState::kLastUserBank;
         ++number) {
        userBank_->addItem(QString::number(number));
    }
    form->addRow(QStringLiteral("&User Bank:"), userBank_);
    userBankFile_ = new QLabel(group);
    userBankFile_->setWordWrap(true);
    form->addRow(QStringLiteral("User Bank File:"), userBankFile_);
    auto* bankButtons = new QHBoxLayout;
    setBank_ = new QPushButton(QStringLiteral("Set &Bank"), group);
    clearBank_ = new QPushButton(QStringLiteral("C&lear Bank"), group);
    for (QPushButton* button : {setBank_, clearBank_}) {
        button->setAutoDefault(false);
        bankButtons->addWidget(button);
    }
    form->addRow(bankButtons);
    return group;
}

QWidget* AweControlDialog::buildEffectsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Effects"), this);
    auto* form = new QFormLayout(group);
    effectType_ = new QComboBox(group);
    effectType_->addItem(QStringLiteral("REVERB CHORUS"));
    form->addRow(QStringLiteral("&Effect Types:"), effectType_);
    auto* reverbAndChorus = new QGroupBox(QStringLiteral("Reverb and Chorus"), group);
    auto* effects = new QFormLayout(reverbAndChorus);
    reverb_ = listOf(reverbAndChorus, SoundFontState::kReverbNames);
    chorus_ = listOf(reverbAndChorus, SoundFontState::kChorusNames);
    effects->addRow(QStringLiteral("&Reverb:"), reverb_);
    effects->addRow(QStringLiteral("C&horus:"), chorus_);
    form->addRow(reverbAndChorus);
    return group;
}

QWidget* AweControlDialog::buildStatus() {
    auto* status = new QWidget(this);
    auto* form = new QFormLayout(status);
    form->setContentsMargins(0, 0, 0, 0);
    memory_ = new QLabel(status);
    version_ = new QLabel(status);
    form->addRow(QStringLiteral("Memory Status:"), memory_);
    form->addRow(QStringLiteral("AWE Version:"), version_);
    return status;
}

void AweControlDialog::fill() {
    useForAll_->setChecked(useForAllSongsFlag_);
    synthBank_->setCurrentIndex(control_.synthBank());
    version_->setText(QString::fromStdString(SoundFontControl::versionText()));
    control_.queryUserBank();
    showUserBank();
    effectType_->setCurrentIndex(kReverbAndChorus);
    reverb_->setCurrentIndex(control_.reverbType());
    chorus_->setCurrentIndex(control_.chorusType());
    memory_->setText(QString::fromStdString(control_.memoryText()));
}

void AweControlDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    useForAll_->setFocus(Qt::OtherFocusReason);
}

void AweControlDialog::showUserBank() {
    const int number = std::clamp(control_.userBankNumber(), SoundFontState::kFirstUserBank,
                                  SoundFontState::kLastUserBank);
    const QSignalBlocker quiet(userBank_);
    userBank_->setCurrentIndex(number - SoundFontState::kFirstUserBank);
    userBankFile_->setText(QString::fromStdString(control_.userBankName()));
}

void AweControlDialog::userBankChosen(int index) {
    control_.selectUserBank(index + SoundFontState::kFirstUserBank);
    userBankFile_->setText(QString::fromStdString(control_.userBankName()));
}

void AweControlDialog::setBank() {
    const std::string lastDir = settings_.text(settings_keys::kLastDir);
    const std::optional<std::string> file =
        ui_.chooseFile(FileDialogKind::Open, "SoundFont Files (*.sf2 *.sf3 *.sbk)",
                       "Open User Bank", lastDir.empty() ? "*.sbk" : lastDir + "/*.sbk");
    if (file) {
        if (control_.loadUserBank(*file)) {
            ui_.notice("User Bank Set");
            userBankFile_->setText(QString::fromStdString(control_.userBankName()));
        } else {
            ui_.notice("Error Setting User Bank");
        }
    }
    memory_->setText(QString::fromStdString(control_.memoryText()));
}

void AweControlDialog::clearBank() {
    if (!control_.clearUserBank()) {
        ui_.notice("Error Clearing Bank");
        return;
    }
    control_.queryUserBank();
    showUserBank();
    memory_->setText(QString::fromStdString(control_.memoryText()));
    ui_.notice("Bank Cleared");
}

void AweControlDialog::accept() {
    useForAllSongsFlag_ = useForAll_->isChecked();
    const char* failure = nullptr;
    if (effectType_->currentIndex() == kReverbAndChorus &&
        !control_.setReverbAndChorus(reverb_->currentIndex(), chorus_->currentIndex())) {
        failure = "Error Setting Reverb and Chorus";
    }
    if (!control_.setSynthBank(synthBank_->currentIndex())) {
        failure = "Error Setting BANK";
    }
    ui_.notice(failure != nullptr ? failure : "AWE Set Successfully");
    QDialog::accept();
}
