// One full pick (write the pick, restyle the entries, restyle the trees and redraw the lines) on a
// board that already holds eight picks, against buttons that store what they are given.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/native/AnalysisFakes.h"

// Counts heap allocations, so the benchmark reports how many one pick makes once warm.
static std::atomic<long> gAllocations{0};
void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
// GCC cannot see that these replace the global pair whose new above uses malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace vellicot {
namespace {

void BM_FullPick(benchmark::State& state) {
    testing::AnalysisRig rig;
    const int picks[][2] = {{1, 1}, {2, 9}, {3, 2}, {4, 10}, {5, 3}, {6, 3}, {7, 12}, {8, 4}};
    for (const auto& [tree, entry] : picks)
        rig.Pick(tree, entry);
    int entry = 5;
    rig.Pick(9, 13);  // warm the reused buffers
    const long before = gAllocations.load();
    for (auto _ : state) {
        // Alternate between two entries so every iteration really changes the board.
        entry = entry == 5 ? 13 : 5;
        rig.Pick(9, entry);
        benchmark::DoNotOptimize(rig.trees[9].caption.data());
        benchmark::DoNotOptimize(rig.overlay.segments.data());
    }
    state.counters["allocs/pick"] =
        benchmark::Counter(static_cast<double>(gAllocations.load() - before) / state.iterations());
}
BENCHMARK(BM_FullPick);

}  // namespace
}  // namespace vellicot

BENCHMARK_MAIN();
