#include <cmath>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/oblique_mercator.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace {

const double kDegree = fixture::kDegree;
const int kWgs84 = 2;  // rows of the fixture
const int kSphere = 3; // radius 6371000 m

class ObliqueMercator : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_everest =
            fixture::AddEllipsoid(7016, "Everest 1830 (1967 Definition)", 6377298.556, 300.8017, 0);
        m_bessel = fixture::AddEllipsoid(7004, "Bessel 1841", 6377397.155, 299.1528128, 0);
    }
    int m_everest = -1, m_bessel = -1;
};

// Ground distance in metres between two points given in radians (local approximation).

// EPSG guidance note 7-2, Hotine oblique Mercator example: Timbalai 1948 / RSO Borneo (m),
// 5d23'14.1129"N 115d48'19.8196"E -> 679245.73 E, 596562.78 N, in variant A (false easting
// and northing 0) and variant B (easting and northing 590476.87 and 442857.65 at the centre,
// printed to the centimetre, which places variant B 5 mm off the printed point).
TEST_F(ObliqueMercator, GuidanceNoteExamples) {
    const double lonC = 115 * kDegree, latC = 4 * kDegree, kC = 0.99984;
    const double alphaC = fixture::Dms(53, 18, 56.9537), gammaC = fixture::Dms(53, 7, 48.3685);
    const CHotineObliqueMercator variantA(m_everest, lonC, latC, kC, 0, 0, alphaC, gammaC);
    const CObliqueMercator variantB(m_everest, lonC, latC, kC, 590476.87, 442857.65, alphaC,
                                    gammaC);
    const double lon = fixture::Dms(115, 48, 19.8196), lat = fixture::Dms(5, 23, 14.1129);
    for (const CProjection* p :
         {static_cast<const CProjection*>(&variantA), static_cast<const CProjection*>(&variantB)}) {
        double x = 0, y = 0;
        EXPECT_EQ(p->Project(lon, lat, x, y), 1);
        EXPECT_NEAR(x, 679245.73, 0.006);
        EXPECT_NEAR(y, 596562.78, 0.006);
        double lonBack = 0, latBack = 0;
        EXPECT_EQ(p->UnProject(679245.73, 596562.78, lonBack, latBack), 1);
        EXPECT_LT(fixture::GroundMetres(lonBack, latBack, lon, lat), 0.006);
    }
}

// Variant B counts from the centre, which projects onto the easting and northing given for
// it, for every kind of centre: the example's, a southern one (the root term of F and the uc
// shift change sign), one on the equator (D is 1 up to rounding: W = 0 and F = D), and an
// azimuth of exactly 90 degrees (uc from the longitude difference).
TEST_F(ObliqueMercator, VariantBCentreProjectsOntoItsCoordinates) {
    struct Case {
        int ellipsoid;
        double lonC, latC, alphaC, gammaC;
    } cases[] = {
        {m_everest, 115, 4, 53.3158204722, 53.1301023611},
        {kWgs84, 44.1, -18.9, 18.9, 18.9},
        {kWgs84, 10, 0, 30, 30},
        {kWgs84, 10, 0, 90, 90},
        {m_bessel, 7.4395833333, 46.9524055556, 90, 90},
        {m_bessel, 7.4395833333, -46.9524055556, 90, 90},
    };
    for (const Case& c : cases) {
        const CObliqueMercator om(c.ellipsoid, c.lonC * kDegree, c.latC * kDegree, 0.9999, 600000,
                                  200000, c.alphaC * kDegree, c.gammaC * kDegree);
        double x, y, lon, lat;
        om.Project(c.lonC * kDegree, c.latC * kDegree, x, y);
        EXPECT_NEAR(x, 600000, 1e-6) << c.latC << " " << c.alphaC;
        EXPECT_NEAR(y, 200000, 1e-6) << c.latC << " " << c.alphaC;
        om.UnProject(600000, 200000, lon, lat);
        EXPECT_NEAR(lon / kDegree, c.lonC, 1e-10) << c.latC << " " << c.alphaC;
        EXPECT_NEAR(lat / kDegree, c.latC, 1e-10) << c.latC << " " << c.alphaC;
    }
}

// On a sphere the meridian through a centre with azimuth 90 degrees crosses the initial line
// at right angles: its points keep u = uc and have v = -+R k atanh(sin d) at the angular
// distance d from the centre. With the arcsine of g evaluated as written the origin longitude
// is off by 1.5e-8 rad here and these points lie 3 to 5 cm off that line.
TEST_F(ObliqueMercator, AzimuthOfNinetyDegreesOnASphere) {
    const double lonC = 10 * kDegree, latC = 47 * kDegree, k = 0.9999, R = 6371000;
    const CObliqueMercator om(kSphere, lonC, latC, k, 600000, 200000, 90 * kDegree, 0);
    for (double d = -10; d <= 10; d += 2.5) {
        double x, y;
        om.Project(lonC, latC + d * kDegree, x, y);
        EXPECT_NEAR(y, 200000, 1e-6) << d;
        EXPECT_NEAR(x, 600000 - R * k * std::atanh(std::sin(d * kDegree)), 1e-6) << d;
    }
}

// Round trips over a grid of points within 10 degrees of a centre, for both variants, a
// northern, a southern and an equatorial centre.
TEST_F(ObliqueMercator, RoundTripsAroundTheCentre) {
    struct Case {
        double lonC, latC, alphaC, gammaC;
    } cases[] = {{-86, 45.3, -22.7444, -22.7444}, {44.1, -18.9, 18.9, 18.9}, {30, 0, 60, 50}};
    for (const Case& c : cases) {
        const CHotineObliqueMercator a(kWgs84, c.lonC * kDegree, c.latC * kDegree, 0.9996, 500000,
                                       -400000, c.alphaC * kDegree, c.gammaC * kDegree);
        const CObliqueMercator b(kWgs84, c.lonC * kDegree, c.latC * kDegree, 0.9996, 500000,
                                 -400000, c.alphaC * kDegree, c.gammaC * kDegree);
        for (double dlon = -10; dlon <= 10; dlon += 2.5)
            for (double dlat = -10; dlat <= 10; dlat += 2.5) {
                const double lon = (c.lonC + dlon) * kDegree, lat = (c.latC + dlat) * kDegree;
                for (const CProjection* p :
                     {static_cast<const CProjection*>(&a), static_cast<const CProjection*>(&b)}) {
                    double x, y, lonBack, latBack;
                    p->Project(lon, lat, x, y);
                    p->UnProject(x, y, lonBack, latBack);
                    EXPECT_NEAR(lonBack, lon, 1e-10) << c.latC << " " << dlon << " " << dlat;
                    EXPECT_NEAR(latBack, lat, 1e-10) << c.latC << " " << dlon << " " << dlat;
                }
            }
    }
}

// At the poles t is 0 or unbounded and the formulas give non-finite values; both poles get
// the limit of the formulas instead, one point whatever the longitude, continuous with
// latitudes just short of the pole.
TEST_F(ObliqueMercator, PolesProjectToTheLimitOfTheFormulas) {
    const CHotineObliqueMercator om(kWgs84, -86 * kDegree, 45.3 * kDegree, 0.9996, 2546731.496,
                                    -4354009.816, -22.7444 * kDegree, -22.7444 * kDegree);
    const double halfPi = 1.5707963267948966;
    for (double sign : {1.0, -1.0}) {
        double x0, y0;
        om.Project(0, sign * halfPi, x0, y0);
        ASSERT_TRUE(std::isfinite(x0) && std::isfinite(y0)) << sign;
        for (double lon : {-170.0, -86.0, 0.0, 45.0, 179.0}) {
            double x, y, xNear, yNear;
            EXPECT_EQ(om.Project(lon * kDegree, sign * halfPi, x, y), 1);
            EXPECT_EQ(x, x0);
            EXPECT_EQ(y, y0);
            om.Project(lon * kDegree, sign * (halfPi - 1e-9), xNear, yNear);
            EXPECT_LT(std::hypot(x - xNear, y - yNear), 0.1) << sign << " " << lon;
        }
    }
}

// A point 90 degrees from the initial line (U = +-1) has no finite image: both coordinates
// are +infinity, never NaN, even where the rotation multiplies by a zero sine. On a sphere
// with the centre on the equator and azimuth 0, the point on the equator 90 degrees east of
// the centre has U = -1 exactly.
TEST_F(ObliqueMercator, PointsNinetyDegreesFromTheInitialLineGoToInfinity) {
    const CHotineObliqueMercator om(kSphere, 0, 0, 1, 0, 0, 0, 0);
    double x = 0, y = 0;
    EXPECT_EQ(om.Project(90 * kDegree, 0, x, y), 1);
    EXPECT_EQ(x, std::numeric_limits<double>::infinity());
    EXPECT_EQ(y, std::numeric_limits<double>::infinity());
    const CObliqueMercator b(kSphere, 0, 0, 1, 0, 0, 0, 0);
    EXPECT_EQ(b.Project(90 * kDegree, 0, x, y), 1);
    EXPECT_EQ(x, std::numeric_limits<double>::infinity());
    EXPECT_EQ(y, std::numeric_limits<double>::infinity());
}

// The factory builds method 6 as variant A and method 5 as variant B, each from its own
// parameter codes, in the argument order centre longitude, latitude, scale, false easting and
// northing, azimuth, rectified grid angle.
TEST_F(ObliqueMercator, FactoryArguments) {
    const double alphaC = fixture::Dms(53, 18, 56.9537), gammaC = fixture::Dms(53, 7, 48.3685);
    const std::unique_ptr<CProjection> built[] = {fixture::Built(6, m_everest,
                                                                 {{8813, alphaC},
                                                                  {8811, 4 * kDegree},
                                                                  {8812, 115 * kDegree},
                                                                  {8814, gammaC},
                                                                  {8815, 0.99984},
                                                                  {8806, 0},
                                                                  {8807, 0}}),
                                                  fixture::Built(5, m_everest,
                                                                 {{8817, 442857.65},
                                                                  {8816, 590476.87},
                                                                  {8815, 0.99984},
                                                                  {8814, gammaC},
                                                                  {8813, alphaC},
                                                                  {8812, 115 * kDegree},
                                                                  {8811, 4 * kDegree}})};
    EXPECT_NE(dynamic_cast<CHotineObliqueMercator*>(built[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<CObliqueMercator*>(built[1].get()), nullptr);
    for (const auto& p : built) {
        ASSERT_NE(p, nullptr);
        double x, y;
        p->Project(fixture::Dms(115, 48, 19.8196), fixture::Dms(5, 23, 14.1129), x, y);
        EXPECT_NEAR(x, 679245.73, 0.006);
        EXPECT_NEAR(y, 596562.78, 0.006);
    }
}

} // namespace
