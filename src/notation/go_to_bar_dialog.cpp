#include "notation/go_to_bar_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

#include "platform/ui.h"
#include "staff/staff_page.h"

namespace {

constexpr int kMaxChars = 6;
constexpr int kLastBar = 2000;

}  // namespace

GoToBarDialog::GoToBarDialog(QWidget* parent, StaffPage& page, Ui& ui)
    : OptionDialog(parent, QStringLiteral("Go To Bar")), page_(page), ui_(ui) {
    bar_ = new QLineEdit(this);
    bar_->setMaxLength(kMaxChars);
    form().addRow(QStringLiteral("Enter the bar to go to: "), bar_);
}

void GoToBarDialog::apply() {
    if (const std::optional<int> bar = typedNumber(bar_->text(), kLastBar)) {
        page_.goToBar(*bar);
    } else {
        ui_.errorBox("Invalid Bar (0-2000)");
    }
}
