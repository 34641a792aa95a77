#include <cmath>

#include <gtest/gtest.h>

#include "projections/cassini_soldner.h"
#include "reference_fixture.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const int kWgs84 = 2; // row of WGS 84 in the fixture

class CassiniSoldner : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        // Clarke 1858 in Clarke's links, the unit of the Trinidad grid.
        m_nClarkeLinks = fixture::AddEllipsoid(7007, "Clarke 1858", 31706587.88, 294.2606764, 0);
    }
    int m_nClarkeLinks = -1;
};

// EPSG guidance note 7-2, Cassini-Soldner: Trinidad 1903 / Trinidad Grid, in Clarke's links:
// 10N 62W -> 66644.94 E, 82536.22 N; both ways within 3 mm (0.005 links).
TEST_F(CassiniSoldner, GuidanceNoteExample) {
    const CCassiniSoldner trinidad(m_nClarkeLinks, fixture::Dms(-61, 20, 0),
                                   fixture::Dms(10, 26, 30), 430000, 325000);
    double x = 0, y = 0;
    EXPECT_EQ(trinidad.Project(-62 * kDegree, 10 * kDegree, x, y), 1);
    EXPECT_NEAR(x, 66644.94, 0.005);
    EXPECT_NEAR(y, 82536.22, 0.005);
    double lon = 0, lat = 0;
    EXPECT_EQ(trinidad.UnProject(66644.94, 82536.22, lon, lat), 1);
    const double linksPerRadian = 31706587.88;
    EXPECT_NEAR((lon + 62 * kDegree) * std::cos(lat) * linksPerRadian, 0, 0.01);
    EXPECT_NEAR((lat - 10 * kDegree) * linksPerRadian, 0, 0.01);
}

// The origin maps to the false origin; along the central meridian x is FE and y follows the
// meridian arc (of WGS 84 to 55 degrees: 6097230.3131 m by numerical integration), exactly
// from 0 when the latitude of origin is 0.
TEST_F(CassiniSoldner, OriginAndCentralMeridian) {
    const CCassiniSoldner cass(kWgs84, 13 * kDegree, 52 * kDegree, 40000, 10000);
    double x, y, lon, lat;
    cass.Project(13 * kDegree, 52 * kDegree, x, y);
    EXPECT_EQ(x, 40000);
    EXPECT_NEAR(y, 10000, 1e-9);
    cass.UnProject(40000, 10000, lon, lat);
    EXPECT_NEAR(lon, 13 * kDegree, 1e-15);
    EXPECT_NEAR(lat, 52 * kDegree, 1e-14);

    const CCassiniSoldner equator(kWgs84, 13 * kDegree, 0, 0, 0);
    equator.Project(13 * kDegree, 0, x, y);
    EXPECT_EQ(y, 0);
    equator.Project(13 * kDegree, 55 * kDegree, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_NEAR(y, 6097230.3131, 1e-4);
    equator.UnProject(0, 6097230.3131, lon, lat);
    EXPECT_NEAR(lat, 55 * kDegree, 1e-11);
}

// Longitudes wrap before projection, and the inverse folds its results.
TEST_F(CassiniSoldner, LongitudesWrap) {
    const CCassiniSoldner cass(kWgs84, 179 * kDegree, 30 * kDegree, 0, 0);
    double x1, y1, x2, y2, lon, lat;
    cass.Project(-179.5 * kDegree, 31 * kDegree, x1, y1);
    cass.Project(180.5 * kDegree, 31 * kDegree, x2, y2);
    EXPECT_NEAR(x1, x2, 1e-6);
    EXPECT_NEAR(y1, y2, 1e-6);
    cass.Project(179 * kDegree + 2 * kPi, 31 * kDegree, x2, y2);
    EXPECT_NEAR(x2, 0, 1e-6);
    cass.UnProject(x1, y1, lon, lat); // 1.5 degrees from the central meridian: see below
    EXPECT_NEAR(lon, -179.5 * kDegree, 2e-10);
    EXPECT_NEAR(lat, 31 * kDegree, 2e-10);
}

// The forward and inverse series are separate truncations, so their round trip does not close
// exactly; the gap grows with the sixth power of the longitude difference, the same at every
// latitude of origin: over latitudes to 80 degrees it stays below 2e-12 rad within 0.5
// degrees of the central meridian, 3e-11 within 1, 5e-10 within 2 and 2.7e-9 within 3.
TEST_F(CassiniSoldner, RoundTripsNearTheCentralMeridian) {
    const CCassiniSoldner cass(kWgs84, -61 * kDegree, 10 * kDegree, 430000, 325000);
    const struct {
        double dlon, bound;
    } bands[] = {{0.5, 2e-12}, {1, 3e-11}, {2, 5e-10}, {3, 2.7e-9}};
    for (const auto& band : bands) {
        double worst = 0;
        for (double dlon = -band.dlon; dlon <= band.dlon; dlon += band.dlon / 4)
            for (double lat = -80; lat <= 80; lat += 2) {
                double x, y, lon, phi;
                cass.Project((-61 + dlon) * kDegree, lat * kDegree, x, y);
                cass.UnProject(x, y, lon, phi);
                worst = std::fmax(worst, std::fabs(lon - (-61 + dlon) * kDegree) * std::cos(phi));
                worst = std::fmax(worst, std::fabs(phi - lat * kDegree));
            }
        EXPECT_LT(worst, band.bound) << band.dlon;
    }
}

TEST_F(CassiniSoldner, PolesGiveWhateverTheSeriesGiveAndReturnOne) {
    const CCassiniSoldner cass(kWgs84, 0, 0, 0, 0);
    double x, y;
    EXPECT_EQ(cass.Project(1, kPi / 2, x, y), 1);
    EXPECT_EQ(cass.Project(NAN, 0, x, y), 1);
    EXPECT_EQ(cass.UnProject(1e300, -1e300, x, y), 1);
}

} // namespace
