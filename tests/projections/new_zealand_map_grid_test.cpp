#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "projections/new_zealand_map_grid.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const int kWgs84 = 2; // row of the fixture

class NewZealandMapGrid : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_international =
            fixture::AddEllipsoid(7022, "International 1924", 6378388, 297, 6356911.946);
    }
    int m_international = -1;
};

// The origin projects onto the false origin and back.
TEST_F(NewZealandMapGrid, Origin) {
    const CNewZealandMapGrid grid(m_international, 173 * kDegree, -41 * kDegree, 2510000, 6023150);
    double x, y, lon, lat;
    grid.Project(173 * kDegree, -41 * kDegree, x, y);
    EXPECT_EQ(x, 2510000);
    EXPECT_EQ(y, 6023150);
    grid.UnProject(2510000, 6023150, lon, lat);
    EXPECT_EQ(lon, 173 * kDegree);
    EXPECT_EQ(lat, -41 * kDegree);
}

// Over New Zealand (166 to 179 degrees E, 47 to 34 degrees S) the inverse series and the
// Newton steps return the point to within 1e-9 rad (6 mm), the accuracy of the published
// coefficients; near the origin to 1e-11 rad.
TEST_F(NewZealandMapGrid, RoundTripsOverNewZealand) {
    const CNewZealandMapGrid grid(m_international, 173 * kDegree, -41 * kDegree, 2510000, 6023150);
    for (double lon = 166; lon <= 179; lon += 1)
        for (double lat = -47; lat <= -34; lat += 1) {
            double x, y, lonBack, latBack;
            grid.Project(lon * kDegree, lat * kDegree, x, y);
            grid.UnProject(x, y, lonBack, latBack);
            const bool bNear = std::fabs(lon - 173) <= 1 && std::fabs(lat + 41) <= 1;
            const double bound = bNear ? 1e-11 : 1e-9;
            EXPECT_NEAR(lonBack, lon * kDegree, bound) << lon << " " << lat;
            EXPECT_NEAR(latBack, lat * kDegree, bound) << lon << " " << lat;
        }
}

// The forward series takes the longitude difference as it is, so lon + 2 pi is another point;
// the inverse folds into [-pi, pi] and [-pi/2, pi/2].
TEST_F(NewZealandMapGrid, LongitudeIsNotFoldedForward) {
    const CNewZealandMapGrid grid(m_international, 179 * kDegree, -41 * kDegree, 2510000, 6023150);
    double x, y, x2, y2, lon, lat;
    grid.Project(179.5 * kDegree, -40 * kDegree, x, y);
    grid.Project(179.5 * kDegree - 2 * kPi, -40 * kDegree, x2, y2);
    EXPECT_GT(std::fabs(x2 - x), 1e6);
    grid.Project(180.5 * kDegree, -40 * kDegree, x, y); // 1.5 degrees east of the origin
    grid.UnProject(x, y, lon, lat);
    EXPECT_NEAR(lon, -179.5 * kDegree, 1e-9);
    EXPECT_NEAR(lat, -40 * kDegree, 1e-9);
}

// The coefficients stay those of the grid whatever the ellipsoid; only a scales the result.
TEST_F(NewZealandMapGrid, OnlyTheSemiMajorAxisIsRead) {
    const CNewZealandMapGrid international(m_international, 173 * kDegree, -41 * kDegree, 0, 0);
    const CNewZealandMapGrid wgs84(kWgs84, 173 * kDegree, -41 * kDegree, 0, 0);
    double x1, y1, x2, y2;
    international.Project(175 * kDegree, -38 * kDegree, x1, y1);
    wgs84.Project(175 * kDegree, -38 * kDegree, x2, y2);
    EXPECT_NEAR(x2, x1 * 6378137 / 6378388, 1e-6);
    EXPECT_NEAR(y2, y1 * 6378137 / 6378388, 1e-6);
}

// The factory builds method 21 from origin longitude, latitude, false easting and northing.
TEST_F(NewZealandMapGrid, FactoryArguments) {
    const std::unique_ptr<CProjection> built = fixture::Built(
        21, m_international,
        {{8807, 6023150}, {8806, 2510000}, {8801, -41 * kDegree}, {8802, 173 * kDegree}});
    ASSERT_NE(dynamic_cast<CNewZealandMapGrid*>(built.get()), nullptr);
    double x, y;
    built->Project(173 * kDegree, -41 * kDegree, x, y);
    EXPECT_EQ(x, 2510000);
    EXPECT_EQ(y, 6023150);
}

} // namespace
