#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class Clock;
struct SongTiming;

// The bar along the bottom of the main window: the passing message line, the velocity of
// entered notes and, when the synthesizer's SoundFont control runs, "AWE Enabled".
//
// A message stays until the first repaint that comes more than 2 seconds after it was set;
// that repaint still shows it and the next shows an empty line. Nothing repaints the bar on
// a timer: a message is there to be read, and the next event that repaints takes it away.
class ControlBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 22;
    static constexpr std::uint32_t kMessageLifetimeMs = 2000;

    ControlBar(QWidget* parent, const Clock& clock, const SongTiming& timing,
               const bool& soundFontControl);

    // Replaces the message at once and repaints the bar.
    void showMessage(const QString& text);
    QString message() const { return message_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Clock& clock_;
    const SongTiming& timing_;
    const bool& soundFontControl_;
    QString message_;
    std::uint32_t messageTimeMs_;
};
