// Even-odd area of outlines, cut into slabs or not, and the object's measurements in user units.
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/polygon_area.h"

// Array allocations without exceptions can be refused on the calling thread, to see what the
// measurements do when memory runs out. Otherwise they go to the ordinary allocator.
namespace {
thread_local bool t_refuseNothrowArrays = false;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (t_refuseNothrowArrays) return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

using testconst::kDegree;
using Points = std::vector<double>; // x0, y0, x1, y1, ...
const double kNever = std::numeric_limits<double>::infinity();

double Area(const Points& p, double cutCost = -1) {
    const int n = static_cast<int>(p.size() / 2);
    return cutCost < 0 ? gx::EvenOddArea(p.data(), n) : gx::EvenOddArea(p.data(), n, cutCost);
}

// Independent even-odd area. Between two consecutive heights at which a vertex or a crossing
// of two edges lies, the covered length of a horizontal line is linear in the height, so the
// strip's area is its height times the covered length at its middle.
double ScanLineArea(const Points& p) {
    const size_t n = p.size() / 2;
    auto x = [&](size_t i) { return p[2 * (i % n)]; };
    auto y = [&](size_t i) { return p[2 * (i % n) + 1]; };
    std::vector<double> heights;
    for (size_t i = 0; i < n; ++i) {
        heights.push_back(y(i));
        for (size_t j = i + 1; j < n; ++j) {
            const double dx1 = x(i + 1) - x(i), dy1 = y(i + 1) - y(i);
            const double dx2 = x(j + 1) - x(j), dy2 = y(j + 1) - y(j);
            const double d = dx1 * dy2 - dy1 * dx2;
            if (d == 0) continue;
            const double t = ((x(j) - x(i)) * dy2 - (y(j) - y(i)) * dx2) / d;
            const double u = ((x(j) - x(i)) * dy1 - (y(j) - y(i)) * dx1) / d;
            if (t > 0 && t < 1 && u > 0 && u < 1) heights.push_back(y(i) + t * dy1);
        }
    }
    std::sort(heights.begin(), heights.end());
    double area = 0;
    for (size_t k = 0; k + 1 < heights.size(); ++k) {
        const double h = heights[k + 1] - heights[k], mid = heights[k] + h / 2;
        std::vector<double> crossings;
        for (size_t i = 0; h > 0 && i < n; ++i)
            if ((y(i) < mid) != (y(i + 1) < mid))
                crossings.push_back(x(i) + (mid - y(i)) * (x(i + 1) - x(i)) / (y(i + 1) - y(i)));
        std::sort(crossings.begin(), crossings.end());
        for (size_t c = 0; c + 1 < crossings.size(); c += 2)
            area += h * (crossings[c + 1] - crossings[c]);
    }
    return area;
}

TEST(EvenOddArea, Outlines) {
    for (const auto& row : Rows(
#include "data/refdata/outlines.txt"
             )) {
        std::istringstream numbers(row[1]);
        Points points;
        for (std::string v; numbers >> v;)
            points.push_back(std::stod(v));
        const double area = std::stod(row[2]), tolerance = row.size() > 3 ? 0 : 1e-13 * area;
        for (double cost : {-1.0, 0.0})
            for (const Points& p : {points, Points(points.rbegin(), points.rend())})
                EXPECT_LE(Area(p, cost) == area ? 0 : std::fabs(Area(p, cost) - area), tolerance)
                    << row[0] << " " << cost;
        if (area < 1e6 && points[0] < 1e6) {
            EXPECT_NEAR(ScanLineArea(points), area, 1e-9 * std::max(1.0, area)) << row[0];
        }
    }
    // Powers of two scale each axis's grid and nothing else.
    const Points shape = {0, 0, 3, 3, 3, 0, 0, 2, -1, 2.5};
    for (int kx : {-520, -60, 0, 60, 500})
        for (int ky : {-500, -1, 0, 7, 480}) {
            Points scaled = shape;
            for (size_t i = 0; i < scaled.size(); ++i)
                scaled[i] = std::ldexp(scaled[i], i % 2 ? ky : kx);
            EXPECT_EQ(Area(scaled), std::ldexp(Area(shape), kx + ky)) << kx << " " << ky;
        }
}

TEST(EvenOddArea, BadInput) {
    const double xy[] = {0, 0, 1, 0, 1, 1};
    for (int n : {2, 0, -5})
        EXPECT_EQ(gx::EvenOddArea(xy, n), 0);
    EXPECT_EQ(gx::EvenOddArea(nullptr, 3), 0);
    for (double bad : {double(NAN), kNever, -kNever})
        for (int slot = 0; slot < 6; ++slot) {
            double p[] = {0, 0, 1, 0, 1, 1};
            p[slot] = bad;
            EXPECT_TRUE(std::isnan(gx::EvenOddArea(p, 3))) << bad << " at " << slot;
        }
}

// Random outlines, most crossing themselves, against scan lines; saw-tooths keep their area
// whether cut into slabs (forced with a cost of 0) or never cut.
TEST(EvenOddArea, RandomOutlinesAndSlabs) {
    std::mt19937 random(20240531);
    std::uniform_real_distribution<double> coordinate(-50, 50), jitter(-3, 3);
    std::uniform_int_distribution<int> small(0, 3); // a grid whose edges share stretches
    for (int trial = 0; trial < 300; ++trial) {
        Points p;
        for (int i = 0; i < 2 * (3 + trial % 25); ++i)
            p.push_back(trial % 3 == 2 ? small(random)
                        : trial % 3    ? std::round(coordinate(random))
                                       : coordinate(random));
        const double expected = ScanLineArea(p), tolerance = 1e-9 * std::max(1.0, expected);
        EXPECT_NEAR(Area(p), expected, tolerance) << "trial " << trial;
        EXPECT_NEAR(Area(p, 0), expected, tolerance) << "trial " << trial;
    }
    // A saw-tooth of random heights between 1 and 2 above [0, teeth]: its area is the sum of
    // the trapezoids under the top, and every scan line crosses all the teeth.
    for (int teeth : {50, 5000}) {
        Points saw = {0, 1.5};
        double exact = 0;
        for (int i = 1; i <= teeth; ++i) {
            saw.insert(saw.end(), {double(i), 1 + jitter(random) / 6 + 0.5});
            exact += (saw[2 * i - 1] + saw[2 * i + 1]) / 2;
        }
        saw.insert(saw.end(), {double(teeth), 0, 0, 0});
        for (double cost : {-1.0, 0.0, kNever})
            EXPECT_NEAR(Area(saw, cost), exact, 1e-12 * exact) << teeth << " " << cost;
    }
}

// Under even-odd an edge traced twice covers nothing: the clipper, handed the triangle traced an
// even number of times, returned a hole of twice its area; traced hundreds of times it took
// seconds.
TEST(EvenOddArea, RetracedTriangleCancelsUnderEvenOdd) {
    for (int traces : {2, 3, 34, 35, 2000, 2001}) {
        Points p;
        for (int t = 0; t < traces; ++t)
            p.insert(p.end(), {0, 0, 1, 1000, 2, 0});
        for (double cost : {-1.0, 0.0})
            EXPECT_EQ(Area(p, cost), traces % 2 ? 1000 : 0) << traces << " " << cost;
    }
}

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, SystemDeleter>;

double Distance(CCoordSystem& system, Points p, int mode = -1) {
    return system.Distance(static_cast<int>(p.size() / 2), p.data(), mode);
}
double Area(CCoordSystem& system, Points p, int mode = -1) {
    return system.Area(static_cast<int>(p.size() / 2), p.data(), mode);
}

// Lengths on the sheet times the scale, in the user unit: 3 + 4 mm at 1:1000 are 7 m.
TEST(Measure, DistanceAndAreaInUserUnits) {
    const struct {
        int units;
        double scale, distance, area; // of 3 + 4 mm; of a 10 mm square
    } cases[] = {{1, 1, 7, 100},         {2, 1, 0.7, 1},   {2, 10, 7, 100},   {3, 1000, 7, 100},
                 {3, 25000, 175, 62500}, {4, 1e6, 7, 100}, {6, 304.8, 7, 100}};
    for (const auto& c : cases) {
        SystemPtr system(CreateCoordSystem(c.units, c.scale));
        EXPECT_NEAR(Distance(*system, {0, 0, 3, 0, 3, 4}), c.distance, 1e-14 * c.distance);
        EXPECT_NEAR(Area(*system, {0, 0, 10, 0, 10, 10, 0, 10}), c.area, 1e-14 * c.area);
    }
    SystemPtr system(CreateCoordSystem(1, 1));
    for (const Points& p : {Points{}, Points{3, 4}, Points{3, 4, 3, 4}})
        EXPECT_EQ(Distance(*system, p), 0);
    EXPECT_EQ(Area(*system, {0, 0, 5, 5}), 0);
    EXPECT_EQ(system->Distance(-1, nullptr, -1) + system->Area(-1, nullptr, -1), 0);
    EXPECT_EQ(system->Distance(5, nullptr, -1) + system->Area(5, nullptr, -1), 0);
    EXPECT_TRUE(std::isnan(Distance(*system, {0, 0, NAN, 1})));
    EXPECT_EQ(Distance(*system, {0, 0, kNever, 1}), kNever);
    EXPECT_TRUE(std::isnan(Area(*system, {0, 0, 1, 0, NAN, 1})));
    EXPECT_DOUBLE_EQ(Distance(*system, {0, 0, 3e303, 4e303}), 5e303); // no overflow
    // Without a projection geographic mode takes the user unit for degrees; Area converts the
    // vertices with the object's own flag, whatever the mode.
    EXPECT_NEAR(Distance(*system, {0, 0, 3, 0, 3, 4}, 1), 7 * kDegree, 1e-16);
    EXPECT_EQ(Area(*system, {0, 0, 10, 0, 10, 10, 0, 10}, 1), 100);
    system->SetUnProjectFlag(1);
    EXPECT_EQ(Distance(*system, {0, 0, 3, 0, 3, 4}, 0), 7);
    EXPECT_NEAR(Area(*system, {0, 0, 10, 0, 10, 10, 0, 10}, 0), 100 * kDegree * kDegree, 1e-17);
    t_refuseNothrowArrays = true; // no memory for the vertices: nothing measured
    EXPECT_EQ(Area(*system, {0, 0, 10, 0, 10, 10, 0, 10}), 0);
    t_refuseNothrowArrays = false;
}

class MeasureProjected : public fixture::ReferenceData {};

// With a projection: no area in mode 1 (or -1 with the flag on), but mode 0 with the flag on
// converts the vertices; geographic distance is the plane formula on longitude and latitude.
TEST_F(MeasureProjected, GeographicMode) {
    SystemPtr system(CreateCoordSystem(3, 25000));
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 25000);
    r.iSystemCode = 27700;
    ASSERT_EQ(system->SetParameters(&r), 1);
    const Points square = {0, 0, 4, 0, 4, 4, 0, 4}; // 100 m on the ground
    EXPECT_EQ(Area(*system, square, 1), 0);
    EXPECT_NEAR(Area(*system, square, 0), 10000, 1e-9);
    EXPECT_NEAR(Area(*system, square, -1), 10000, 1e-9);
    EXPECT_NEAR(Distance(*system, {0, 0, 16, 12}, 0), 500, 1e-9);
    system->SetUnProjectFlag(1);
    EXPECT_EQ(Area(*system, square, -1), 0);
    Points ll(8); // the square's corners in longitude and latitude
    double length = 0;
    for (int i = 0; i < 4; ++i) {
        system->World2User(square[2 * i], square[2 * i + 1], ll[2 * i], ll[2 * i + 1], 1);
        if (i > 0) length += std::hypot(ll[2 * i] - ll[2 * i - 2], ll[2 * i + 1] - ll[2 * i - 1]);
    }
    EXPECT_GT(Area(ll), 1e-10);
    EXPECT_NEAR(Area(*system, square, 0), Area(ll), 1e-9 * Area(ll));
    EXPECT_NEAR(Distance(*system, square, 1), length, 1e-15);
}

} // namespace
