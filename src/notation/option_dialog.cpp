#include "notation/option_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

OptionDialog::OptionDialog(QWidget* parent, const QString& caption) : QDialog(parent) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QLabel* OptionDialog::addText(const QString& text) {
    auto* label = new QLabel(text, this);
    form_->addRow(label);
    return label;
}

void OptionDialog::accept() {
    apply();
    QDialog::accept();
}

std::optional<int> OptionDialog::typedNumber(const QString& text, int highest) {
    if (text == QStringLiteral("0")) {
        return 0;
    }
    const int value = std::atoi(text.toLatin1().constData());
    return value >= 1 && value <= highest ? std::optional<int>(value) : std::nullopt;
}
