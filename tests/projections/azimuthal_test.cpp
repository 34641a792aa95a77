#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/lambert_azimuthal_equal_area.h"
#include "projections/modified_azimuthal_equidistant.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const int kGrs80 = 1, kWgs84 = 2; // rows of the fixture

class Azimuthal : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_clarke1866 =
            fixture::AddEllipsoid(7008, "Clarke 1866", 6378206.4, 294.9786982, 6356583.8);
    }
    int m_clarke1866 = -1;
};

// EPSG guidance note 7-2 examples, forward to the printed precision and back:
// - Lambert Azimuthal Equal Area: ETRS89 / LAEA Europe, 50d N 5d E -> 3962799.45 E,
//   2999718.85 N;
// - Modified Azimuthal Equidistant: Guam 1963 / Yap Islands, 9d35'47.493"N 138d11'34.908"E ->
//   42665.90 E, 65509.82 N.
// The inverse of the equal-area projection ends on the authalic series to e^6, whose error
// here is 0.35 mm.
TEST_F(Azimuthal, GuidanceNoteExamples) {
    const CLambertAzimuthalEqualArea laea(kGrs80, 10 * kDegree, 52 * kDegree, 4321000, 3210000);
    const CModifiedAzimuthalEquidistant yap(m_clarke1866, fixture::Dms(138, 10, 7.48),
                                            fixture::Dms(9, 32, 48.15), 40000, 60000);
    struct Case {
        const CProjection* p;
        double lon, lat, x, y;
    } cases[] = {
        {&laea, 5 * kDegree, 50 * kDegree, 3962799.45, 2999718.85},
        {&yap, fixture::Dms(138, 11, 34.908), fixture::Dms(9, 35, 47.493), 42665.90, 65509.82},
    };
    for (const Case& c : cases) {
        double x = 0, y = 0, lon = 0, lat = 0;
        EXPECT_EQ(c.p->Project(c.lon, c.lat, x, y), 1);
        EXPECT_NEAR(x, c.x, 0.006) << c.x;
        EXPECT_NEAR(y, c.y, 0.006) << c.x;
        EXPECT_EQ(c.p->UnProject(c.x, c.y, lon, lat), 1);
        EXPECT_LT(fixture::GroundMetres(lon, lat, c.lon, c.lat), 0.006) << c.x;
    }
}

// Round trips of the equal-area projection over a hemisphere-wide grid, for oblique, polar and
// equatorial origins: the authalic series to e^6 of the inverse bounds them, to 2.5e-10 rad
// (1.6 mm) at 20 degrees of latitude on WGS 84.
TEST_F(Azimuthal, LambertRoundTrips) {
    for (double lat0 : {52.0, 90.0, -90.0, 0.0, -33.0}) {
        const CLambertAzimuthalEqualArea p(kWgs84, 10 * kDegree, lat0 * kDegree, 4321000, 3210000);
        for (double dlon = -80; dlon <= 80; dlon += 20)
            for (double lat = -80; lat <= 80; lat += 10) {
                if (std::fabs(lat - lat0) > 80 || (std::fabs(lat0) < 60 && std::fabs(dlon) > 60))
                    continue;
                const double lon = (10 + dlon) * kDegree;
                double x, y, lonBack, latBack;
                p.Project(lon, lat * kDegree, x, y);
                p.UnProject(x, y, lonBack, latBack);
                EXPECT_NEAR(std::remainder(lonBack - lon, 2 * kPi), 0, 1e-12) << lat0 << dlon;
                EXPECT_NEAR(latBack, lat * kDegree, 3e-10) << lat0 << " " << dlon << " " << lat;
            }
    }
}

// An origin at a pole: D is 0/0 in the plain formula (m(phi0) and cos beta0 both vanish); its
// limit is 1, which makes the projection of a parallel a circle of radius a sqrt(qP - q).
TEST_F(Azimuthal, LambertPolarOriginHasTheLimitScale) {
    const double e2 = 2 / 298.257223563 - 1 / (298.257223563 * 298.257223563);
    const double e = std::sqrt(e2), a = 6378137;
    auto q = [&](double phi) {
        const double s = std::sin(phi);
        return (1 - e2) * (s / (1 - e2 * s * s) - std::log((1 - e * s) / (1 + e * s)) / (2 * e));
    };
    for (double pole : {1.0, -1.0}) {
        const CLambertAzimuthalEqualArea p(kWgs84, 0, pole * 90 * kDegree, 0, 0);
        for (double lat = 45; lat <= 89; lat += 11) {
            for (double lon : {0.0, 45.0, 135.0}) {
                double x, y;
                p.Project(lon * kDegree, pole * lat * kDegree, x, y);
                const double rho = a * std::sqrt(q(kPi / 2) - q(lat * kDegree));
                EXPECT_NEAR(std::hypot(x, y), rho, 1e-6) << pole << " " << lat;
            }
        }
    }
}

// The centre: the inverse divides 0 by 0 there; it returns the origin itself.
TEST_F(Azimuthal, LambertCentreIsTheOrigin) {
    for (double lat0 : {52.0, 0.0, 90.0, -90.0}) {
        const CLambertAzimuthalEqualArea p(kGrs80, 10 * kDegree, lat0 * kDegree, 4321000, 3210000);
        double x, y, lon = NAN, lat = NAN;
        p.Project(10 * kDegree, lat0 * kDegree, x, y);
        EXPECT_NEAR(x, 4321000, 1e-6);
        EXPECT_NEAR(y, 3210000, 1e-6);
        EXPECT_EQ(p.UnProject(4321000, 3210000, lon, lat), 1);
        EXPECT_EQ(lon, 10 * kDegree);
        EXPECT_EQ(lat, lat0 * kDegree);
    }
}

// The fourth-order term of the modified azimuthal equidistant inverse is subtracted, the sign
// that inverts the forward series: round trips 2 degrees from the origin come back to within
// 1.3e-11 rad (with the term added, measured: up to 1.2e-9 rad; half a degree out 1e-14 rad
// against 5e-12 rad). Points on a circle around origins north, south and on the equator.
TEST_F(Azimuthal, ModifiedInverseInvertsTheForwardSeries) {
    for (double lat0 : {9.5467, 45.0, -30.0, 0.0}) {
        const CModifiedAzimuthalEquidistant p(m_clarke1866, 138 * kDegree, lat0 * kDegree, 40000,
                                              60000);
        for (double dist : {0.5, 2.0})
            for (int k = 0; k < 36; ++k) {
                const double az = k * 10 * kDegree;
                const double lat = (lat0 + dist * std::cos(az)) * kDegree;
                const double lon = (138 + dist * std::sin(az) / std::cos(lat0 * kDegree)) * kDegree;
                double x, y, lonBack, latBack;
                p.Project(lon, lat, x, y);
                p.UnProject(x, y, lonBack, latBack);
                const double bound = dist < 1 ? 1e-13 : 2e-11;
                EXPECT_NEAR(lonBack, lon, bound) << lat0 << " " << dist << " " << k;
                EXPECT_NEAR(latBack, lat, bound) << lat0 << " " << dist << " " << k;
            }
    }
}

// Points due north and due south of the origin (sin alpha = 0) take the meridian branch: due
// north stays on x = FE north of FN, due south on x = FE south of FN at the same distance as
// the point a hair east of the meridian, which takes the other branch; lon + 2 pi, whose
// sine is not exactly that of lon, lands within a micrometre of the same point.
TEST_F(Azimuthal, ModifiedMeridianBranchNorthAndSouth) {
    const CModifiedAzimuthalEquidistant p(m_clarke1866, fixture::Dms(138, 10, 7.48),
                                          fixture::Dms(9, 32, 48.15), 40000, 60000);
    const double lon0 = fixture::Dms(138, 10, 7.48), lat0 = fixture::Dms(9, 32, 48.15);
    for (double dlat : {-0.3, -0.01, 0.01, 0.3}) {
        const double lat = lat0 + dlat * kDegree;
        double x, y, xNear, yNear, xWrap, yWrap;
        p.Project(lon0, lat, x, y);
        EXPECT_EQ(x, 40000) << dlat;
        EXPECT_GT(dlat * (y - 60000), 0) << dlat;
        p.Project(lon0 + 1e-12, lat, xNear, yNear);
        EXPECT_NEAR(y, yNear, 1e-6) << dlat;
        EXPECT_NEAR(x, xNear, 1e-4) << dlat;
        p.Project(lon0 + 2 * kPi, lat, xWrap, yWrap);
        EXPECT_NEAR(x, xWrap, 1e-6) << dlat;
        EXPECT_NEAR(y, yWrap, 1e-6) << dlat;
    }
    double x, y;
    p.Project(lon0, lat0, x, y);
    EXPECT_NEAR(x, 40000, 1e-9);
    EXPECT_NEAR(y, 60000, 1e-9);
}

// The inverse at the false origin returns the origin, also for an origin on the equator,
// where the plain formula divides by sin psi' = 0; longitudes come back in [-pi, pi].
TEST_F(Azimuthal, ModifiedOriginAndEquatorialOrigin) {
    for (double lat0 : {fixture::Dms(9, 32, 48.15), 0.0, -0.4}) {
        const CModifiedAzimuthalEquidistant p(m_clarke1866, 179.9 * kDegree, lat0, 40000, 60000);
        double lon = NAN, lat = NAN;
        EXPECT_EQ(p.UnProject(40000, 60000, lon, lat), 1);
        EXPECT_NEAR(lon, 179.9 * kDegree, 1e-15);
        EXPECT_NEAR(lat, lat0, 1e-15);
        double x, y;
        p.Project(-179.9 * kDegree, lat0 + 0.001, x, y);
        p.UnProject(x, y, lon, lat);
        EXPECT_NEAR(lon, -179.9 * kDegree, 1e-12);
        EXPECT_NEAR(lat, lat0 + 0.001, 1e-12);
    }
}

// The factory builds methods 11 and 20 from origin longitude, latitude, false easting and
// northing: the guidance note examples again.
TEST_F(Azimuthal, FactoryArguments) {
    const std::unique_ptr<CProjection> laea = fixture::Built(
        11, kGrs80, {{8807, 3210000}, {8806, 4321000}, {8802, 10 * kDegree}, {8801, 52 * kDegree}});
    const std::unique_ptr<CProjection> yap = fixture::Built(20, m_clarke1866,
                                                            {{8807, 60000},
                                                             {8806, 40000},
                                                             {8802, fixture::Dms(138, 10, 7.48)},
                                                             {8801, fixture::Dms(9, 32, 48.15)}});
    ASSERT_NE(dynamic_cast<CLambertAzimuthalEqualArea*>(laea.get()), nullptr);
    ASSERT_NE(dynamic_cast<CModifiedAzimuthalEquidistant*>(yap.get()), nullptr);
    double x, y;
    laea->Project(5 * kDegree, 50 * kDegree, x, y);
    EXPECT_NEAR(x, 3962799.45, 0.006);
    EXPECT_NEAR(y, 2999718.85, 0.006);
    yap->Project(fixture::Dms(138, 11, 34.908), fixture::Dms(9, 35, 47.493), x, y);
    EXPECT_NEAR(x, 42665.90, 0.006);
    EXPECT_NEAR(y, 65509.82, 0.006);
}

} // namespace
