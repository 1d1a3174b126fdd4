// Folding one huge header line into continuation lines: the time must grow with the line's length,
// not with its square (no copy of the rest of the line per piece).
#include "http/TIdHeaderList.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_FoldHugeLine(benchmark::State& state) {
    std::string line = "X: ";
    while (line.size() < static_cast<std::size_t>(state.range(0)))
        line += "word ";
    for (auto _ : state) {
        auto pieces = TIdHeaderList::FoldLine(line, 78);
        benchmark::DoNotOptimize(pieces.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_FoldHugeLine)->RangeMultiplier(4)->Range(1 << 14, 1 << 22)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
