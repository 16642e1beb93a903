#include "notation/beat_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "model/beat_division.h"
#include "model/omb_data.h"
#include "platform/ui.h"

namespace {

constexpr int kMaxChars = 7;

}  // namespace

BeatDialog::BeatDialog(QWidget* parent, Purpose purpose, const OMBData& song, int pageStartTick,
                       Ui& ui)
    : OptionDialog(parent, purpose == Purpose::Paste ? QStringLiteral("Paste")
                                                     : QStringLiteral("Set First Note")),
      purpose_(purpose),
      song_(song),
      ui_(ui) {
    addText(purpose == Purpose::Paste
                ? QStringLiteral("Enter the Beat to paste the notes to (BAR:BEAT) :")
                : QStringLiteral("Enter the Beat that the song will start on (BAR:BEAT) :"));
    beat_ = new QLineEdit(this);
    beat_->setMaxLength(kMaxChars);
    form().addRow(QStringLiteral("Beat:"), beat_);
    form().addRow(QStringLiteral("Page starts at:"),
                  new QLabel(QString::number(pageStartTick), this));
    form().addRow(QStringLiteral("Length of beat:"),
                  new QLabel(QString::number(song.timeDivision), this));
    if (purpose == Purpose::Paste) {
        addText(QStringLiteral("OR"));
        addText(QStringLiteral("Press OK to use the mouse"));
    }
}

void BeatDialog::apply() {
    const std::string text = beat_->text().toStdString();
    // Only Paste has a mouse to fall back on; an empty first-note beat is a wrong one.
    if (text.empty() && purpose_ == Purpose::Paste) {
        choice_ = Choice::UseMouse;
        return;
    }
    const BeatDivisionTime parsed =
        parseBeatDivision(text, song_.timeSignature.beatsPerBar, song_.timeDivision);
    if (parsed.error != nullptr) {
        ui_.errorBox(parsed.error);
        tick_ = -1;
        choice_ = Choice::Cancelled;
        return;
    }
    tick_ = parsed.time;
    choice_ = Choice::AtTick;
}
