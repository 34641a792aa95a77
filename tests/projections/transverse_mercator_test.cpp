#include <cmath>

#include <gtest/gtest.h>

#include "geoxform/transverse_mercator.h"
#include "reference_fixture.h"

namespace {

const double kDegree = 0.017453292519943295;
const int kAiry = 0;  // row of Airy 1830 in the fixture
const int kWgs84 = 2; // row of WGS 84

class TransverseMercator : public fixture::ReferenceData {};

// EPSG guidance note 7-2, Transverse Mercator example: OSGB 1936 / British National Grid,
// 50d30'N 0d30'E -> 577274.99 E, 69740.50 N, computed with k0 as the example prints it,
// 0.9996013 (with the full 0.9996012717 the point lies 6 mm and 8 mm off the printed values).
TEST_F(TransverseMercator, GuidanceNoteExample) {
    const CTransverseMercator bng(kAiry, -2 * kDegree, 49 * kDegree, 0.9996013, 400000, -100000);
    double x = 0, y = 0;
    EXPECT_EQ(bng.Project(0.5 * kDegree, 50.5 * kDegree, x, y), 1);
    EXPECT_NEAR(x, 577274.99, 0.01);
    EXPECT_NEAR(y, 69740.50, 0.01);
    double lon = 0, lat = 0;
    EXPECT_EQ(bng.UnProject(577274.99, 69740.50, lon, lat), 1);
    const double metresPerDegree = 111200; // of latitude, near enough for a 1 cm bound
    EXPECT_NEAR((lon / kDegree - 0.5) * metresPerDegree * std::cos(lat), 0, 0.01);
    EXPECT_NEAR((lat / kDegree - 50.5) * metresPerDegree, 0, 0.01);
}

TEST_F(TransverseMercator, CentralMeridianAndEquator) {
    const CTransverseMercator utm(kWgs84, 9 * kDegree, 0, 0.9996, 500000, 0);
    double x = 0, y = 0;
    utm.Project(20 * kDegree, 0, x, y);
    EXPECT_EQ(y, 0); // the latitude of origin 0 makes M0 exactly 0
    utm.Project(9 * kDegree, 48 * kDegree, x, y);
    EXPECT_NEAR(x, 500000, 1e-9);
    EXPECT_NEAR(y, 0.9996 * 5318427.5955, 1e-3); // k0 times the meridian arc to 48 degrees
}

TEST_F(TransverseMercator, RoundTripsWithinTheSeriesRange) {
    const CTransverseMercator tm(kWgs84, 9 * kDegree, 30 * kDegree, 0.9996, 500000, 200000);
    const CTransverseMercatorSouthOriented south(kWgs84, 25 * kDegree, -20 * kDegree, 1.0, 30000,
                                                 70000);
    for (double dlon = -4; dlon <= 4; dlon += 0.5) {
        for (double lat = -80; lat <= 84; lat += 4) {
            double x, y, lon, phi;
            tm.Project((9 + dlon) * kDegree, lat * kDegree, x, y);
            tm.UnProject(x, y, lon, phi);
            EXPECT_NEAR(lon, (9 + dlon) * kDegree, 1e-11) << dlon << " " << lat;
            EXPECT_NEAR(phi, lat * kDegree, 1e-11) << dlon << " " << lat;
            south.Project((25 + dlon) * kDegree, lat * kDegree, x, y);
            south.UnProject(x, y, lon, phi);
            EXPECT_NEAR(lon, (25 + dlon) * kDegree, 1e-11) << dlon << " " << lat;
            EXPECT_NEAR(phi, lat * kDegree, 1e-11) << dlon << " " << lat;
        }
    }
}

TEST_F(TransverseMercator, SouthOrientedMirrorsThePlainForm) {
    const CTransverseMercator plain(kWgs84, 25 * kDegree, 0, 1.0, 0, 0);
    const CTransverseMercatorSouthOriented south(kWgs84, 25 * kDegree, 0, 1.0, 0, 0);
    double x1, y1, x2, y2;
    plain.Project(27 * kDegree, -30 * kDegree, x1, y1);
    south.Project(27 * kDegree, -30 * kDegree, x2, y2);
    EXPECT_EQ(x2, -x1);
    EXPECT_EQ(y2, -y1);
}

// Zoned grid with initial longitude -180 and 6 degree zones: the UTM zones.
TEST_F(TransverseMercator, ZonedGridReproducesUtm) {
    const CUniversalTransverseMercator zoned(kWgs84, -180 * kDegree, 0, 0.9996, 500000, 0,
                                             6 * kDegree);
    const CTransverseMercator zone32(kWgs84, 9 * kDegree, 0, 0.9996, 500000, 0);
    double x, y, xRef, yRef;
    zoned.Project(9 * kDegree, 48 * kDegree, x, y);
    zone32.Project(9 * kDegree, 48 * kDegree, xRef, yRef);
    EXPECT_NEAR(x, 32000000 + xRef, 1e-6);
    EXPECT_NEAR(y, yRef, 1e-9);

    struct Case {
        double lon;
        double zone;
    } cases[] = {{-179.5, 1}, {-177, 1},  {-174.1, 1}, {3.1, 31},
                 {7.5, 32},   {11.9, 32}, {179.5, 60}};
    for (const Case& c : cases) {
        zoned.Project(c.lon * kDegree, 10 * kDegree, x, y);
        EXPECT_EQ(std::trunc(x / 1000000), c.zone) << c.lon;
        double lon, lat;
        zoned.UnProject(x, y, lon, lat);
        EXPECT_NEAR(lon / kDegree, c.lon, 1e-9) << c.lon;
        EXPECT_NEAR(lat / kDegree, 10, 1e-9) << c.lon;
    }
    // 180 degrees falls in zone 61, whose central meridian 183 folds to -177. (Arguments that
    // turn back into exactly -180 and 6 degrees: 6 degrees in radians times 57.29577951308232
    // is 6.000000000000001, which leaves 180 degrees in zone 60.)
    const double degreesPerRadian = 57.29577951308232;
    const CUniversalTransverseMercator exact(kWgs84, -180 / degreesPerRadian, 0, 0.9996, 500000, 0,
                                             6 / degreesPerRadian);
    exact.Project(3.141592653589793, 0, x, y);
    EXPECT_EQ(std::trunc(x / 1000000), 61);
    double lon, lat;
    exact.UnProject(x, y, lon, lat);
    EXPECT_NEAR(std::fabs(lon), 180 * kDegree, 1e-12);
}

TEST_F(TransverseMercator, ResultIsOneEvenForPolesAndNonFiniteInput) {
    const CTransverseMercator tm(kWgs84, 0, 0, 0.9996, 0, 0);
    double x, y;
    EXPECT_EQ(tm.Project(0.1, 90 * kDegree, x, y), 1);
    EXPECT_EQ(tm.Project(NAN, INFINITY, x, y), 1);
    EXPECT_EQ(tm.UnProject(NAN, 1e300, x, y), 1);
}

} // namespace
