// How long printing takes: one page laid out and drawn as the preview shows it, and fifty pages
// of a song of a million notes written to a PDF. Pages deep in the song must start their walk
// at their own lines, not at the start of each track.
// TimerFloor: an empty iteration, the floor under the numbers above.
#include <benchmark/benchmark.h>

#include <QPainter>
#include <QPrinter>
#include <filesystem>
#include <iostream>

#include "large_song.h"
#include "model/omb_data.h"
#include "notation/print_job.h"
#include "platform/console_ui.h"
#include "smf/midi_file.h"
#include "staff/staff_view_state.h"

namespace {

struct MillionNotes {
    MillionNotes() { MidiFile(song, ui).load(largeSongFile()); }

    ConsoleUi ui{std::cerr};
    SongTiming timing;
    OMBData song{timing};
    StaffViewState view;
    MusicalSymbols symbols;
};

MillionNotes& millionNotes() {
    static MillionNotes notes;
    return notes;
}

// The preview's page on a 96 dpi screen, about 2,700 notes.
void BM_PrintPage(benchmark::State& state) {
    MillionNotes& notes = millionNotes();
    PrintJob job(notes.song, notes.view, notes.ui, notes.symbols, 1);
    QImage image(436, 485, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    QPainter painter(&image);
    int page = 0;
    for (auto _ : state) {
        image.fill(Qt::white);
        // Pages 200-299, all well inside the song.
        job.setLine(print_pages::firstLineOfPage(200 + page++ % 100));
        job.PrintPage(painter, true);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PrintPage)->Unit(benchmark::kMillisecond);

void BM_FiftyPagesToPdf(benchmark::State& state) {
    MillionNotes& notes = millionNotes();
    const std::filesystem::path pdf = std::filesystem::temp_directory_path() / "print_bench.pdf";
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        PrintJob job(notes.song, notes.view, notes.ui, notes.symbols, 1);
        benchmark::DoNotOptimize(job.print(printer, PrintJob::Range::Pages, 100, 149));
    }
    state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
    std::filesystem::remove(pdf);
}
BENCHMARK(BM_FiftyPagesToPdf)->Unit(benchmark::kMillisecond);

void BM_TimerFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TimerFloor);

}  // namespace
