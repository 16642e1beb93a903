#include "notation/default_velocity_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

#include "model/note.h"
#include "model/song_timing.h"
#include "platform/ui.h"

namespace {

constexpr int kMaxChars = 6;
// A MIDI velocity is seven bits: a larger one would be stored cut to those bits.
constexpr int kMaxVelocity = 127;

}  // namespace

DefaultVelocityDialog::DefaultVelocityDialog(QWidget* parent, SongTiming& timing, Ui& ui)
    : OptionDialog(parent, QStringLiteral("Default Velocity")), timing_(timing), ui_(ui) {
    velocity_ = new QLineEdit(QString::number(timing.defaultVelocity), this);
    velocity_->setMaxLength(kMaxChars);
    form().addRow(QStringLiteral("Enter the Default Velocity: "), velocity_);
}

void DefaultVelocityDialog::apply() {
    // Velocity 1 marks a rest and a note-on of velocity 0 is a note-off: entered notes sound.
    const std::optional<int> velocity = typedNumber(velocity_->text(), kMaxVelocity);
    if (velocity && *velocity >= Note::kLowestSoundingVelocity) {
        timing_.defaultVelocity = *velocity;
    } else {
        ui_.errorBox("Invalid Velocity (2-127)");
    }
}
