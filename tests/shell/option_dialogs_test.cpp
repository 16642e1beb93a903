#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "main_window_fixture.h"
#include "notation/configuration_dialog.h"
#include "notation/key_window.h"
#include "notation/status_bar.h"

namespace {

namespace keys = settings_keys;

using OptionDialogsTest = MainWindowTest;

TEST_F(OptionDialogsTest, ConfigurationChoosesAndStoresTheDevices) {
    start();
    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        auto& configuration = static_cast<ConfigurationDialog&>(dialog);
        for (int i = 0; i < configuration.playDevices().count(); ++i)
            shown << configuration.playDevices().itemText(i);
        EXPECT_EQ(configuration.playDevices().currentText(), kBuiltInSynthesizerName);
        configuration.playDevices().setCurrentText("Out");
        configuration.recordDevices().setCurrentText("In");
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kConfiguration);
    EXPECT_EQ(shown, (QStringList{"-NONE-", "Out", kBuiltInSynthesizerName}));
    EXPECT_EQ(setting(keys::kBoard), "Out");
    EXPECT_EQ(setting(keys::kInBoard), "In");
    EXPECT_FALSE(app->device.isBuiltInSynthesizer());
}

TEST_F(OptionDialogsTest, GoToBarShowsTheBarAndItsNumber) {
    start();
    window->setDialogRunner([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText("3");
        dialog.accept();
        return dialog.result();
    });
    window->command(command::kGoToBar);
    EXPECT_EQ(current().page().firstBar(), 4);
    EXPECT_EQ(current().statusBar().barField(), "Bar : 3");
}

TEST_F(OptionDialogsTest, KeySignatureOpensTheKeyWindowOnTheSong) {
    start();
    window->command(command::kKeySignature);
    EXPECT_NE(current().findChild<KeyWindow*>(), nullptr);
}

}  // namespace
