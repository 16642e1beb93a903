#include <QTest>

#include "main_window_fixture.h"
#include "notation/about_box.h"

namespace {

using AboutCommandTest = MainWindowTest;

TEST_F(AboutCommandTest, AboutBringsAnOpenBoxToTheFrontOrOpensANewOne) {
    start();
    EXPECT_TRUE(itemEnabled(command::kAbout));
    window->command(command::kAbout);
    QList<AboutBox*> boxes = window->findChildren<AboutBox*>();
    ASSERT_EQ(boxes.size(), 1);
    AboutBox* box = boxes.front();
    EXPECT_TRUE(box->isVisible());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->command(command::kAbout);
    EXPECT_EQ(window->findChildren<AboutBox*>(), QList<AboutBox*>{box});
    EXPECT_TRUE(QTest::qWaitForWindowActive(box));
    EXPECT_TRUE(ui.boxes.empty());

    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window->findChildren<AboutBox*>().isEmpty());
    window->command(command::kAbout);
    ASSERT_EQ(window->findChildren<AboutBox*>().size(), 1);
    EXPECT_TRUE(window->findChild<AboutBox*>()->isVisible());
}

}  // namespace
