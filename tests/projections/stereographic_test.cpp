#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/stereographic.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const int kWgs84 = 2; // row of the fixture

class Stereographic : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_bessel = fixture::AddEllipsoid(7004, "Bessel 1841", 6377397.155, 299.1528128, 0);
        m_international =
            fixture::AddEllipsoid(7022, "International 1924", 6378388, 297, 6356911.946);
    }
    int m_bessel = -1, m_international = -1;
};

// EPSG guidance note 7-2 examples, forward to the printed precision and back:
// - Oblique Stereographic: Amersfoort / RD New, 53d N 6d E -> 196105.283 E, 557057.739 N;
// - Polar Stereographic (variant A): WGS 84 / UPS North, 73d N 44d E -> 3320416.75 E,
//   632668.43 N;
// - Polar Stereographic (variant B): WGS 84 / Australian Antarctic Polar Stereographic,
//   75d S 120d E -> 7255380.79 E, 7053389.56 N;
// - Polar Stereographic (variant C): Petrels 1972 / Terre Adelie Polar Stereographic,
//   66d36'18.820"S 140d04'17.040"E -> 303169.52 E, 244055.72 N.
TEST_F(Stereographic, GuidanceNoteExamples) {
    const CObliqueStereographic rdNew(m_bessel, fixture::Dms(5, 23, 15.5),
                                      fixture::Dms(52, 9, 22.178), 0.9999079, 155000, 463000);
    const CPolarStereographicA upsNorth(kWgs84, 0, 90 * kDegree, 0.994, 2000000, 2000000);
    const CPolarStereographicB antarctic(kWgs84, 70 * kDegree, -71 * kDegree, 6000000, 6000000);
    const CPolarStereographicC adelie(m_international, 140 * kDegree, -67 * kDegree, 300000,
                                      200000);
    struct Case {
        const CProjection* p;
        double lon, lat, x, y, tolerance;
    } cases[] = {
        {&rdNew, 6 * kDegree, 53 * kDegree, 196105.283, 557057.739, 0.0006},
        {&upsNorth, 44 * kDegree, 73 * kDegree, 3320416.75, 632668.43, 0.006},
        {&antarctic, 120 * kDegree, -75 * kDegree, 7255380.79, 7053389.56, 0.006},
        {&adelie, fixture::Dms(140, 4, 17.04), -fixture::Dms(66, 36, 18.82), 303169.52, 244055.72,
         0.006},
    };
    for (const Case& c : cases) {
        double x = 0, y = 0, lon = 0, lat = 0;
        EXPECT_EQ(c.p->Project(c.lon, c.lat, x, y), 1);
        EXPECT_NEAR(x, c.x, c.tolerance) << c.x;
        EXPECT_NEAR(y, c.y, c.tolerance) << c.x;
        EXPECT_EQ(c.p->UnProject(c.x, c.y, lon, lat), 1);
        const double metres = 6378000 * std::hypot((lon - c.lon) * std::cos(lat), lat - c.lat);
        EXPECT_LT(metres, c.tolerance) << c.x;
    }
}

// Round trips over grids: the oblique projection within 10 degrees of its origin, the polar
// ones from the pole to 40 degrees from it, all longitudes, both poles.
TEST_F(Stereographic, RoundTrips) {
    const CObliqueStereographic oblique(m_bessel, 25 * kDegree, 46 * kDegree, 0.99975, 500000,
                                        500000);
    const CObliqueStereographic southern(kWgs84, -63 * kDegree, -38 * kDegree, 1, 0, 0);
    for (const CObliqueStereographic* p : {&oblique, &southern}) {
        const double lon0 = p == &oblique ? 25 : -63, lat0 = p == &oblique ? 46 : -38;
        for (double dlon = -10; dlon <= 10; dlon += 2.5)
            for (double dlat = -10; dlat <= 10; dlat += 2.5) {
                double x, y, lon, lat;
                p->Project((lon0 + dlon) * kDegree, (lat0 + dlat) * kDegree, x, y);
                p->UnProject(x, y, lon, lat);
                EXPECT_NEAR(lon, (lon0 + dlon) * kDegree, 1e-12) << dlon << " " << dlat;
                EXPECT_NEAR(lat, (lat0 + dlat) * kDegree, 1e-12) << dlon << " " << dlat;
            }
    }
    for (double pole : {1.0, -1.0}) {
        const CPolarStereographicA a(kWgs84, 10 * kDegree, pole * 90 * kDegree, 0.994, 2e6, 2e6);
        const CPolarStereographicB b(kWgs84, -45 * kDegree, pole * 70 * kDegree, 0, 0);
        const CPolarStereographicC c(m_international, 140 * kDegree, pole * 67 * kDegree, 3e5, 2e5);
        for (const CProjection* p :
             {static_cast<const CProjection*>(&a), static_cast<const CProjection*>(&b),
              static_cast<const CProjection*>(&c)})
            for (double lonDeg = -180; lonDeg < 180; lonDeg += 30)
                for (double colat = 0.5; colat <= 40; colat += 4.5) {
                    const double lon = lonDeg * kDegree, lat = pole * (90 - colat) * kDegree;
                    double x, y, lonBack, latBack;
                    p->Project(lon, lat, x, y);
                    p->UnProject(x, y, lonBack, latBack);
                    EXPECT_NEAR(std::remainder(lonBack - lon, 2 * kPi), 0, 1e-12);
                    EXPECT_NEAR(latBack, lat, 1e-12) << pole << " " << lonDeg << " " << colat;
                }
    }
}

// Variant A: the pole projects onto the false origin; points of the origin longitude lie on
// x = FE south of it for the north pole and north of it for the south pole, and a latitude of
// origin of 0 counts as the south pole.
TEST_F(Stereographic, PolarVariantAPoles) {
    struct Case {
        double lat0;
        double side; // sign of y - FN on the origin longitude
    } cases[] = {{90, -1}, {-90, 1}, {0, 1}};
    for (const Case& c : cases) {
        const CPolarStereographicA p(kWgs84, 10 * kDegree, c.lat0 * kDegree, 0.994, 2e6, 3e6);
        const double pole = c.side < 0 ? 90 : -90;
        double x, y;
        p.Project(10 * kDegree, pole * kDegree, x, y);
        EXPECT_NEAR(x, 2e6, 1e-6) << c.lat0;
        EXPECT_NEAR(y, 3e6, 1e-6) << c.lat0;
        p.Project(10 * kDegree, (pole + c.side * 10) * kDegree, x, y); // 10 degrees from the pole
        EXPECT_NEAR(x, 2e6, 1e-6) << c.lat0;
        EXPECT_GT(c.side * (y - 3e6), 1e6) << c.lat0;
    }
}

// Variant B at a standard parallel of exactly +-90 degrees: mc and tc both come from
// cos(pi/2) and their quotient is the scale factor 1 of a projection true at the pole.
TEST_F(Stereographic, PolarVariantBWithTheStandardParallelAtThePole) {
    for (double pole : {1.0, -1.0}) {
        const CPolarStereographicB b(kWgs84, 0, pole * 90 * kDegree, 0, 0);
        const CPolarStereographicA a(kWgs84, 0, pole * 90 * kDegree, 1, 0, 0);
        for (double colat = 1; colat <= 30; colat += 7) {
            double xa, ya, xb, yb;
            a.Project(33 * kDegree, pole * (90 - colat) * kDegree, xa, ya);
            b.Project(33 * kDegree, pole * (90 - colat) * kDegree, xb, yb);
            EXPECT_NEAR(xb, xa, 1e-6);
            EXPECT_NEAR(yb, ya, 1e-6);
        }
    }
}

// Variant C: the standard parallel meets the origin longitude at the false origin; the pole
// lies rhoF from it, north for the north pole and south for the south pole.
TEST_F(Stereographic, PolarVariantCFalseOrigin) {
    for (double pole : {1.0, -1.0}) {
        const CPolarStereographicC c(m_international, 140 * kDegree, pole * 67 * kDegree, 300000,
                                     200000);
        double x, y, xPole, yPole;
        c.Project(140 * kDegree, pole * 67 * kDegree, x, y);
        EXPECT_NEAR(x, 300000, 1e-6);
        EXPECT_NEAR(y, 200000, 1e-6);
        c.Project(140 * kDegree, pole * 90 * kDegree, xPole, yPole);
        EXPECT_NEAR(xPole, 300000, 1e-6);
        const double s = std::sin(67 * kDegree), e2 = 2 / 297.0 - 1 / (297.0 * 297.0);
        const double rhoF = 6378388 * std::cos(67 * kDegree) / std::sqrt(1 - e2 * s * s);
        EXPECT_NEAR(yPole, 200000 + pole * rhoF, 1e-6);
    }
}

// The oblique projection: the origin projects onto the false origin and back, the poles come
// back as the poles. It multiplies
// the longitude difference by n before use, so lon + 2 pi is another point; the polar
// projections use it only through sine and cosine. UnProject gives longitudes in [-pi, pi].
TEST_F(Stereographic, OriginAndLongitudes) {
    const CObliqueStereographic oblique(m_bessel, fixture::Dms(5, 23, 15.5),
                                        fixture::Dms(52, 9, 22.178), 0.9999079, 155000, 463000);
    double x, y, lon, lat;
    oblique.Project(fixture::Dms(5, 23, 15.5), fixture::Dms(52, 9, 22.178), x, y);
    EXPECT_NEAR(x, 155000, 1e-6);
    EXPECT_NEAR(y, 463000, 1e-6);
    oblique.UnProject(155000, 463000, lon, lat);
    EXPECT_NEAR(lon, fixture::Dms(5, 23, 15.5), 1e-15);
    EXPECT_NEAR(lat, fixture::Dms(52, 9, 22.178), 1e-15);
    for (double pole : {1.0, -1.0}) { // the isometric latitude is infinite there
        oblique.Project(0, pole * kPi / 2, x, y);
        oblique.UnProject(x, y, lon, lat);
        EXPECT_EQ(lat, pole * kPi / 2);
    }
    double x2, y2;
    oblique.Project(6 * kDegree, 53 * kDegree, x, y);
    oblique.Project(6 * kDegree + 2 * kPi, 53 * kDegree, x2, y2);
    EXPECT_GT(std::hypot(x2 - x, y2 - y), 1);

    const CPolarStereographicB polar(kWgs84, 170 * kDegree, -71 * kDegree, 0, 0);
    polar.Project(-175 * kDegree, -75 * kDegree, x, y);
    polar.Project(-175 * kDegree + 2 * kPi, -75 * kDegree, x2, y2);
    EXPECT_NEAR(x2, x, 1e-6);
    EXPECT_NEAR(y2, y, 1e-6);
    polar.UnProject(x, y, lon, lat);
    EXPECT_NEAR(lon, -175 * kDegree, 1e-12); // 185 degrees east folded into [-pi, pi]
}

// The factory's argument order: methods 12 and 13 take the origin longitude, latitude, scale
// factor, false easting and northing; 14 and 15 the origin longitude, the standard parallel
// and the false easting and northing. The guidance note examples again.
TEST_F(Stereographic, FactoryArguments) {
    struct Case {
        std::unique_ptr<CProjection> p;
        double lon, lat, x, y; // radians, metres
    } cases[] = {
        {fixture::Built(12, m_bessel,
                        {{8807, 463000},
                         {8806, 155000},
                         {8805, 0.9999079},
                         {8802, fixture::Dms(5, 23, 15.5)},
                         {8801, fixture::Dms(52, 9, 22.178)}}),
         6 * kDegree, 53 * kDegree, 196105.283, 557057.739},
        {fixture::Built(13, kWgs84,
                        {{8807, 2e6}, {8806, 2e6}, {8805, 0.994}, {8802, 0}, {8801, 90 * kDegree}}),
         44 * kDegree, 73 * kDegree, 3320416.75, 632668.43},
        {fixture::Built(14, kWgs84,
                        {{8807, 6e6}, {8806, 6e6}, {8833, 70 * kDegree}, {8832, -71 * kDegree}}),
         120 * kDegree, -75 * kDegree, 7255380.79, 7053389.56},
        {fixture::Built(
             15, m_international,
             {{8807, 200000}, {8806, 300000}, {8833, 140 * kDegree}, {8832, -67 * kDegree}}),
         fixture::Dms(140, 4, 17.04), -fixture::Dms(66, 36, 18.82), 303169.52, 244055.72},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.p, nullptr) << c.x;
        double x, y;
        c.p->Project(c.lon, c.lat, x, y);
        EXPECT_NEAR(x, c.x, 0.006) << c.x;
        EXPECT_NEAR(y, c.y, 0.006) << c.x;
    }
}

// Every operation returns 1 whatever the input: the opposite pole and the antipode of the
// oblique origin (no finite image), NaN, and the iteration of the oblique inverse, which ends
// on a NaN and after 16 steps at most.
TEST_F(Stereographic, ResultIsOneForAnyInput) {
    const CObliqueStereographic oblique(m_bessel, 5 * kDegree, 52 * kDegree, 1, 0, 0);
    const CPolarStereographicA a(kWgs84, 0, 90 * kDegree, 0.994, 0, 0);
    const CPolarStereographicB b(kWgs84, 0, -71 * kDegree, 0, 0);
    const CPolarStereographicC c(kWgs84, 0, 71 * kDegree, 0, 0);
    for (const CProjection* p :
         {static_cast<const CProjection*>(&oblique), static_cast<const CProjection*>(&a),
          static_cast<const CProjection*>(&b), static_cast<const CProjection*>(&c)}) {
        double x, y;
        EXPECT_EQ(p->Project(-175 * kDegree, -52 * kDegree, x, y), 1);
        EXPECT_EQ(p->Project(0, -90 * kDegree, x, y), 1);
        EXPECT_EQ(p->Project(0, 90 * kDegree, x, y), 1);
        EXPECT_EQ(p->Project(NAN, 0.5, x, y), 1);
        EXPECT_EQ(p->UnProject(NAN, 0, x, y), 1);
        EXPECT_EQ(p->UnProject(1e300, -1e300, x, y), 1);
        EXPECT_EQ(p->UnProject(INFINITY, 0, x, y), 1);
    }
}

} // namespace
