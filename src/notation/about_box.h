#pragma once

#include <QWidget>
#include <filesystem>

class QPainter;

// "About tolvar' 32": the picture in a BMP file, read afresh at every paint, above the product
// line on a light grey ground. Return or OK closes the box and hands the keyboard focus back to
// its owner. It deletes itself when closed.
class AboutBox : public QWidget {
    Q_OBJECT

public:
    // owner: the main window, which the box stays above and gives the focus back to.
    AboutBox(QWidget* owner, std::filesystem::path picture);

    // Reads the picture and draws it with its top-left corner at (x, y). False, having drawn
    // nothing, when the file is missing or cannot be read as a picture.
    bool drawPicture(QPainter& painter, int x, int y) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void closeAndReturnFocus();

    std::filesystem::path picture_;
};
