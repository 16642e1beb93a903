#pragma once

#include <QWidget>

class StaffPage;
struct SongDocument;
struct StaffViewState;

// The bar along the bottom of a staff window: the song's file name, the current track, the
// tempo and the bar before the page; beside the tempo, the practice speed when it is not 100 %.
//
// While a song plays the bar field counts differently: a page turn shows the new first bar
// itself (updateBarField), while a full refresh shows the bars before the page, as the page's
// left bar line is labelled.
class StatusBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 22;

    // speedPercent is read at each paint; it outlives the bar.
    StatusBar(QWidget* parent, const SongDocument& document, const StaffViewState& view,
              const StaffPage& page, const int& speedPercent);

    // Repaints every field.
    void refresh();
    // After a page turn while playing: the bar field shows the page's first bar.
    void updateBarField();
    // After a tempo change while playing.
    void updateTempoField() { update(); }
    // Along the bottom of the parent's client area.
    void fit();

    // The file name as the field shows it at this width: nothing for a name of 7 characters or
    // fewer, else its first 3 characters, "..." and the name from its last '/' on, cut to fit.
    static QString fileNameField(const std::string& fileName, int barWidth);
    QString barField() const;
    QString trackField() const;
    QString tempoField() const;
    // "Speed 75%"; nothing at 100 %.
    QString speedField() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SongDocument& document_;
    const StaffViewState& view_;
    const StaffPage& page_;
    const int& speedPercent_;
    int shownBar_ = 0;
};
