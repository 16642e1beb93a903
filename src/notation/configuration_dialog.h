#pragma once

#include "app/device_configuration.h"
#include "notation/option_dialog.h"

class QComboBox;

// "Configuration": the play device and the record device, each "-NONE-" or one of the devices
// found now. OK stores and chooses them.
class ConfigurationDialog : public OptionDialog {
    Q_OBJECT

public:
    ConfigurationDialog(QWidget* parent, DeviceConfiguration& configuration);

    QComboBox& playDevices() { return *playDevices_; }
    QComboBox& recordDevices() { return *recordDevices_; }

protected:
    void apply() override;

private:
    DeviceConfiguration& configuration_;
    QComboBox* playDevices_;
    QComboBox* recordDevices_;
};
