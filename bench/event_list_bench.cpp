// The event list and the track detail on the generated song of about 1,000,000 notes.
//
// EntireSongList: the event list's Entire Song view made anew; the walk stops at the
// 10,000th line (the warning box answers at once). TrackDetailOneTrack: the track detail
// opened on one track, notes and events listed, again up to 10,000 lines.
// EntireSongDialog / TrackDetailDialog: the same through the dialog, its list widget filled
// with the lines. TimerFloor: an empty iteration, the floor under the numbers above.
#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QRadioButton>

#include "app/event_list_editor.h"
#include "large_song.h"
#include "model/omb_data.h"
#include "notation/event_list_dialog.h"
#include "platform/null_ui.h"
#include "smf/midi_file.h"

namespace {

struct LoadedSong {
    LoadedSong() { MidiFile(song, ui).load(largeSongFile()); }

    NullUi ui;
    SongTiming timing;
    OMBData song{timing};
    int entryChannel = 0;
    // The page of the first bars, track 5 current.
    EventListEditor::Page page{1, 4, 4 * 120, 5};
};

LoadedSong& loaded() {
    static LoadedSong song;
    return song;
}

void BM_EntireSongList(benchmark::State& state) {
    LoadedSong& song = loaded();
    EventListEditor editor(song.song, song.ui, false, song.page);
    for (auto _ : state) {
        editor.setShow(EventListShow::EntireSong);
        benchmark::DoNotOptimize(editor.lines().data());
    }
    state.counters["lines"] = static_cast<double>(editor.lines().size());
}

void BM_TrackDetailOneTrack(benchmark::State& state) {
    LoadedSong& song = loaded();
    for (auto _ : state) {
        EventListEditor editor(song.song, song.ui, true, song.page);
        benchmark::DoNotOptimize(editor.lines().data());
        state.counters["lines"] = static_cast<double>(editor.lines().size());
    }
}

void BM_EntireSongDialog(benchmark::State& state) {
    LoadedSong& song = loaded();
    EventListDialog dialog(nullptr, song.song, song.ui, false, song.page, song.entryChannel,
                           [](QDialog&) { return 0; });
    for (auto _ : state) {
        dialog.showOption(EventListShow::EntireSong).click();
        state.PauseTiming();
        dialog.showOption(EventListShow::CurrentPage).click();
        state.ResumeTiming();
    }
}

void BM_TrackDetailDialog(benchmark::State& state) {
    LoadedSong& song = loaded();
    for (auto _ : state) {
        EventListDialog dialog(nullptr, song.song, song.ui, true, song.page, song.entryChannel,
                               [](QDialog&) { return 0; });
        benchmark::DoNotOptimize(dialog.list().count());
    }
}

void BM_TimerFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_EntireSongList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrackDetailOneTrack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntireSongDialog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrackDetailDialog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimerFloor);

}  // namespace
