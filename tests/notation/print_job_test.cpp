#include "notation/print_job.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>

#include "model/omb_data.h"
#include "staff/staff_view_state.h"
#include "support/scratch_dir.h"
#include "support/scripted_ui.h"

namespace {

// Pages are drawn at 100 dots per inch: ten thousandths of an inch to a pixel.
constexpr int kDotsPerInch = 100;

class PrintJobTest : public testing::Test {
protected:
    // The page that holds line, as the printer or the preview draws it.
    QImage page(int line, bool preview, const MusicalSymbols& font) {
        QImage image(850, 1100, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(qRound(kDotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(kDotsPerInch / 0.0254));
        PrintJob job(song, view, ui, font, 1);
        job.setLine(line);
        QPainter painter(&image);
        job.PrintPage(painter, preview);
        return image;
    }
    QImage page(int line, bool preview = false) { return page(line, preview, symbols); }
    void addNote(int start, int velocity, int position = 55) {
        song.track(0).add(std::make_unique<Note>(start, velocity, 120, position, 0, 0));
    }
    static bool dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }
    // Pages of a PDF: its page objects, not the page tree.
    static int pdfPages(const std::filesystem::path& file) {
        return static_cast<int>(QString::fromLatin1(ScratchDir::read(file))
                                    .count(QRegularExpression("/Type\\s*/Page[^s]")));
    }

    SongTiming timing;
    OMBData song{timing};
    StaffViewState view;
    ScriptedUi ui;
    MusicalSymbols symbols;
};

TEST_F(PrintJobTest, StaffLinesStandAtTheirPlaceForEachScale) {
    // Page 2 starts with a line in its first slot: 0 below the top on paper, 250 in the preview.
    for (const bool preview : {false, true}) {
        const QImage image = page(5, preview);
        const int s = preview ? 1 : 2;
        const int origin = preview ? 250 : 0;
        for (const int top : {400, 800}) {
            for (int i = 0; i < 5; ++i) {
                const int y = ((top + 40 * i) * s + origin) / 10;
                EXPECT_TRUE(dark(image, 260, y) || dark(image, 260, y - 1)) << preview << " " << y;
                EXPECT_FALSE(dark(image, 260, y + 2)) << preview << " " << y;
            }
        }
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PrintJobTest, OnlySoundingNotesArePrintedOneSymbolEach) {
    // Bars 1-4 of line 1, printed in slot 1 of page 1: a note, a rest, a note of velocity 0,
    // a note.
    addNote(0, 80);
    song.track(0).add(std::make_unique<Note>(480, Note::kRestVelocity, 120, 60, 0, 0));
    addNote(960, 0);
    addNote(1440, 80);
    const QImage image = page(1);
    // Treble staff rows 280-312 and above, right of the first bar line at 140, bar lines and
    // staff lines left out: what is left is the notes.
    const auto marked = [&](int x) {
        for (const int barLine : {140, 290, 440, 590, 740})
            if (std::abs(x - barLine) <= 1)
                return false;
        for (int y = 200; y < 330; ++y)
            if ((y < 279 || y > 313 || (y - 280 + 1) % 8 > 2) && dark(image, x, y))
                return true;
        return false;
    };
    std::vector<int> starts;
    for (int x = 141; x < 740; ++x)
        if (marked(x) && !marked(x - 1))
            starts.push_back(x);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_LT(starts[0], 290);
    EXPECT_GT(starts[1], 590);
}

TEST_F(PrintJobTest, MiddleCsLedgerLineCrossesItsHead) {
    // Bar 2 of line 1: x 2920, the ledger line from 2900; middle C's line lies a staff space
    // below the treble staff's bottom line at 3120.
    song.track(0).add(std::make_unique<Note>(480, 80, 120, 85, 0, 0));
    const QImage image = page(1);
    EXPECT_TRUE(dark(image, 291, 320) || dark(image, 291, 319));
    EXPECT_FALSE(dark(image, 291, 328));
}

TEST_F(PrintJobTest, ClefTimeSignatureAndKeySignatureStandApart) {
    // G major in 4/4 on page 2's first line, whose slot starts 0 below the top on paper and
    // 250 in the preview; nothing else on the line.
    song.keySignature = {1, 0, 0, 0, 0, 0, 0};
    for (const bool preview : {false, true}) {
        const QImage image = page(5, preview);
        const int s = preview ? 1 : 2;
        const int origin = preview ? 250 : 0;
        const int left = preview ? 500 : 400;
        const auto pixel = [](int thousandths) { return thousandths / 10; };
        // Rows from above the clef's top to below its tail, less the staff lines (dark in the
        // middle of the first bar, where nothing else is).
        std::vector<int> rows;
        const int barMiddle = pixel(left + 1100 * s);
        for (int y = pixel(200 * s + origin); y <= pixel(660 * s + origin); ++y) {
            if (!dark(image, barMiddle, y)) {
                rows.push_back(y);
            }
        }
        // Columns with ink, from right of the system line to left of the first bar line:
        // each run of them is one symbol or symbols standing over one another.
        std::vector<std::pair<int, int>> runs;
        for (int x = pixel(left + 20 * s); x < pixel(left + 490 * s); ++x) {
            const bool ink =
                std::any_of(rows.begin(), rows.end(), [&](int y) { return dark(image, x, y); });
            if (ink && (runs.empty() || runs.back().second != x - 1)) {
                runs.emplace_back(x, x);
            } else if (ink) {
                runs.back().second = x;
            }
        }
        // The clef, the figures of 4/4 and the sharp.
        EXPECT_EQ(runs.size(), 3u) << (preview ? "preview" : "print");
    }
}

TEST_F(PrintJobTest, TheTitleIsPrintedOnPageOneOnly) {
    addNote(0, 80);
    addNote(40 * 480, 80);
    const QImage untitledFirst = page(1);
    const QImage untitledSecond = page(5);
    song.setTitle("Speed the Plough");
    song.setAuthor("Trad.");
    EXPECT_NE(page(1), untitledFirst);
    EXPECT_EQ(page(5), untitledSecond);
}

TEST_F(PrintJobTest, PrintingAllPagesGoesOnPastEmptyLinesToTheLastNote) {
    // Notes on lines 1 and 2 (page 1), nothing on lines 3-11, a note on line 12 (page 3).
    addNote(0, 80);
    addNote(16 * 120 + 10, 80);
    addNote(11 * 16 * 120 + 5, 80);
    ScratchDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "song.pdf").string()));
    PrintJob job(song, view, ui, symbols, 1);
    EXPECT_EQ(job.print(printer, PrintJob::Range::All, 0, 0), 3);
    EXPECT_EQ(pdfPages(dir / "song.pdf"), 3);
    // A range asking for more than the song holds ends at its last note too.
    printer.setOutputFileName(QString::fromStdString((dir / "range.pdf").string()));
    EXPECT_EQ(job.print(printer, PrintJob::Range::Pages, 2, 1000), 2);
    EXPECT_EQ(pdfPages(dir / "range.pdf"), 2);
    EXPECT_TRUE(ui.boxes.empty());
}

// Printing into a folder that cannot be written said only that the printer did not start.
TEST_F(PrintJobTest, APrintFileThatCannotBeWrittenIsNamedWithTheReason) {
    addNote(0, 80);
    ScratchDir dir;
    ScratchDir::write(dir / "notes", "a file, not a folder");
    const std::string target = (dir / "notes" / "song.pdf").string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(target));
    PrintJob job(song, view, ui, symbols, 1);
    EXPECT_EQ(job.print(printer, PrintJob::Range::All, 0, 0), 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The printer could not be started: " + target +
                                                   " cannot be written (Not a directory)."});
}

TEST_F(PrintJobTest, WithoutTheMusicalFontPrintingStopsAfterTheMessage) {
    addNote(0, 80);
    addNote(11 * 16 * 120, 80);
    const MusicalSymbols plain(QStringLiteral("DejaVu Serif"));
    ASSERT_FALSE(plain.available());
    ScratchDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "song.pdf").string()));
    PrintJob job(song, view, ui, plain, 1);
    EXPECT_EQ(job.print(printer, PrintJob::Range::All, 0, 0), 0);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The musical font is not available. Install "
                                                   "the musical font shipped with Notewell."});
}

}  // namespace
