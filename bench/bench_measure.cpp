// Length and area in user units of outlines of 10 to 100,000 points: a circle (every scan line
// crosses two edges) and a saw-tooth (every scan line crosses all the teeth).
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "geoxform/coordsystem.h"

namespace {

std::vector<double> Circle(int n) {
    std::vector<double> points;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.141592653589793 * i / n;
        points.push_back(100 * std::cos(a));
        points.push_back(100 * std::sin(a));
    }
    return points;
}

// Teeth between heights 1 and 2 over a base at 0: n points in all.
std::vector<double> SawTooth(int n) {
    std::vector<double> points;
    for (int i = 0; i < n - 2; ++i) {
        points.push_back(i);
        points.push_back(i % 2 ? 2 : 1);
    }
    points.insert(points.end(), {static_cast<double>(n - 3), 0, 0, 0});
    return points;
}

template <typename Measure>
void Run(benchmark::State& state, const std::vector<double>& points, Measure measure) {
    CCoordSystem* pSystem = CreateCoordSystem(3, 25000.0);
    std::vector<double> copy = points;
    const int n = static_cast<int>(copy.size() / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(measure(*pSystem, n, copy.data()));
    state.SetItemsProcessed(state.iterations() * n);
    DeleteCoordSystem(pSystem);
}

void DistanceCircle(benchmark::State& state) {
    Run(state, Circle(static_cast<int>(state.range(0))),
        [](CCoordSystem& s, int n, double* p) { return s.Distance(n, p, -1); });
}
BENCHMARK(DistanceCircle)->Arg(10)->Arg(1000)->Arg(100000);

void AreaCircle(benchmark::State& state) {
    Run(state, Circle(static_cast<int>(state.range(0))),
        [](CCoordSystem& s, int n, double* p) { return s.Area(n, p, -1); });
}
BENCHMARK(AreaCircle)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void AreaSawTooth(benchmark::State& state) {
    Run(state, SawTooth(static_cast<int>(state.range(0))),
        [](CCoordSystem& s, int n, double* p) { return s.Area(n, p, -1); });
}
BENCHMARK(AreaSawTooth)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
