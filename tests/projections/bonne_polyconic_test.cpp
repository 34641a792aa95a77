#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "projections/american_polyconic.h"
#include "projections/bonne.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace {

const double kDegree = fixture::kDegree;
const double kPi = 3.141592653589793;
const double kHalfPi = 1.5707963267948966;
const int kWgs84 = 2; // row of the fixture

// Meridian arc from the equator on Clarke 1866 by numerical integration of the meridian
// radius of curvature (Simpson's rule on 2000 intervals), independent of the series.
double MeridianArc(double a, double e2, double phi) {
    const int n = 2000;
    double sum = 0;
    for (int i = 0; i <= n; ++i) {
        const double p = phi * i / n, s = std::sin(p), w = 1 - e2 * s * s;
        const double rho = a * (1 - e2) / (w * std::sqrt(w));
        sum += rho * (i == 0 || i == n ? 1 : i % 2 == 1 ? 4 : 2);
    }
    return sum * phi / (3 * n);
}

class BonnePolyconic : public fixture::ReferenceData {
protected:
    void SetUp() override {
        fixture::ReferenceData::SetUp();
        m_clarke1866 =
            fixture::AddEllipsoid(7008, "Clarke 1866", 6378206.4, 294.9786982, 6356583.8);
    }
    int m_clarke1866 = -1;
    const double m_a = 6378206.4, m_e2 = 1 - (6356583.8 / 6378206.4) * (6356583.8 / 6378206.4);
};

// Snyder, Map Projections: A Working Manual, polyconic (ellipsoid) example: Clarke 1866,
// origin 30d N 96d W, the point 40d N 75d W -> x = 1776774.5, y = 1319657.8, and back.
TEST_F(BonnePolyconic, SnyderPolyconicExample) {
    const CAmericanPolyconic p(m_clarke1866, -96 * kDegree, 30 * kDegree, 0, 0);
    double x, y, lon, lat;
    EXPECT_EQ(p.Project(-75 * kDegree, 40 * kDegree, x, y), 1);
    EXPECT_NEAR(x, 1776774.5, 0.06);
    EXPECT_NEAR(y, 1319657.8, 0.06);
    EXPECT_EQ(p.UnProject(1776774.5, 1319657.8, lon, lat), 1);
    EXPECT_NEAR(lon / kDegree, -75, 1e-6);
    EXPECT_NEAR(lat / kDegree, 40, 1e-6);
}

// Bonne, for a northern and a southern origin: the origin projects onto the false origin,
// the central meridian onto x = FE with y = FN + M(phi) - M0, and round trips over 20 x 20
// degrees return the point (for a southern origin with negative radii).
TEST_F(BonnePolyconic, BonneOriginMeridianAndRoundTrips) {
    for (double lat0 : {40.0, -35.0}) {
        const CBonne bonne(m_clarke1866, -75 * kDegree, lat0 * kDegree, 100000, 200000);
        double x, y, lon, lat;
        bonne.Project(-75 * kDegree, lat0 * kDegree, x, y);
        EXPECT_NEAR(x, 100000, 1e-6);
        EXPECT_NEAR(y, 200000, 1e-6);
        const double m0 = MeridianArc(m_a, m_e2, lat0 * kDegree);
        for (double dlat = -10; dlat <= 10; dlat += 5) {
            const double phi = (lat0 + dlat) * kDegree;
            bonne.Project(-75 * kDegree, phi, x, y);
            EXPECT_NEAR(x, 100000, 1e-6);
            EXPECT_NEAR(y, 200000 + MeridianArc(m_a, m_e2, phi) - m0, 1e-3) << lat0 << dlat;
        }
        for (double dlon = -10; dlon <= 10; dlon += 2.5)
            for (double dlat = -10; dlat <= 10; dlat += 2.5) {
                const double lonIn = (-75 + dlon) * kDegree, latIn = (lat0 + dlat) * kDegree;
                bonne.Project(lonIn, latIn, x, y);
                bonne.UnProject(x, y, lon, lat);
                EXPECT_NEAR(lon, lonIn, 1e-12) << lat0 << " " << dlon << " " << dlat;
                EXPECT_NEAR(lat, latIn, 1e-12) << lat0 << " " << dlon << " " << dlat;
            }
    }
}

// The south-oriented form mirrors the plain one through the false origin, and inverts that.
TEST_F(BonnePolyconic, BonneSouthMirrorsBonne) {
    const CBonne bonne(m_clarke1866, 25 * kDegree, -30 * kDegree, 1000, 2000);
    const CBonneSouth south(m_clarke1866, 25 * kDegree, -30 * kDegree, 1000, 2000);
    for (double dlon = -8; dlon <= 8; dlon += 4)
        for (double dlat = -8; dlat <= 8; dlat += 4) {
            const double lonIn = (25 + dlon) * kDegree, latIn = (-30 + dlat) * kDegree;
            double x, y, xs, ys, lon, lat;
            bonne.Project(lonIn, latIn, x, y);
            south.Project(lonIn, latIn, xs, ys);
            EXPECT_NEAR(xs, 2 * 1000 - x, 1e-6);
            EXPECT_NEAR(ys, 2 * 2000 - y, 1e-6);
            south.UnProject(xs, ys, lon, lat);
            EXPECT_NEAR(lon, lonIn, 1e-12);
            EXPECT_NEAR(lat, latIn, 1e-12);
        }
}

// At a pole every meridian meets and m(phi) = 0: the inverse of the projected pole returns
// the pole with the longitude of origin instead of 0 / 0.
TEST_F(BonnePolyconic, BonnePoleReturnsTheOriginLongitude) {
    for (double pole : {1.0, -1.0}) {
        const CBonne bonne(kWgs84, 10 * kDegree, pole * 45 * kDegree, 0, 0);
        const CBonneSouth south(kWgs84, 10 * kDegree, pole * 45 * kDegree, 0, 0);
        for (const CProjection* p :
             {static_cast<const CProjection*>(&bonne), static_cast<const CProjection*>(&south)}) {
            double x, y, lon = NAN, lat = NAN;
            p->Project(70 * kDegree, pole * kHalfPi, x, y);
            EXPECT_NEAR(x, 0, 1e-6);
            EXPECT_EQ(p->UnProject(x, y, lon, lat), 1);
            EXPECT_EQ(lon, 10 * kDegree) << pole;
            EXPECT_NEAR(lat, pole * kHalfPi, 1e-12) << pole;
        }
    }
}

// Polyconic: the origin projects onto the false origin; the equator (|phi| < 1e-16) is the
// straight line y = FN - M0, continuous with the general formula next to it, and its inverse
// returns latitude 0 through the S = 0 branch; the longitude difference is folded by one
// 2 pi step only, so 3 pi stays at pi.
TEST_F(BonnePolyconic, PolyconicOriginEquatorAndFolding) {
    const CAmericanPolyconic p(m_clarke1866, -54 * kDegree, 10 * kDegree, 5e6, 1e7);
    double x, y, x2, y2, lon, lat;
    p.Project(-54 * kDegree, 10 * kDegree, x, y);
    EXPECT_NEAR(x, 5e6, 1e-6);
    EXPECT_NEAR(y, 1e7, 1e-6);
    const double m0 = MeridianArc(m_a, m_e2, 10 * kDegree);
    p.Project(-44 * kDegree, 0, x, y);
    EXPECT_NEAR(x, 5e6 + m_a * 10 * kDegree, 1e-6);
    EXPECT_NEAR(y, 1e7 - m0, 1e-3);
    p.Project(-44 * kDegree, 1e-12, x2, y2);
    EXPECT_NEAR(x2, x, 1e-3);
    EXPECT_NEAR(y2, y, 1e-3);
    p.UnProject(x, y, lon, lat); // S is a rounding residue here, not 0
    EXPECT_NEAR(lat, 0, 1e-15);
    EXPECT_NEAR(lon, -44 * kDegree, 1e-12);
    const CAmericanPolyconic equatorial(m_clarke1866, -54 * kDegree, 0, 5e6, 1e7);
    equatorial.Project(-44 * kDegree, 0, x, y);
    EXPECT_EQ(y, 1e7);
    equatorial.UnProject(x, y, lon, lat);
    EXPECT_EQ(lat, 0);
    EXPECT_NEAR(lon, -44 * kDegree, 1e-12);
    // lon - lon0 = 3 pi: one step of -2 pi leaves pi, the same as lon - lon0 = pi.
    p.Project(-54 * kDegree + 3 * kPi, 20 * kDegree, x, y);
    p.Project(-54 * kDegree + kPi, 20 * kDegree, x2, y2);
    EXPECT_NEAR(x, x2, 1e-6);
    EXPECT_NEAR(y, y2, 1e-6);
}

// Polyconic round trips over the Brazilian grid's span (74 to 34 degrees W, 34 S to 6 N,
// origin on the equator) and around a northern origin.
TEST_F(BonnePolyconic, PolyconicRoundTrips) {
    const CAmericanPolyconic brazil(kWgs84, -54 * kDegree, 0, 5e6, 1e7);
    const CAmericanPolyconic north(m_clarke1866, -96 * kDegree, 30 * kDegree, 0, 0);
    for (const CAmericanPolyconic* p : {&brazil, &north}) {
        const double lon0 = p == &brazil ? -54 : -96, lat0 = p == &brazil ? -14 : 35;
        for (double dlon = -20; dlon <= 20; dlon += 5)
            for (double dlat = -20; dlat <= 20; dlat += 5) {
                const double lonIn = (lon0 + dlon) * kDegree, latIn = (lat0 + dlat) * kDegree;
                double x, y, lon, lat;
                p->Project(lonIn, latIn, x, y);
                p->UnProject(x, y, lon, lat);
                EXPECT_NEAR(lon, lonIn, 1e-12) << lon0 << " " << dlon << " " << dlat;
                EXPECT_NEAR(lat, latIn, 1e-12) << lon0 << " " << dlon << " " << dlat;
            }
    }
}

// The factory builds methods 19, 24 and 22 from origin longitude, latitude, false easting and
// northing.
TEST_F(BonnePolyconic, FactoryArguments) {
    const CBonne bonne(m_clarke1866, -96 * kDegree, 30 * kDegree, 1000, 2000);
    const CBonneSouth south(m_clarke1866, -96 * kDegree, 30 * kDegree, 1000, 2000);
    const CAmericanPolyconic poly(m_clarke1866, -96 * kDegree, 30 * kDegree, 1000, 2000);
    const std::pair<int, const CProjection*> cases[] = {{19, &bonne}, {24, &south}, {22, &poly}};
    for (const auto& c : cases) {
        const std::unique_ptr<CProjection> built = fixture::Built(
            c.first, m_clarke1866,
            {{8807, 2000}, {8806, 1000}, {8801, 30 * kDegree}, {8802, -96 * kDegree}});
        ASSERT_NE(built, nullptr) << c.first;
        double x1, y1, x2, y2;
        built->Project(-75 * kDegree, 40 * kDegree, x1, y1);
        c.second->Project(-75 * kDegree, 40 * kDegree, x2, y2);
        EXPECT_EQ(x1, x2) << c.first;
        EXPECT_EQ(y1, y2) << c.first;
    }
}

} // namespace
