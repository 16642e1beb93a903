#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>

#include "main_window_fixture.h"
#include "notation/configuration_dialog.h"
#include "notation/key_window.h"
#include "notation/status_bar.h"

namespace {

namespace keys = settings_keys;

using OptionDialogsTest = MainWindowTest;

TEST_F(OptionDialogsTest, DialogsTakeWhatIsTypedAndEnterAndConfigurationStoresTheDevices) {
    start();
    // Dialogs run by the window take what is typed into their first field, and Enter.
    typeIntoTheNextDialog("3");
    window->command(command::kGoToBar);
    EXPECT_EQ(current().page().firstBar(), 4);
    EXPECT_EQ(current().statusBar().barField(), "Bar : 3");

    track0().add(std::make_unique<Note>(0, 80, 120, 60, 0, 0));
    typeIntoTheNextDialog("1:0");
    window->command(command::kSetFirstNote);
    EXPECT_EQ(track0().at(0)->time(), 4 * song().timeDivision);
    EXPECT_TRUE(ui.boxes.empty());

    // A dialog runner stays set, so the configuration comes last.
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

TEST_F(OptionDialogsTest, KeyWindowGoesWithItsSongAndDefaultVelocityNeedsNone) {
    start();
    window->command(command::kKeySignature);
    QPointer<KeyWindow> keys = window->findChild<KeyWindow*>();
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->parentWidget(), window.get());
    EXPECT_TRUE(keys->isVisible());

    current().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window->staffWindows().empty());
    EXPECT_TRUE(keys.isNull()) << "a key window left open would edit a song that is gone";

    typeIntoTheNextDialog("100");
    window->command(command::kDefaultVelocity);
    EXPECT_EQ(app->timing.defaultVelocity, 100) << "set with no song open";
}

}  // namespace
