// One table of the library's speed beside PROJ: per projection method, forward and inverse
// CPU time per point for both on the same points and their ratio (PROJ's time over ours), then
// the data load, SetParameters from a code, value text and measurement. Each figure is the
// least CPU time of several runs, which keeps it steady on a busy machine.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <proj.h>

#include "geoxform.h"
#include "geoxform_c.h"
#include "projection_cases.h"

namespace {

const int kPoints = 200000;
const int kRuns = 5;

// Least CPU seconds of kRuns runs of the task.
double LeastCpuSeconds(const std::function<void()>& task, int runs = kRuns) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t start = std::clock();
        task();
        const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        if (seconds < best) best = seconds;
    }
    return best;
}

double Nanoseconds(double seconds, long long count) {
    return seconds * 1e9 / count;
}

volatile double g_sink; // keeps the measured work from being optimised away

double OursForward(const CProjection& p, const bench::Points& pts) {
    return LeastCpuSeconds([&] {
        double sum = 0;
        for (int i = 0; i < kPoints; ++i) {
            double x, y;
            p.Project(pts.lon[i], pts.lat[i], x, y);
            sum += x + y;
        }
        g_sink = sum;
    });
}

double OursInverse(const CProjection& p, const bench::Points& pts) {
    return LeastCpuSeconds([&] {
        double sum = 0;
        for (int i = 0; i < kPoints; ++i) {
            double lon, lat;
            p.UnProject(pts.x[i], pts.y[i], lon, lat);
            sum += lon + lat;
        }
        g_sink = sum;
    });
}

double ProjTransform(PJ* pj, PJ_DIRECTION direction, const bench::Points& pts,
                     int nPoints = kPoints) {
    const bool bForward = direction == PJ_FWD;
    std::vector<double> u, v;
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        u = bForward ? pts.lon : pts.x;
        v = bForward ? pts.lat : pts.y;
        const double seconds = LeastCpuSeconds(
            [&] {
                proj_trans_generic(pj, direction, u.data(), sizeof(double), nPoints, v.data(),
                                   sizeof(double), nPoints, nullptr, 0, 0, nullptr, 0, 0);
            },
            1);
        if (seconds < best) best = seconds;
    }
    return best;
}

std::string Processor() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown processor";
}

void ProjectionTable(PJ_CONTEXT* ctx) {
    std::printf("| method (system) | PROJ definition | forward ns | PROJ ns | ratio | inverse ns "
                "| PROJ ns | ratio |\n|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const bench::Case& c : bench::Cases()) {
        std::shared_ptr<CProjection> projection = bench::BuildProjection(c);
        if (!projection) {
            std::printf("| %s | (did not build) |||||||\n", c.name);
            continue;
        }
        const bench::Points points = bench::MakePoints(c, *projection, kPoints);
        const double forward = Nanoseconds(OursForward(*projection, points), kPoints);
        const double inverse = Nanoseconds(OursInverse(*projection, points), kPoints);
        for (const std::string& definition : c.proj) {
            PJ* pj = proj_create(ctx, definition.c_str());
            if (pj == nullptr) continue;
            const double projForward = Nanoseconds(ProjTransform(pj, PJ_FWD, points), kPoints);
            const double projInverse = Nanoseconds(ProjTransform(pj, PJ_INV, points), kPoints);
            proj_destroy(pj);
            const std::string system =
                bench::IsHandMade(c) ? "hand-made record" : "EPSG:" + std::to_string(c.code);
            std::printf("| %s (%s) | `%s` | %.1f | %.1f | %.2f | %.1f | %.1f | %.2f |\n", c.name,
                        system.c_str(), definition.c_str(), forward, projForward,
                        projForward / forward, inverse, projInverse, projInverse / inverse);
        }
    }
}

const int kArrayPoints = 1000000;

// The same million points through the C interface's array calls (degrees in, the system's
// unit out, and back) and through PROJ's proj_trans_generic doing the same work: degrees
// converted by a unitconvert step, then the projection.
void ArrayTable(PJ_CONTEXT* ctx) {
    std::printf("\n| method (system) | array forward ns | PROJ ns | ratio | array inverse ns "
                "| PROJ ns | ratio |\n|---|---:|---:|---:|---:|---:|---:|\n");
    for (const bench::Case& c : bench::Cases()) {
        KQCRSystem record;
        std::shared_ptr<CProjection> projection = bench::BuildProjection(c);
        geoxform_system* system = nullptr;
        if (!projection || !bench::BuildRecord(c, record) ||
            geoxform_system_from_record(&record, sizeof record, &system) != GEOXFORM_OK) {
            std::printf("| %s | (did not build) ||||||\n", c.name);
            continue;
        }
        bench::Points points = bench::MakePoints(c, *projection, kArrayPoints);
        for (int i = 0; i < kArrayPoints; ++i) {
            points.lon[i] /= 0.017453292519943295;
            points.lat[i] /= 0.017453292519943295;
        }
        std::vector<double> x(kArrayPoints), y(kArrayPoints), lon(kArrayPoints), lat(kArrayPoints);
        const auto run = [&](bool bForward) {
            const int64_t n = kArrayPoints, s = sizeof(double);
            return Nanoseconds(LeastCpuSeconds([&] {
                                   if (bForward)
                                       geoxform_forward(system, n, points.lon.data(), s,
                                                        points.lat.data(), s, x.data(), s, y.data(),
                                                        s, nullptr);
                                   else
                                       geoxform_inverse(system, n, x.data(), s, y.data(), s,
                                                        lon.data(), s, lat.data(), s, nullptr);
                               }),
                               kArrayPoints);
        };
        const double forward = run(true), inverse = run(false);
        const std::string definition =
            "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad +step " + c.proj[0];
        PJ* pj = proj_create(ctx, definition.c_str());
        double projForward = 0, projInverse = 0;
        if (pj != nullptr) {
            bench::Points degrees = points;
            degrees.x = x;
            degrees.y = y;
            projForward =
                Nanoseconds(ProjTransform(pj, PJ_FWD, degrees, kArrayPoints), kArrayPoints);
            projInverse =
                Nanoseconds(ProjTransform(pj, PJ_INV, degrees, kArrayPoints), kArrayPoints);
            proj_destroy(pj);
        }
        std::printf("| %s | %.1f | %.1f | %.2f | %.1f | %.1f | %.2f |\n", c.name, forward,
                    projForward, projForward / forward, inverse, projInverse,
                    projInverse / inverse);
        geoxform_system_free(system);
    }
}

void LibraryTable() {
    std::printf("\n| operation | time |\n|---|---:|\n");
    FreeEPSGDataBase();
    const double load = LeastCpuSeconds(
        [] {
            InitEPSGDataBase(nullptr);
            FreeEPSGDataBase();
        },
        10);
    std::printf("| load the data file (init, read, free) | %.2f ms |\n", load * 1e3);
    InitEPSGDataBase(nullptr);

    CCoordSystem* pSystem = CreateCoordSystem(3, 25000);
    const int nSets = 2000;
    const double set = LeastCpuSeconds([&] {
        for (int i = 0; i < nSets; ++i) {
            KQCRSystem r{};
            r.iVersion = 0x300;
            r.iSize = sizeof(KQCRSystem);
            r.iUnits = 3;
            r.dScale = 25000;
            r.iSystemCode = 27700;
            pSystem->SetParameters(&r);
        }
    });
    std::printf("| SetParameters from EPSG:27700 | %.2f us |\n", set * 1e6 / nSets);

    const int nTexts = 100000;
    KQWCHAR text[256];
    const double print = LeastCpuSeconds([&] {
        for (int i = 0; i < nTexts; ++i)
            pSystem->Value2String(0.5 + i * 1e-6, text, CS_DMS | CS_LONGITUDE, 2);
    });
    double value = 0;
    const double parse = LeastCpuSeconds([&] {
        for (int i = 0; i < nTexts; ++i)
            pSystem->String2Value(text, value, CS_DMS | CS_LONGITUDE);
    });
    std::printf("| Value2String, DMS with 2 decimals | %.0f ns |\n", Nanoseconds(print, nTexts));
    std::printf("| String2Value, DMS | %.0f ns |\n", Nanoseconds(parse, nTexts));

    for (int n : {1000, 100000}) {
        std::vector<double> ring(2 * n);
        for (int i = 0; i < n; ++i) { // a circle of radius 100 mm
            ring[2 * i] = 100 * std::cos(6.283185307179586 * i / n);
            ring[2 * i + 1] = 100 * std::sin(6.283185307179586 * i / n);
        }
        const double distance =
            LeastCpuSeconds([&] { g_sink = pSystem->Distance(n, ring.data(), 0); });
        const double area = LeastCpuSeconds([&] { g_sink = pSystem->Area(n, ring.data(), 0); });
        std::printf("| Distance, %d points | %.1f us |\n", n, distance * 1e6);
        std::printf("| Area, %d points | %.1f us |\n", n, area * 1e6);
    }
    DeleteCoordSystem(pSystem);
}

} // namespace

int main() {
    InitEPSGDataBase(nullptr);
    if (pdaEPSGSystem == nullptr || pdaEPSGSystem->GetCount() == 0) {
        std::fprintf(stderr, "bench_report: no reference data beside the program\n");
        return 1;
    }
    PJ_CONTEXT* ctx = proj_context_create();
    std::printf("geoxform beside PROJ %s, %d points per method, least CPU time of %d runs.\n"
                "Machine: %s; compiler: GCC %s.\n\n",
                proj_info().version, kPoints, kRuns, Processor().c_str(), __VERSION__);
    ProjectionTable(ctx);
    ArrayTable(ctx);
    LibraryTable();
    proj_context_destroy(ctx);
    FreeEPSGDataBase();
    return 0;
}
