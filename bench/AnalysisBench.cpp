// One full pick (write the pick, restyle the entries, restyle the trees and redraw the lines) on a
// board that already holds eight picks, against buttons that store what they are given, with the
// heap allocations one pick makes once warm.
#include <benchmark/benchmark.h>

#include "tests/ReplacedNew.h"
#include "tests/native/AnalysisFakes.h"

namespace vellicot {
namespace {

void BM_FullPick(benchmark::State& state) {
    testing::AnalysisRig rig;
    const int picks[][2] = {{1, 1}, {2, 9}, {3, 2}, {4, 10}, {5, 3}, {6, 3}, {7, 12}, {8, 4}};
    for (const auto& [tree, entry] : picks)
        rig.Pick(tree, entry);
    int entry = 5;
    rig.Pick(9, 13);  // warm the reused buffers
    const long before = replaced_new::gAllocations.load();
    for (auto _ : state) {
        // Alternate between two entries so every iteration really changes the board.
        entry = entry == 5 ? 13 : 5;
        rig.Pick(9, entry);
        benchmark::DoNotOptimize(rig.trees[9].caption.data());
        benchmark::DoNotOptimize(rig.overlay.segments.data());
    }
    state.counters["allocs/pick"] = benchmark::Counter(
        static_cast<double>(replaced_new::gAllocations.load() - before) / state.iterations());
}
BENCHMARK(BM_FullPick);

}  // namespace
}  // namespace vellicot

BENCHMARK_MAIN();
