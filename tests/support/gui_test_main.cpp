#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Widgets need a QApplication, and one started with no display and no platform named aborts:
// then the tests draw off screen. Test discovery runs the executable during the build, where
// there is often no display.
int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
