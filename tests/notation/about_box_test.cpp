#include "notation/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "platform/data_directory.h"
#include "platform/dib_reader.h"
#include "support/bmp_file.h"
#include "support/scratch_dir.h"

namespace {

const QColor kGrey(192, 192, 192);
const QRect kProblemsLine(40, 130, 200, 16);
const QRect kProductLine(130, 273, 80, 16);

// 4 x 2 at 24 bits, so with no colour table: red, green, blue, white over four blacks.
BmpFile trueColour() {
    BmpFile file;
    file.width = 4;
    file.height = 2;
    file.bits = BmpFile::rows({{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                               {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF}});
    return file;
}

class AboutBoxTest : public testing::Test {
protected:
    QImage shot(AboutBox& box) const { return box.grab().toImage(); }
    // Text is smoothed: its strokes are dark rather than black.
    static bool anyDark(const QImage& image, QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 100)
                    return true;
        return false;
    }

    ScratchDir dir;
    std::filesystem::path picture = dir / "about.bmp";
};

// The picture is read again at every paint: a missing, a good, a top-down and a cut one.
TEST_F(AboutBoxTest, PictureIsDrawnAsItIsNowOrReplacedByItsMessage) {
    AboutBox box(nullptr, picture);
    QImage image = shot(box);
    EXPECT_EQ(image.pixelColor(0, 0), kGrey);
    EXPECT_TRUE(anyDark(image, kProblemsLine));
    EXPECT_TRUE(anyDark(image, kProductLine));

    BmpFile file = trueColour();
    ScratchDir::write(picture, file.text());
    image = shot(box);
    EXPECT_EQ(box.windowTitle(), "About tolvar' 32");
    // Without a colour table the picture is drawn in its own colours, above the product line.
    EXPECT_EQ(std::vector({image.pixelColor(0, 0), image.pixelColor(1, 0), image.pixelColor(2, 0),
                           image.pixelColor(3, 0), image.pixelColor(3, 1), image.pixelColor(4, 0)}),
              std::vector<QColor>({Qt::red, Qt::green, Qt::blue, Qt::white, Qt::black, kGrey}));
    EXPECT_FALSE(anyDark(image, kProblemsLine));
    EXPECT_TRUE(anyDark(image, kProductLine));
    file.height = -2;  // the same rows, now read top-down
    ScratchDir::write(picture, file.text());
    EXPECT_EQ(shot(box).pixelColor(0, 0), QColor(Qt::black));

    std::string cut = trueColour().text();
    cut.pop_back();
    ScratchDir::write(picture, cut);
    image = shot(box);
    EXPECT_EQ(image.pixelColor(0, 0), kGrey);
    EXPECT_TRUE(anyDark(image, kProblemsLine));
}

TEST_F(AboutBoxTest, ReturnOrOkClosesTheBoxAndReturnGivesTheFocusBackToTheOwner) {
    QWidget owner;
    owner.show();
    QPointer<AboutBox> box = new AboutBox(&owner, picture);
    box->show();
    box->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&owner));

    box = new AboutBox(&owner, picture);
    box->show();
    QPushButton* ok = box->findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    QTest::mouseClick(ok, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}

TEST(AboutPictureTest, ShippedPictureIsAnEightBitPictureThatReads) {
    const std::optional<Dib> dib = DibReader::readFile(dataDirectory() / "about.bmp");
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(dib->bitsPerPixel(), 8);
    EXPECT_LE(dib->height(), 273) << "the product line stays clear of the picture";
}

}  // namespace
