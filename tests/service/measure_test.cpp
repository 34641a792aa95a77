#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"

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

const double kDegree = 0.017453292519943295;

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, SystemDeleter>;

using Points = std::vector<double>;

double Distance(CCoordSystem& system, Points p, int mode = -1) {
    return system.Distance(static_cast<int>(p.size() / 2), p.data(), mode);
}
double Area(CCoordSystem& system, Points p, int mode = -1) {
    return system.Area(static_cast<int>(p.size() / 2), p.data(), mode);
}

const Points kRightAngle = {0, 0, 3, 0, 3, 4};                       // 3 mm then 4 mm
const Points kSquare = {0, 0, 10, 0, 10, 10, 0, 10};                 // 10 mm square
const Points kSquareClockwise = {0, 0, 0, 10, 10, 10, 10, 0};        // the same, other way round
const Points kLShape = {0, 0, 20, 0, 20, 10, 10, 10, 10, 30, 0, 30}; // 400 mm^2
const Points kFigureEight = {0, 0, 3, 3, 3, 0, 0, 2};                // loops of 1.2 and 2.7 mm^2

struct Scaling {
    int units;
    double scale;
    double distance; // of kRightAngle, user units
    double area;     // of kSquare, square user units
};

// Lengths on the sheet times the scale, in the user unit: 3 + 4 mm at 1:1000 are 7 m.
TEST(Measure, DistanceAndAreaInUserUnits) {
    const Scaling cases[] = {
        {1, 1, 7, 100},         // millimetres
        {2, 1, 0.7, 1},         // centimetres
        {2, 10, 7, 100},        // centimetres at 1:10
        {3, 1000, 7, 100},      // metres at 1:1000
        {3, 25000, 175, 62500}, // metres at 1:25000
        {4, 1e6, 7, 100},       // kilometres at 1:1000000
        {6, 304.8, 7, 100},     // feet at 1:304.8
    };
    for (const Scaling& c : cases) {
        SystemPtr system(CreateCoordSystem(c.units, c.scale));
        const double tolerance = 1e-14 * c.area;
        EXPECT_NEAR(Distance(*system, kRightAngle), c.distance, 1e-14 * c.distance) << c.units;
        EXPECT_NEAR(Area(*system, kSquare), c.area, tolerance) << c.units;
        EXPECT_NEAR(Area(*system, kSquareClockwise), c.area, tolerance) << c.units;
        EXPECT_NEAR(Area(*system, kLShape), 4 * c.area, 4 * tolerance) << c.units;
        EXPECT_NEAR(Area(*system, kFigureEight), 0.039 * c.area, tolerance) << c.units;
    }
}

TEST(Measure, TooFewPointsOrNoneMeasureNothing) {
    SystemPtr system(CreateCoordSystem(1, 1));
    EXPECT_EQ(Distance(*system, {}), 0);
    EXPECT_EQ(Distance(*system, {3, 4}), 0);
    EXPECT_EQ(Distance(*system, {3, 4, 3, 4}), 0);
    EXPECT_EQ(Area(*system, {}), 0);
    EXPECT_EQ(Area(*system, {0, 0, 5, 5}), 0);
    EXPECT_EQ(system->Distance(-1, nullptr, -1), 0);
    EXPECT_EQ(system->Area(-1, nullptr, -1), 0);
    // A null point array with points announced: nothing to measure.
    EXPECT_EQ(system->Distance(5, nullptr, -1), 0);
    EXPECT_EQ(system->Area(5, nullptr, -1), 0);
}

// Degenerate outlines and coordinates that are not numbers.
TEST(Measure, DegenerateInput) {
    SystemPtr system(CreateCoordSystem(3, 1000));
    EXPECT_EQ(Area(*system, {2, 2, 2, 2, 2, 2, 2, 2}), 0);
    EXPECT_EQ(Area(*system, {0, 0, 1, 2, 2, 4, 3, 6}), 0); // collinear
    EXPECT_EQ(Distance(*system, {0, 0, 1, 2, 0, 0}), 2 * std::sqrt(5.0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(Distance(*system, {0, 0, nan, 1})));
    EXPECT_EQ(Distance(*system, {0, 0, inf, 1}), inf);
    EXPECT_TRUE(std::isnan(Area(*system, {0, 0, 1, 0, nan, 1})));
    EXPECT_TRUE(std::isnan(Area(*system, {0, 0, 1, 0, 1, inf})));
    // Large coordinates do not overflow the length.
    EXPECT_DOUBLE_EQ(Distance(*system, {0, 0, 3e303, 4e303}), 5e303 * 1000 / 1000);
}

// Without a projection, geographic mode takes the user unit for degrees. Distance converts
// with the mode it is given; Area always converts with the object's own flag.
TEST(Measure, GeographicModeWithoutProjection) {
    SystemPtr system(CreateCoordSystem(1, 1));
    EXPECT_NEAR(Distance(*system, kRightAngle, 1), 7 * kDegree, 1e-16);
    EXPECT_EQ(Distance(*system, kRightAngle, 0), 7);
    EXPECT_EQ(Area(*system, kSquare, 1), 100); // the flag is 0: plane vertices
    system->SetUnProjectFlag(1);
    EXPECT_NEAR(Distance(*system, kRightAngle, -1), 7 * kDegree, 1e-16);
    EXPECT_EQ(Distance(*system, kRightAngle, 0), 7);
    const double squareRadians = (10 * kDegree) * (10 * kDegree);
    EXPECT_NEAR(Area(*system, kSquare, -1), squareRadians, 1e-17);
    EXPECT_NEAR(Area(*system, kSquare, 0), squareRadians, 1e-17);
    EXPECT_NEAR(Area(*system, kSquare, 1), squareRadians, 1e-17);
    system->SetUnProjectFlag(2); // only 1 is geographic
    EXPECT_EQ(Area(*system, kSquare, -1), 100);
}

TEST(Measure, NoMemoryForTheVerticesMeasuresNothing) {
    SystemPtr system(CreateCoordSystem(1, 1));
    Points square = kSquare;
    t_refuseNothrowArrays = true;
    const double refused = system->Area(4, square.data(), -1);
    t_refuseNothrowArrays = false;
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(system->Area(4, square.data(), -1), 100);
}

// Objects with a projection, configured from a predefined system of the reference fixture.
class MeasureProjected : public fixture::ReferenceData {
protected:
    static SystemPtr BritishNationalGrid() {
        SystemPtr system(CreateCoordSystem(3, 25000));
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 25000);
        r.iSystemCode = 27700;
        EXPECT_EQ(system->SetParameters(&r), 1);
        EXPECT_EQ(system->HasProjection(), 1);
        return system;
    }
};

// No area of longitudes and latitudes: mode 1, or -1 with the flag on, gives 0.
TEST_F(MeasureProjected, NoAreaInGeographicMode) {
    SystemPtr system = BritishNationalGrid();
    const Points square = {0, 0, 4, 0, 4, 4, 0, 4}; // 100 m on the ground
    EXPECT_EQ(Area(*system, square, 1), 0);
    EXPECT_NEAR(Area(*system, square, 0), 10000, 1e-9);
    EXPECT_NEAR(Area(*system, square, -1), 10000, 1e-9);
    system->SetUnProjectFlag(1);
    EXPECT_EQ(Area(*system, square, -1), 0);
    EXPECT_EQ(Area(*system, square, 1), 0);
    // Mode 0 with the flag on still converts the vertices to longitude and latitude: the area
    // of the converted (convex) quadrilateral, from its diagonals to avoid cancellation.
    double lon[4], lat[4];
    for (int i = 0; i < 4; ++i)
        system->World2User(square[2 * i], square[2 * i + 1], lon[i], lat[i], 1);
    const double shoelace =
        ((lon[2] - lon[0]) * (lat[3] - lat[1]) - (lon[3] - lon[1]) * (lat[2] - lat[0])) / 2;
    const double radians = Area(*system, square, 0);
    EXPECT_GT(radians, 1e-10);
    EXPECT_NEAR(radians, shoelace, 1e-9 * radians);
}

// Distance in geographic mode is the plane formula applied to longitude and latitude.
TEST_F(MeasureProjected, DistanceInGeographicMode) {
    SystemPtr system = BritishNationalGrid();
    const Points line = {-80, 1200, 0, 0, 16, 12};
    double expected = 0, px = 0, py = 0;
    for (size_t i = 0; i < line.size(); i += 2) {
        double lon, lat;
        system->World2User(line[i], line[i + 1], lon, lat, 1);
        if (i > 0) expected += std::sqrt((lon - px) * (lon - px) + (lat - py) * (lat - py));
        px = lon;
        py = lat;
    }
    EXPECT_NEAR(Distance(*system, line, 1), expected, 1e-15);
    EXPECT_NEAR(Distance(*system, {0, 0, 16, 12}, 0), 500, 1e-9); // 20 mm at 1:25000
}

} // namespace
