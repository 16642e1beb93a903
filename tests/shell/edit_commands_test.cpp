#include "main_window_fixture.h"

namespace {

using EditCommandsTest = MainWindowTest;

TEST_F(EditCommandsTest, SelectCopyPasteTheEntryOptionsAndNoEntryWhilePlaying) {
    startWithANote();
    window->command(command::kSelectEntireTrack);
    EXPECT_FALSE(itemEnabled(command::kSetCutCopy));
    EXPECT_TRUE(itemEnabled(command::kCopy));
    EXPECT_FALSE(itemEnabled(command::kPaste));
    window->command(command::kCopy);
    EXPECT_EQ(ui.notices.back(), "1 items placed in paste buffer");
    EXPECT_TRUE(itemEnabled(command::kPaste));
    EXPECT_FALSE(itemEnabled(command::kCopy));
    EXPECT_TRUE(itemEnabled(command::kSetCutCopy));

    typeIntoTheNextDialog("1:0");
    window->command(command::kPaste);
    ASSERT_EQ(track0().count(), 2);
    EXPECT_EQ(track0().at(1)->time(), 480);

    window->command(command::kDotted);
    EXPECT_TRUE(window->editSettings().dotted);
    window->command(command::kFreeFormInput);
    EXPECT_EQ(window->editSettings().inputMode, EditSettings::InputMode::FreeForm);
    EXPECT_FALSE(window->menu().isChecked(command::kAlignToBeat));
    EXPECT_TRUE(window->menu().isChecked(command::kFreeFormInput));

    window->transport().setPlayActive(true);
    clickNote();
    EXPECT_EQ(ui.notices.back(), "In Play - Press Stop to access controls");
    EXPECT_EQ(track0().count(), 2) << "a click while playing is refused";
    window->transport().setPlayActive(false);
}

}  // namespace
