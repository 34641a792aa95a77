// Every projection method on one table of reference points, tests/data/projection_points.csv
// (its header tells the fields): published examples forward and back, edge cases, round trips
// over a window around each row, longitudes a turn apart and input no projection can take.
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "projections/array_kernels.h"
#include "reference_fixture.h"
#include "service/projection_methods.h"

namespace {

using testconst::kDegree;
using testconst::kPi;

struct Row {
    int line, number;
    std::string source;
    double a, invf;
    std::vector<fixture::Parameter> parameters;
    double lon, lat;         // radians
    std::string east, north; // as written
    std::string tolerance, inverseTolerance;
    double unit = 1;            // metres per unit of the row
    double wlon = -1, wlat = 0; // round trip window in degrees; none when wlon < 0
    double rmax = 0, rmin = 0;  // round trip error bounds, radians
    std::string wrap;
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << "projection_points.csv:" << r.line << " (" << r.source << ") ";
}

std::vector<Row> ReadRows() {
    std::vector<Row> rows;
    for (const auto& f : fixture::DataLines("projection_points.csv")) {
        EXPECT_EQ(f.size(), 10u) << "fields on line " << f[0];
        if (f.size() != 10) continue;
        Row r;
        std::istringstream(f[0] + " " + f[2] + " " + f[3]) >> r.line >> r.number >> r.a >> r.invf;
        r.source = f[1];
        r.parameters = fixture::Parameters(f[4]);
        std::string lon, lat;
        std::istringstream(f[5]) >> lon >> lat;
        r.lon = fixture::Angle(lon), r.lat = fixture::Angle(lat);
        std::istringstream(f[6]) >> r.east >> r.north;
        std::istringstream(f[7]) >> r.tolerance >> r.inverseTolerance >> r.unit;
        if (f[8] != "-") std::istringstream(f[8]) >> r.wlon >> r.wlat >> r.rmax >> r.rmin;
        r.wrap = f[9];
        rows.push_back(r);
    }
    return rows;
}

// The fixture's rows keep the data file from loading; each table row adds its own ellipsoid.
using ProjectionPoints = fixture::ReferenceData;

std::unique_ptr<CProjection> Build(const Row& r) {
    const double b = r.invf > 0 ? r.a * (1 - 1 / r.invf) : r.a;
    const int e = r.a > 0 ? fixture::AddEllipsoid(9000, "row", r.a, r.invf, b) : -1;
    return fixture::Built(r.number, e, r.parameters);
}

// A coordinate against its expected text: * anything, nan any non-finite value, +-inf exactly.
void ExpectCoordinate(double value, const std::string& expected, double tolerance, const Row& r) {
    if (expected == "*") return;
    const double e = std::stod(expected);
    if (std::isnan(e))
        EXPECT_FALSE(std::isfinite(value)) << r << value;
    else // exact when infinite
        EXPECT_LE(value == e ? 0 : std::fabs(value - e), tolerance)
            << r << value << " expected " << expected;
}

// Each row: forward to the printed precision, the printed coordinates back within the inverse
// tolerance on the ground (a pole's longitude counts in full), result 1 for any input (poles,
// NaN, infinities), a turn further the same point (wrap 1) or another (0), and the largest
// round trip error on a 9 x 9 grid of its window within its bounds, longitudes in [-pi, pi].
TEST_F(ProjectionPoints, PointsRoundTripsTurnsAndResultOneForAnyInput) {
    const double inputs[][2] = {{0, kPi / 2},  {0, -kPi / 2},   {NAN, 0.5},  {0, NAN},
                                {INFINITY, 0}, {1e300, -1e300}, {-kPi, 1e15}};
    for (const Row& r : ReadRows()) {
        const std::unique_ptr<CProjection> p = Build(r);
        ASSERT_NE(p, nullptr) << r;
        if (r.tolerance != "-") {
            double x = 0, y = 0;
            EXPECT_EQ(p->Project(r.lon, r.lat, x, y), 1) << r;
            ExpectCoordinate(x / r.unit, r.east, std::stod(r.tolerance), r);
            ExpectCoordinate(y / r.unit, r.north, std::stod(r.tolerance), r);
        }
        if (r.inverseTolerance != "-") {
            double lon = 0, lat = 0, x = std::stod(r.east) * r.unit,
                   y = std::stod(r.north) * r.unit;
            EXPECT_EQ(p->UnProject(x, y, lon, lat), 1) << r;
            const double weight = std::fabs(r.lat) == kPi / 2 ? 1 : std::cos(r.lat);
            const double ground =
                (r.a > 0 ? r.a : 1) / r.unit *
                std::hypot(std::remainder(lon - r.lon, 2 * kPi) * weight, lat - r.lat);
            if (std::isnan(r.lat))
                EXPECT_FALSE(std::isfinite(lat)) << r;
            else
                EXPECT_LE(ground, std::stod(r.inverseTolerance))
                    << r << lon / kDegree << " " << lat / kDegree;
        }
        for (const auto& in : inputs) {
            double u, v;
            EXPECT_EQ(p->Project(in[0], in[1], u, v), 1) << r << in[0] << " " << in[1];
            EXPECT_EQ(p->UnProject(in[0], in[1], u, v), 1) << r << in[0] << " " << in[1];
        }
        if (r.wrap != "-") {
            double x1, y1, x2, y2;
            p->Project(r.lon, r.lat, x1, y1);
            p->Project(r.lon + 2 * kPi, r.lat, x2, y2);
            const double d = std::hypot(x2 - x1, y2 - y1);
            EXPECT_TRUE(r.wrap == "1" ? d < 1e-6 : d > 1) << r << d;
        }
        if (r.wlon < 0) continue;
        double worst = 0;
        for (int i = -4; i <= 4; ++i)
            for (int j = -4; j <= 4; ++j) {
                const double lon = r.lon + r.wlon * kDegree * i / 4;
                const double lat =
                    std::fmax(-kPi / 2, std::fmin(kPi / 2, r.lat + r.wlat * kDegree * j / 4));
                double x, y, lonBack, latBack;
                p->Project(lon, lat, x, y);
                p->UnProject(x, y, lonBack, latBack);
                const double error = std::hypot(
                    std::remainder(lonBack - lon, 2 * kPi) * std::cos(lat), latBack - lat);
                if (!(error <= worst)) worst = error;
                EXPECT_TRUE(r.number == 18 || std::fabs(lonBack) <= kPi) << r << lonBack;
            }
        EXPECT_LE(worst, r.rmax) << r;
        EXPECT_GE(worst, r.rmin) << r;
    }
}

// Adding a method without tests fails here: every supported method has a published point in
// the table and a row in the PROJ oracle's table (a comparison, or the reason PROJ lacks it).
TEST(ProjectionMethods, EveryMethodHasPublishedPointsAndAnOracleRow) {
    std::set<int> published, oracle;
    for (const Row& r : ReadRows())
        if (r.tolerance != "-" && r.source.rfind("edge", 0) && r.source.rfind("round trip", 0))
            published.insert(r.number);
    for (const auto& f : fixture::DataLines("proj_oracle.csv"))
        if (f[1] != "hand" && f[1] != "profile") oracle.insert(std::stoi(f[1]));
    for (const gx::MethodRow& m : gx::Methods()) {
        EXPECT_EQ(published.count(m.iNumber), 1u) << Narrow(m.pszName);
        EXPECT_EQ(oracle.count(m.iNumber), 1u) << Narrow(m.pszName);
    }
}

} // namespace

// The same value, or both not finite.
bool Same(double a, double b) {
    return a == b || (!std::isfinite(a) && !std::isfinite(b));
}

// The array kernels on each row's window, its point and the inputs above: one point at a time
// exactly what Project and UnProject give; two at a time (vectorised functions) within 1e-12
// rad, and within two units in the last place of the coordinate or of the 10,000 km values
// that the formulas combine (false northings, cone radii), 4e-9 m.
TEST_F(ProjectionPoints, ArrayKernelsAgreeWithProjectAndUnProject) {
    for (const Row& r : ReadRows()) {
        const std::unique_ptr<CProjection> p = Build(r);
        const gx::ArrayKernels k = gx::FindArrayKernels(*p);
        ASSERT_TRUE(k.forward != nullptr && k.inverse != nullptr) << r;
        std::vector<double> lon{r.lon, 0, 0, NAN, 0, INFINITY, 1e300, -kPi},
            lat{r.lat, kPi / 2, -kPi / 2, 0.5, NAN, 0, -1e300, 1e15};
        const size_t nEdge = lon.size() - 1;
        for (int i = -4; r.wlon >= 0 && i <= 4; ++i)
            for (int j = -4; j <= 4; ++j) {
                lon.push_back(r.lon + r.wlon * kDegree * i / 4);
                lat.push_back(
                    std::fmax(-kPi / 2, std::fmin(kPi / 2, r.lat + r.wlat * kDegree * j / 4)));
            }
        const size_t n = lon.size();
        std::vector<double> x(n), y(n), lonBack(n), latBack(n);
        for (size_t i = 0; i < n; ++i) {
            p->Project(lon[i], lat[i], x[i], y[i]);
            p->UnProject(x[i], y[i], lonBack[i], latBack[i]);
        }
        for (const bool bLanes : {false, true}) {
            std::vector<double> fx(n), fy(n), ix(n), iy(n);
            k.forward(*p, lon.data(), lat.data(), fx.data(), fy.data(), n, bLanes);
            k.inverse(*p, x.data(), y.data(), ix.data(), iy.data(), n, bLanes);
            for (size_t i = 0; i < n; ++i) {
                if (!bLanes) {
                    EXPECT_TRUE(Same(fx[i], x[i]) && Same(fy[i], y[i])) << r << i;
                    EXPECT_TRUE(Same(ix[i], lonBack[i]) && Same(iy[i], latBack[i])) << r << i;
                    continue;
                }
                if (i > 0 && i <= nEdge) continue; // no bound on what lies off the ellipsoid
                for (const auto& [got, want] : {std::pair{fx[i], x[i]}, std::pair{fy[i], y[i]}})
                    EXPECT_TRUE(Same(got, want) ||
                                std::fabs(got - want) <=
                                    std::fmax(4e-9, 2 * std::fabs(want) * 0x1p-52))
                        << r << i << " " << got - want;
                for (const auto& [got, want] :
                     {std::pair{ix[i], lonBack[i]}, std::pair{iy[i], latBack[i]}})
                    EXPECT_TRUE(Same(got, want) || std::fabs(got - want) <= 1e-12)
                        << r << i << " " << got - want;
            }
        }
    }
}
