// Per-point cost of Project and UnProject beside PROJ's raw projection on the same points:
// radians in, metres out, no other steps. Each case names a predefined system of the shipped
// data and the PROJ definitions of the same projection.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <proj.h>

#include "geoxform.h"
#include "projection_cases.h"
#include "service/crsystem_init.h"

namespace {

using bench::Points;
const int kPoints = 1000000;

void GeoxformForward(benchmark::State& state, std::shared_ptr<CProjection> projection,
                     std::shared_ptr<Points> points) {
    double sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i) {
            double x, y;
            projection->Project(points->lon[i], points->lat[i], x, y);
            sum += x + y;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void GeoxformInverse(benchmark::State& state, std::shared_ptr<CProjection> projection,
                     std::shared_ptr<Points> points) {
    double sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i) {
            double lon, lat;
            projection->UnProject(points->x[i], points->y[i], lon, lat);
            sum += lon + lat;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void ProjTransform(benchmark::State& state, PJ* pj, PJ_DIRECTION direction,
                   std::shared_ptr<Points> points) {
    const bool bForward = direction == PJ_FWD;
    std::vector<double> u(bForward ? points->lon : points->x);
    std::vector<double> v(bForward ? points->lat : points->y);
    for (auto _ : state) {
        state.PauseTiming();
        u = bForward ? points->lon : points->x;
        v = bForward ? points->lat : points->y;
        state.ResumeTiming();
        proj_trans_generic(pj, direction, u.data(), sizeof(double), kPoints, v.data(),
                           sizeof(double), kPoints, nullptr, 0, 0, nullptr, 0, 0);
        benchmark::DoNotOptimize(u.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_SetParametersFromCode(benchmark::State& state) {
    CCoordSystem* pSystem = CreateCoordSystem(3, 25000);
    for (auto _ : state) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 25000);
        r.iSystemCode = static_cast<int>(state.range(0));
        benchmark::DoNotOptimize(pSystem->SetParameters(&r));
    }
    DeleteCoordSystem(pSystem);
}

} // namespace

int main(int argc, char** argv) {
    InitEPSGDataBase(nullptr);
    PJ_CONTEXT* ctx = proj_context_create();
    std::vector<PJ*> operations;
    for (const bench::Case& c : bench::Cases()) {
        std::shared_ptr<CProjection> projection = bench::BuildProjection(c);
        if (!projection) {
            std::fprintf(stderr, "%s: EPSG:%d did not build\n", c.name, c.code);
            return 1;
        }
        auto points = std::make_shared<Points>(bench::MakePoints(c, *projection, kPoints));
        const std::string name = c.name;
        benchmark::RegisterBenchmark(("geoxform/Project/" + name).c_str(), GeoxformForward,
                                     projection, points);
        benchmark::RegisterBenchmark(("geoxform/UnProject/" + name).c_str(), GeoxformInverse,
                                     projection, points);
        for (const std::string& definition : c.proj) {
            PJ* pj = proj_create(ctx, definition.c_str());
            if (pj == nullptr) continue;
            operations.push_back(pj);
            const std::string label = name + "[" + definition + "]";
            benchmark::RegisterBenchmark(("PROJ/Project/" + label).c_str(), ProjTransform, pj,
                                         PJ_FWD, points);
            benchmark::RegisterBenchmark(("PROJ/UnProject/" + label).c_str(), ProjTransform, pj,
                                         PJ_INV, points);
        }
    }
    benchmark::RegisterBenchmark("geoxform/SetParameters/EPSG", BM_SetParametersFromCode)
        ->Arg(27700)
        ->Arg(32632)
        ->Arg(2154)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (PJ* pj : operations)
        proj_destroy(pj);
    proj_context_destroy(ctx);
    FreeEPSGDataBase();
    return 0;
}
