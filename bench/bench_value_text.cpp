// Value text: printing and parsing plane values and angles, beside the C library's printf and
// strtod on the same values, and applying a language from the shipped language file.
#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "geoxform/coordsystem.h"
#include "geoxform/units.h"

namespace {

const double kAngle = 0.5; // 28°38'52.40"

void PrintAngle(benchmark::State& state) {
    CCoordSystem* pSystem = CreateCoordSystem(3, 1.0);
    const int decimals = static_cast<int>(state.range(0));
    KQWCHAR text[256];
    for (auto _ : state) {
        pSystem->Value2String(kAngle, text, CS_DMS | CS_LONGITUDE, decimals);
        benchmark::DoNotOptimize(text);
    }
    DeleteCoordSystem(pSystem);
}
BENCHMARK(PrintAngle)->Arg(0)->Arg(2)->Arg(8);

void ParseAngle(benchmark::State& state) {
    CCoordSystem* pSystem = CreateCoordSystem(3, 1.0);
    KQWCHAR text[256];
    pSystem->Value2String(kAngle, text, CS_DMS | CS_LONGITUDE, 2);
    double value = 0;
    for (auto _ : state) {
        pSystem->String2Value(text, value, CS_DMS | CS_LONGITUDE);
        benchmark::DoNotOptimize(value);
    }
    DeleteCoordSystem(pSystem);
}
BENCHMARK(ParseAngle);

void PrintPlain(benchmark::State& state) {
    CCoordSystem* pSystem = CreateCoordSystem(3, 1.0);
    KQWCHAR text[256];
    for (auto _ : state) {
        pSystem->Value2String(5432109.8765, text, 0, 2);
        benchmark::DoNotOptimize(text);
    }
    DeleteCoordSystem(pSystem);
}
BENCHMARK(PrintPlain);

// Baseline: the C library's 8-bit printf of the same value.
void PrintPlainSnprintf(benchmark::State& state) {
    char text[256];
    for (auto _ : state) {
        std::snprintf(text, sizeof(text), "%.*f", 2, 5432109.8765);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(PrintPlainSnprintf);

void ParsePlain(benchmark::State& state) {
    CCoordSystem* pSystem = CreateCoordSystem(3, 1.0);
    const KQWCHAR* text = KQ_T("5432109.88");
    double value = 0;
    for (auto _ : state) {
        pSystem->String2Value(text, value, 0);
        benchmark::DoNotOptimize(value);
    }
    DeleteCoordSystem(pSystem);
}
BENCHMARK(ParsePlain);

// Baseline: the C library's strtod of the same text.
void ParsePlainStrtod(benchmark::State& state) {
    const char* text = "5432109.88";
    for (auto _ : state)
        benchmark::DoNotOptimize(std::strtod(text, nullptr));
}
BENCHMARK(ParsePlainStrtod);

// Reading a language's 57 keys from Support/units.ini beside the program.
void ApplyLanguage(benchmark::State& state) {
    for (auto _ : state)
        InitCoordSystemLanguage(KQ_T("de"));
}
BENCHMARK(ApplyLanguage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
