#include "notation/loop_dialog.h"

#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>

LoopDialog::LoopDialog(QWidget* parent, PlayLoop& loop)
    : OptionDialog(parent, QStringLiteral("Loop Bars")), loop_(loop) {
    const auto barField = [this](int bar) {
        auto* field = new QSpinBox(this);
        field->setRange(1, kHighestBar);
        field->setValue(bar);
        return field;
    };
    firstBar_ = barField(loop.firstBar);
    lastBar_ = barField(loop.lastBar);
    form().addRow(QStringLiteral("From bar: "), firstBar_);
    form().addRow(QStringLiteral("To bar: "), lastBar_);
}

void LoopDialog::apply() {
    firstBar_->interpretText();
    lastBar_->interpretText();
    // Bars given the wrong way round still name a range.
    loop_ = {true, std::min(firstBar_->value(), lastBar_->value()),
             std::max(firstBar_->value(), lastBar_->value())};
}
