#include "notation/option_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <vector>

OptionDialog::OptionDialog(QWidget* parent, const QString& caption) : QDialog(parent) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
}

QLabel* OptionDialog::addText(const QString& text) {
    auto* label = new QLabel(text, this);
    form_->addRow(label);
    return label;
}

void OptionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The buttons are made before the subclass adds its controls, so by creation order they
    // would come first in the tab chain and take the focus.
    std::vector<QWidget*> controls;
    for (int row = 0; row < form_->rowCount(); ++row) {
        for (const auto role : {QFormLayout::FieldRole, QFormLayout::SpanningRole}) {
            QLayoutItem* item = form_->itemAt(row, role);
            if (item != nullptr && item->widget() != nullptr &&
                item->widget()->focusPolicy() != Qt::NoFocus) {
                controls.push_back(item->widget());
            }
        }
    }
    if (controls.empty()) {
        return;
    }
    for (std::size_t i = 1; i < controls.size(); ++i) {
        setTabOrder(controls[i - 1], controls[i]);
    }
    setTabOrder(controls.back(), buttons_);
    controls.front()->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(controls.front())) {
        edit->selectAll();
    } else if (auto* spinBox = qobject_cast<QAbstractSpinBox*>(controls.front())) {
        spinBox->selectAll();
    }
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
