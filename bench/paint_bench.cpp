// How long a staff window takes to paint a page: a dense page of all sixteen tracks, and
// turning pages deep inside a song of a million notes (the walk must start at the page, not
// at the start of each track).
#include <benchmark/benchmark.h>

#include <QPainter>

#include "large_song.h"
#include "model/omb_data.h"
#include "notation/glyph_set.h"
#include "notation/staff_painter.h"
#include "platform/console_ui.h"
#include "smf/midi_file.h"
#include "staff/staff_geometry.h"
#include "staff/staff_page.h"
#include "staff/staff_view_state.h"

#include <iostream>

namespace {

// About 2,000 notes on one page: sixteen tracks of sixteenth notes in four-note chords.
void fillDensePage(OMBData& song) {
    for (int track = 0; track < OMBData::kTrackCount; ++track) {
        for (int tick = 0; tick < 1920; tick += 60) {
            for (int voice = 0; voice < 4; ++voice) {
                song.track(track).add(std::make_unique<Note>(
                    tick, 80, 30, 20 + 10 * voice + track % 4 * 5 + (track >= 8 ? 100 : 0), 0, 0));
            }
        }
    }
}

void BM_PaintDenseStaffPage(benchmark::State& state) {
    SongTiming timing;
    OMBData song(timing);
    fillDensePage(song);
    StaffPage page(song, 4);
    StaffViewState view;
    view.pianoRoll = state.range(0) == 1;
    QImage image(800, 600, QImage::Format_RGB32);
    page.fitVisibleBars(staff_geometry::barLinesEnd(image.width(), view.pianoRoll));
    const GlyphSet glyphs;
    QPainter painter(&image);
    StaffPainter staff(painter, image.size(), glyphs, song, page, view);
    for (auto _ : state) {
        if (view.pianoRoll) {
            staff.paintPianoRoll(false);
        } else {
            staff.paintStaff(false);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["notes"] = 2048;
}
BENCHMARK(BM_PaintDenseStaffPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TurnPageInAMillionNotes(benchmark::State& state) {
    SongTiming timing;
    OMBData song(timing);
    ConsoleUi ui(std::cerr);
    MidiFile(song, ui).load(largeSongFile());
    StaffPage page(song, 4);
    page.setFirstBar(2000);
    StaffViewState view;
    QImage image(800, 600, QImage::Format_RGB32);
    page.fitVisibleBars(staff_geometry::barLinesEnd(image.width(), view.pianoRoll));
    const GlyphSet glyphs;
    QPainter painter(&image);
    StaffPainter staff(painter, image.size(), glyphs, song, page, view);
    for (auto _ : state) {
        page.nextPage();
        staff.paintStaff(false);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TurnPageInAMillionNotes)->Unit(benchmark::kMillisecond);

}  // namespace
