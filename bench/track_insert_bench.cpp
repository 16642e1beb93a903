// How fast a track takes notes, at 10k, 100k and 1M elements.
//
// Fill*: builds a track of N notes from empty; the time per note is the whole fill divided by N.
// AtSize*: the cost of one more insertion into a track that already holds N notes, measured
// over batches of 1,000 insertions that are taken out again between batches.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "model/track.h"

namespace {

constexpr int kTicksApart = 10;
constexpr int kBatch = 1000;

std::unique_ptr<Note> noteAt(int start) {
    return std::make_unique<Note>(start, 80, 120, 85, 0, 0);
}

void fillInOrder(Track& track, int count) {
    int hint = 0;
    for (int i = 0; i < count; ++i) {
        track.addWithHint(noteAt(i * kTicksApart), hint);
    }
}

void BM_FillInOrderWithAdd(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Track track(0);
        for (int i = 0; i < n; ++i) {
            track.add(noteAt(i * kTicksApart));
        }
        benchmark::DoNotOptimize(track.count());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_FillInOrderWithHint(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Track track(0);
        fillInOrder(track, n);
        benchmark::DoNotOptimize(track.count());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Times batches of insertions into a track of n notes; insert(track, i) adds the i-th note of
// a batch. Each batch is taken out from the back again, untimed, so the track stays at n.
template <typename Insert>
void insertAtSize(benchmark::State& state, Insert insert) {
    const int n = static_cast<int>(state.range(0));
    Track track(0);
    fillInOrder(track, n);
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            insert(track, i);
        }
        state.PauseTiming();
        for (int i = 0; i < kBatch; ++i) {
            track.destroyAt(track.count() - 1);
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_AtSizeInOrderWithAdd(benchmark::State& state) {
    const int end = static_cast<int>(state.range(0)) * kTicksApart;
    insertAtSize(state, [end](Track& track, int i) { track.add(noteAt(end + i)); });
}

void BM_AtSizeInOrderWithHint(benchmark::State& state) {
    const int end = static_cast<int>(state.range(0)) * kTicksApart;
    int hint = 0;
    insertAtSize(state,
                 [end, &hint](Track& track, int i) { track.addWithHint(noteAt(end + i), hint); });
}

void BM_AtSizeRandomWithAdd(benchmark::State& state) {
    const int end = static_cast<int>(state.range(0)) * kTicksApart;
    std::mt19937 random(1);
    std::uniform_int_distribution<int> start(0, end);
    insertAtSize(state, [&](Track& track, int) { track.add(noteAt(start(random))); });
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_FillInOrderWithAdd)->Apply(sizes);
BENCHMARK(BM_FillInOrderWithHint)->Apply(sizes);
BENCHMARK(BM_AtSizeInOrderWithAdd)->Apply(sizes);
BENCHMARK(BM_AtSizeInOrderWithHint)->Apply(sizes);
BENCHMARK(BM_AtSizeRandomWithAdd)->Apply(sizes);

}  // namespace
