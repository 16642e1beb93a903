#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "notation/print_job.h"

class QPushButton;

// "Print Preview": one printed page at a time at half the printer's size, on a white sheet
// with a shadow, and the buttons Prev, Next, Print and Cancel. The page is drawn on an image
// when it changes; painting only copies the image. It owns its job; the song and view must
// outlive it. Closing deletes it.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 436;
    static constexpr int kHeight = 485;

    // print runs Print for the song; the preview stays open.
    PreviewWindow(QWidget* parent, const QString& caption, const OMBData& song,
                  const StaffViewState& view, Ui& ui, const MusicalSymbols& symbols, int firstBar,
                  std::function<void()> print);

    const QImage& surface() const { return surface_; }
    PrintJob& job() { return job_; }
    QPushButton& prevButton() { return *prev_; }
    QPushButton& nextButton() { return *next_; }
    QPushButton& printButton() { return *print_; }
    QPushButton& cancelButton() { return *cancel_; }

    // Draws the sheet and the job's page on the surface.
    void redraw();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawSheet(QPainter& painter);
    void turn(bool forward);

    PrintJob job_;
    QImage surface_;
    QPushButton* prev_;
    QPushButton* next_;
    QPushButton* print_;
    QPushButton* cancel_;
};
