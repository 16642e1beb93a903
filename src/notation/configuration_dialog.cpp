#include "notation/configuration_dialog.h"

#include <QComboBox>
#include <QFormLayout>

namespace {

QComboBox* deviceList(QWidget* parent, const std::vector<std::string>& names, int selected) {
    auto* list = new QComboBox(parent);
    for (const std::string& name : names) {
        list->addItem(QString::fromStdString(name));
    }
    // A saved device that is gone leaves the list without a selection.
    list->setCurrentIndex(selected);
    return list;
}

}  // namespace

ConfigurationDialog::ConfigurationDialog(QWidget* parent, DeviceConfiguration& configuration)
    : OptionDialog(parent, QStringLiteral("Configuration")), configuration_(configuration) {
    const DeviceConfiguration::Choices choices = configuration.choices();
    playDevices_ = deviceList(this, choices.outputs, choices.output);
    recordDevices_ = deviceList(this, choices.inputs, choices.input);
    form().addRow(QStringLiteral("MIDI - Play Device"), playDevices_);
    form().addRow(QStringLiteral("MIDI - Record Device"), recordDevices_);
    playDevices_->setFocus();
}

void ConfigurationDialog::apply() {
    configuration_.apply(playDevices_->currentIndex(), recordDevices_->currentIndex());
}
