// Loading the shipped reference data file: creating the arrays, reading, inflating and parsing
// the file from Support beside the program, and releasing everything again.
#include <benchmark/benchmark.h>

#include "geoxform/refdata.h"

namespace {

void LoadShippedData(benchmark::State& state) {
    int nSystems = 0;
    for (auto _ : state) {
        InitEPSGDataBase(nullptr);
        nSystems = pdaEPSGSystem != nullptr ? pdaEPSGSystem->GetCount() : 0;
        FreeEPSGDataBase();
        if (nSystems == 0) {
            state.SkipWithError("no reference data file in Support beside the program");
            break;
        }
    }
    state.counters["systems"] = nSystems;
}
BENCHMARK(LoadShippedData)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
