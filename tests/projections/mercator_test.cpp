#include <cmath>

#include <gtest/gtest.h>

#include "geoxform/mercator.h"
#include "reference_fixture.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const int kWgs84 = 2;  // row of WGS 84 in the fixture
const int kSphere = 3; // row of the sphere of radius 6371000 m

class Cylindrical : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_nBessel = fixture::AddEllipsoid(7004, "Bessel 1841", 6377397.155, 299.1528128, 0);
        m_nKrassowsky = fixture::AddEllipsoid(7024, "Krassowsky 1940", 6378245.0, 298.3, 0);
        m_nClarke1866 = fixture::AddEllipsoid(7008, "Clarke 1866", 6378206.4, 294.9786982, 0);
    }
    int m_nBessel = -1, m_nKrassowsky = -1, m_nClarke1866 = -1;
};

// EPSG guidance note 7-2, Mercator (variant A): Batavia / NEIEZ; variant B: Pulkovo 1942 /
// Caspian Sea Mercator; both within 3.3 mm of the printed values both ways. Snyder, Map
// Projections: A Working Manual, p. 267 (Clarke 1866), printed to the decimetre from
// seven-digit intermediate values: the northing lies 0.063 m from the printed one.
TEST_F(Cylindrical, MercatorPublishedExamples) {
    const CMercator neiez(m_nBessel, 1, 110 * kDegree, 0.997, 3900000, 900000);
    const CMercator caspian(m_nKrassowsky, 2, 51 * kDegree, 42 * kDegree, 0, 0);
    const CMercator snyder(m_nClarke1866, 1, -180 * kDegree, 1.0, 0, 0);
    const struct {
        const CMercator* projection;
        double lon, lat, east, north, tolerance;
    } examples[] = {
        {&neiez, 120, -3, 5009726.58, 569150.82, 0.005},
        {&caspian, 53, 53, 165704.29, 5171848.07, 0.005},
        {&snyder, -75, 35, 11688673.7, 4139145.6, 0.07},
    };
    for (const auto& ex : examples) {
        double x, y, lon, lat;
        EXPECT_EQ(ex.projection->Project(ex.lon * kDegree, ex.lat * kDegree, x, y), 1);
        EXPECT_NEAR(x, ex.east, ex.tolerance);
        EXPECT_NEAR(y, ex.north, ex.tolerance);
        EXPECT_EQ(ex.projection->UnProject(ex.east, ex.north, lon, lat), 1);
        EXPECT_NEAR((lon / kDegree - ex.lon) * std::cos(lat) * 111000, 0, ex.tolerance);
        EXPECT_NEAR((lat / kDegree - ex.lat) * 111000, 0, ex.tolerance);
    }
    // Variant B's scale factor, printed as 0.744260894; the parallel's sign does not matter.
    const CMercator south(m_nKrassowsky, 2, 51 * kDegree, -42 * kDegree, 0, 0);
    const CMercator scaled(m_nKrassowsky, 1, 51 * kDegree, 0.744260894, 0, 0);
    double x1, y1, x2, y2, x3, y3;
    caspian.Project(53 * kDegree, 53 * kDegree, x1, y1);
    south.Project(53 * kDegree, 53 * kDegree, x2, y2);
    scaled.Project(53 * kDegree, 53 * kDegree, x3, y3);
    EXPECT_EQ(x1, x2);
    EXPECT_EQ(y1, y2);
    EXPECT_NEAR(y1, y3, 0.005);
}

// The origin maps to the false origin; on a sphere y = k0 a ln tan(pi/4 + lat/2) and the
// inverse series vanishes.
TEST_F(Cylindrical, MercatorOriginAndSphere) {
    const CMercator merc(kWgs84, 1, 20 * kDegree, 0.9996, 500000, 100000);
    double x, y, lon, lat;
    merc.Project(20 * kDegree, 0, x, y);
    EXPECT_DOUBLE_EQ(x, 500000);
    EXPECT_DOUBLE_EQ(y, 100000);
    merc.UnProject(500000, 100000, lon, lat);
    EXPECT_DOUBLE_EQ(lon, 20 * kDegree);
    EXPECT_EQ(lat, 0);
    const CMercator sphere(kSphere, 1, 0, 2.0, 0, 0);
    for (double deg : {-80.0, -30.0, 10.0, 60.0, 85.0}) {
        sphere.Project(0, deg * kDegree, x, y);
        EXPECT_NEAR(y, 2 * 6371000 * std::log(std::tan(kPi / 4 + deg * kDegree / 2)), 1e-6);
        sphere.UnProject(0, y, lon, lat);
        EXPECT_NEAR(lat, deg * kDegree, 1e-15);
    }
}

// Longitudes are folded before and after the origin is subtracted; latitudes are not folded.
// At the south pole the tangent of pi/4 + lat/2 is 0 and y is -inf; at the north pole it is as
// large as the cosine of the double nearest pi/2 allows (y beyond 2e8 m); beyond the poles the
// tangent is negative and y is NaN. Far south the inverse tends to -pi/2 without overflowing.
TEST_F(Cylindrical, MercatorLongitudeWrapsAndPoles) {
    const CMercator merc(kWgs84, 1, 170 * kDegree, 1.0, 0, 0);
    double x1, y1, x2, y2, lon, lat;
    merc.Project(170 * kDegree + 1.5 * kPi, 40 * kDegree, x1, y1);
    merc.Project(170 * kDegree - 0.5 * kPi, 40 * kDegree, x2, y2);
    EXPECT_NEAR(x1, x2, 1e-6);
    merc.Project(-175 * kDegree, 0, x1, y1); // 15 degrees east across the antimeridian
    EXPECT_NEAR(x1, 15 * kDegree * 6378137, 1e-6);
    merc.UnProject(1e7, 0, lon, lat); // an easting beyond the antimeridian folds back
    EXPECT_NEAR(lon, 170 * kDegree + 1e7 / 6378137 - 2 * kPi, 1e-12);

    EXPECT_EQ(merc.Project(0, kPi / 2, x1, y1), 1);
    EXPECT_GT(y1, 2e8);
    merc.Project(0, -kPi / 2, x1, y1);
    EXPECT_TRUE(std::isinf(y1) && y1 < 0);
    merc.Project(0, 100 * kDegree, x1, y1);
    EXPECT_TRUE(std::isnan(y1));
    merc.UnProject(0, -1e12, lon, lat);
    EXPECT_DOUBLE_EQ(lat, -kPi / 2);
    merc.UnProject(0, 1e12, lon, lat);
    EXPECT_DOUBLE_EQ(lat, kPi / 2);
}

// EPSG guidance note 7-2, Equidistant Cylindrical: WGS 84 / World Equidistant Cylindrical,
// 55N 10E -> 1113194.91 E, 6097230.31 N, with x = nu1 cos(lat1) dlon and y the meridian arc.
// This method scales a plate carree by the Gaussian mean radius sqrt(rho1 nu1) of the
// true-scale parallel instead (b on the equator), measured here: the easting lies 3732.33 m
// west and the northing 4813.86 m north of the note's. Project does not fold the longitude
// difference, UnProject folds its result; on a sphere the radius is a.
TEST_F(Cylindrical, EquidistantCylindrical) {
    const CEquidistantCylindrical world(kWgs84, 0, 0);
    double x, y, lon, lat;
    world.Project(10 * kDegree, 55 * kDegree, x, y);
    const double b = 6356752.314245179;
    EXPECT_NEAR(x, b * 10 * kDegree, 1e-6);
    EXPECT_NEAR(y, b * 55 * kDegree, 1e-6);
    EXPECT_NEAR(x - 1113194.91, -3732.33, 0.01);
    EXPECT_NEAR(y - 6097230.31, 4813.86, 0.01);

    const double s = std::sin(40 * kDegree), e2 = 0.0066943799901413165;
    const double w = 1 - e2 * s * s;
    const double radius = 6378137 * std::sqrt(1 - e2) / w; // sqrt(rho nu) at 40 degrees
    const CEquidistantCylindrical eqc(kWgs84, 100 * kDegree, 40 * kDegree);
    eqc.Project(100 * kDegree + 1.5 * kPi, 1.0, x, y);
    EXPECT_NEAR(x, std::cos(40 * kDegree) * 1.5 * kPi * radius, 1e-6);
    EXPECT_NEAR(y, radius, 1e-6);
    eqc.UnProject(x, y, lon, lat);
    EXPECT_NEAR(lon, 100 * kDegree - 0.5 * kPi, 1e-12);
    EXPECT_NEAR(lat, 1.0, 1e-15);

    const CEquidistantCylindrical sphere(kSphere, 0, 50 * kDegree);
    sphere.Project(0, 1.0, x, y);
    EXPECT_EQ(y, 6371000);
}

TEST(PseudoPlateCarree, IdentityWithoutReferenceData) {
    const CPseudoPlateCarree identity;
    for (double v : {-4.0, 0.0, 0.5, 3.5, 1e300}) {
        double x, y, lon, lat;
        EXPECT_EQ(identity.Project(v, -v, x, y), 1);
        EXPECT_EQ(x, v);
        EXPECT_EQ(y, -v);
        EXPECT_EQ(identity.UnProject(v, 2 * v, lon, lat), 1);
        EXPECT_EQ(lon, v);
        EXPECT_EQ(lat, 2 * v);
    }
}

} // namespace
