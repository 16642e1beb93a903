#include "notation/bar_width_dialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "app/settings.h"
#include "platform/ui.h"
#include "staff/staff_page.h"

BarWidthDialog::BarWidthDialog(QWidget* parent, StaffPage& page, Settings& settings, Ui& ui)
    : OptionDialog(parent, QStringLiteral("Bar Width")), page_(page), settings_(settings), ui_(ui) {
    addText(QStringLiteral("Narrow, Medium, or Wide"));
    widths_ = new QComboBox(this);
    widths_->addItems({QStringLiteral("Wide"), QStringLiteral("Medium"), QStringLiteral("Narrow")});
    widths_->setCurrentIndex(page.barsPerPage() - StaffPage::kMinBarsPerPage);
    form().addRow(widths_);
}

void BarWidthDialog::apply() {
    const int barsPerPage = widths_->currentIndex() + StaffPage::kMinBarsPerPage;
    if (widths_->currentIndex() < 0 || !page_.setBarsPerPage(barsPerPage)) {
        ui_.errorBox("Invalid selection");
        return;
    }
    settings_.setNumber(settings_keys::kNumberOfBeats, barsPerPage);
}
