#include <cmath>

#include <gtest/gtest.h>

#include "geoxform/albers_equal_area.h"
#include "reference_fixture.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const int kGrs80 = 1;  // rows of the fixture
const int kSphere = 3; // the sphere of radius 6371000 m

class AlbersEqualArea : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_nClarke1866 = fixture::AddEllipsoid(7008, "Clarke 1866", 6378206.4, 294.9786982, 0);
    }
    int m_nClarke1866 = -1;
};

// Snyder, Map Projections: A Working Manual, pp. 292-294: Clarke 1866, standard parallels
// 29.5 and 45.5, origin 23N 96W; 35N 75W -> x = 1885472.7 m, y = 1535925.0 m. Both ways
// within 2 cm of the printed decimetres.
TEST_F(AlbersEqualArea, SnyderExample) {
    const CAlbersEqualArea albers(m_nClarke1866, -96 * kDegree, 23 * kDegree, 29.5 * kDegree,
                                  45.5 * kDegree, 0, 0);
    double x = 0, y = 0;
    EXPECT_EQ(albers.Project(-75 * kDegree, 35 * kDegree, x, y), 1);
    EXPECT_NEAR(x, 1885472.7, 0.05);
    EXPECT_NEAR(y, 1535925.0, 0.05);
    double lon = 0, lat = 0;
    EXPECT_EQ(albers.UnProject(1885472.7, 1535925.0, lon, lat), 1);
    EXPECT_NEAR((lon + 75 * kDegree) * std::cos(lat) * 6.4e6, 0, 0.1);
    EXPECT_NEAR((lat - 35 * kDegree) * 6.4e6, 0, 0.1);
}

// The false origin maps to (EF, NF), the central meridian to x = EF, and a longitude 2 pi
// further to the same point. A cone south of the equator (n < 0) with a false origin away from
// zero inverts its points, longitudes back in [-pi, pi] (the latitude to the 2.5e-10 rad of the
// authalic series to e^6).
TEST_F(AlbersEqualArea, FalseOriginCentralMeridianAndWrap) {
    const CAlbersEqualArea albers(kGrs80, -96 * kDegree, 23 * kDegree, 29.5 * kDegree,
                                  45.5 * kDegree, 1000, 2000);
    double x, y, x2, y2, lon, lat;
    albers.Project(-96 * kDegree, 23 * kDegree, x, y);
    EXPECT_NEAR(x, 1000, 1e-9);
    EXPECT_NEAR(y, 2000, 1e-6);
    albers.Project(-96 * kDegree, 60 * kDegree, x, y);
    EXPECT_EQ(x, 1000);
    albers.Project(-100 * kDegree, 40 * kDegree, x, y);
    albers.Project(-100 * kDegree + 2 * kPi, 40 * kDegree, x2, y2);
    EXPECT_NEAR(x, x2, 1e-6);
    EXPECT_NEAR(y, y2, 1e-6);
    albers.UnProject(x, y, lon, lat);
    EXPECT_NEAR(lon, -100 * kDegree, 1e-12);
    const CAlbersEqualArea pacific(kGrs80, 175 * kDegree, -40 * kDegree, -30 * kDegree,
                                   -50 * kDegree, 1e6, 2e6);
    pacific.Project(-170 * kDegree, -45 * kDegree, x, y);
    pacific.UnProject(x, y, lon, lat);
    EXPECT_NEAR(lon, -170 * kDegree, 1e-12);
    EXPECT_NEAR(lat, -45 * kDegree, 2.5e-10);
}

// Equal area: the Jacobian of (x, y) over (lon, lat), by central differences, equals the area
// element a^2 (1 - e^2) cos(lat) / (1 - e^2 sin^2 lat)^2 of the ellipsoid.
TEST_F(AlbersEqualArea, PreservesArea) {
    const CAlbersEqualArea albers(kGrs80, 20 * kDegree, 40 * kDegree, 30 * kDegree, 50 * kDegree, 0,
                                  0);
    const double a = 6378137, e2 = 0.0066943800229007876;
    const double h = 1e-5;
    for (double lon : {-30.0, 0.0, 20.0, 75.0})
        for (double lat : {-30.0, 10.0, 45.0, 80.0}) {
            const double l = lon * kDegree, p = lat * kDegree;
            double xe, ye, xw, yw, xn, yn, xs, ys;
            albers.Project(l + h, p, xe, ye);
            albers.Project(l - h, p, xw, yw);
            albers.Project(l, p + h, xn, yn);
            albers.Project(l, p - h, xs, ys);
            const double jacobian = ((xe - xw) * (yn - ys) - (xn - xs) * (ye - yw)) / (4 * h * h);
            const double s = std::sin(p);
            const double element = a * a * (1 - e2) * std::cos(p) / std::pow(1 - e2 * s * s, 2);
            EXPECT_NEAR(jacobian / element, 1, 1e-7) << lon << " " << lat;
        }
}

// On a sphere every q is 0/0, with equal standard parallels n is 0/0, and beyond the poles of
// the projection the arcsine has no value: NaN, and the result is still 1.
TEST_F(AlbersEqualArea, UndefinedCasesGiveNaN) {
    const CAlbersEqualArea sphere(kSphere, 0, 40 * kDegree, 30 * kDegree, 50 * kDegree, 0, 0);
    const CAlbersEqualArea equal(kGrs80, 0, 40 * kDegree, 45 * kDegree, 45 * kDegree, 0, 0);
    const CAlbersEqualArea albers(kGrs80, 0, 40 * kDegree, 30 * kDegree, 50 * kDegree, 0, 0);
    double x, y, lon, lat;
    EXPECT_EQ(sphere.Project(0.1, 0.7, x, y), 1);
    EXPECT_TRUE(std::isnan(x) && std::isnan(y));
    EXPECT_EQ(equal.Project(0.1, 0.7, x, y), 1);
    EXPECT_TRUE(std::isnan(x) && std::isnan(y));
    EXPECT_EQ(sphere.UnProject(1000, 1000, lon, lat), 1);
    EXPECT_TRUE(std::isnan(lat));
    EXPECT_EQ(albers.UnProject(0, -2e7, lon, lat), 1); // far beyond the south pole
    EXPECT_TRUE(std::isnan(lat));
}

} // namespace
