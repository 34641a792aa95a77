#include <cmath>

#include <gtest/gtest.h>

#include "geoxform/map_projection.h"
#include "reference_fixture.h"

namespace {

const double kPi = 3.141592653589793;
const double kDegree = kPi / 180;

// Opens the protected routines of the ellipsoid base to the tests.
class Base : public CMapProjection {
public:
    using CMapProjection::CMapProjection;
    int Project(double, double, double&, double&) const override { return 1; }
    int UnProject(double, double, double&, double&) const override { return 1; }
    using CMapProjection::IsSphere;
    using CMapProjection::MDist;
    using CMapProjection::MDistInv;
    using CMapProjection::MeridianPhi;
    using CMapProjection::Rho;
    using CMapProjection::SaveLambda;
    using CMapProjection::SavePhi;
    using CMapProjection::Theta;
    double A() const { return m_dA; }
    double B() const { return m_dB; }
    double E2() const { return m_dE2; }
    double F() const { return m_dF; }
    double D0() const { return m_adMDist[0]; }
};

class MapProjection : public fixture::ReferenceData {};

TEST_F(MapProjection, SphereHasNoEccentricityAndPlainSeries) {
    const Base sphere(3); // "Sphere": b equals a
    EXPECT_EQ(sphere.IsSphere(), 1);
    EXPECT_EQ(sphere.F(), 0);
    EXPECT_EQ(sphere.E2(), 0);
    EXPECT_DOUBLE_EQ(sphere.MDist(0.7), 6371000.0 * 0.7);
    EXPECT_EQ(sphere.MDistInv(0.3, 0.3 * 6371000.0), 0.3);
    EXPECT_EQ(sphere.MeridianPhi(0.4), 0.4);
}

TEST_F(MapProjection, MissingSemiMinorAxisOrFlatteningIsDerived) {
    const int derivedB = fixture::AddEllipsoid(9001, "1/f only", 6378137.0, 298.257223563, 0);
    const Base e1(derivedB);
    EXPECT_DOUBLE_EQ(e1.B(), 6378137.0 * (1 - 1 / 298.257223563));
    EXPECT_EQ(e1.IsSphere(), 0);

    const int derivedF = fixture::AddEllipsoid(9002, "b only", 6378137.0, 0, 6356752.314245179);
    EXPECT_DOUBLE_EQ(Base(derivedF).F(), (6378137.0 - 6356752.314245179) / 6378137.0);

    // Only a: taken as a sphere of radius a rather than f = 1 and an infinite e'^2.
    const int onlyA = fixture::AddEllipsoid(9003, "a only", 6378137.0, 0.5, 0);
    const Base e3(onlyA);
    EXPECT_EQ(e3.IsSphere(), 1);
    EXPECT_EQ(e3.B(), 6378137.0);

    // An index that is no loaded row reads nothing and projects to non-finite values.
    const Base none(1000);
    EXPECT_EQ(none.A(), 0);
    EXPECT_FALSE(std::isfinite(none.Theta(0.5) / none.A()));
}

TEST_F(MapProjection, FoldingOfLatitudeAndLongitude) {
    const Base p(2);
    struct Case {
        double in, out;
    };
    for (const Case& c : {Case{3 * kPi / 2, -kPi / 2}, Case{-3 * kPi / 2, kPi / 2}, Case{kPi, kPi},
                          Case{-kPi, -kPi}, Case{2 * kPi, 0}, Case{-2 * kPi, 0}})
        EXPECT_NEAR(p.SaveLambda(c.in), c.out, 1e-15) << c.in;
    for (const Case& c : {Case{100 * kDegree, 80 * kDegree}, Case{-100 * kDegree, 80 * kDegree},
                          Case{-190 * kDegree, -10 * kDegree}, Case{45 * kDegree, 45 * kDegree}})
        EXPECT_NEAR(p.SavePhi(c.in), c.out, 1e-15) << c.in / kDegree;
}

// Meridian arc against the closed values of the WGS 84 quarter meridian (10001965.729 m) and
// Helmert's series, and its inverse to 1e-13 rad up to 89 degrees.
TEST_F(MapProjection, MeridianArcAndItsInverse) {
    const Base wgs84(2);
    EXPECT_NEAR(wgs84.MDist(kPi / 2), 10001965.729, 0.001);
    EXPECT_NEAR(wgs84.MDist(45 * kDegree), 4984944.378, 0.001);
    for (double deg = -89; deg <= 89; deg += 0.5) {
        const double phi = deg * kDegree;
        const double m = wgs84.MDist(phi);
        EXPECT_NEAR(wgs84.MDistInv(m / (wgs84.A() * wgs84.D0()), m), phi, 1e-13) << deg;
    }
}

TEST_F(MapProjection, RadiiOfCurvature) {
    const Base wgs84(2);
    const double s = std::sin(45 * kDegree);
    EXPECT_NEAR(wgs84.Theta(s), 6388838.290, 0.001);
    EXPECT_NEAR(wgs84.Rho(s), 6367381.816, 0.001);
}

// Vincenty's inverse formula: the Geoscience Australia example Flinders Peak to Buninyong on
// GRS 80 (54972.271 m), the equator, coincident and nearly antipodal points.
TEST_F(MapProjection, GeodesicDistance) {
    const Base grs80(1);
    auto dms = [](double d, double m, double s) { return (d + m / 60 + s / 3600) * kDegree; };
    EXPECT_NEAR(grs80.GeodesicDistance(dms(144, 25, 29.52440), -dms(37, 57, 3.72030),
                                       dms(143, 55, 35.38390), -dms(37, 39, 10.15610)),
                54972.271, 0.001);
    EXPECT_EQ(grs80.GeodesicDistance(0.3, 0.4, 0.3, 0.4), 0);
    for (const Base& p : {Base(2), Base(3)})
        for (double deg : {1.0, 90.0, 179.0})
            EXPECT_NEAR(p.GeodesicDistance(0, 0, deg * kDegree, 0), p.A() * deg * kDegree, 1e-5)
                << deg;
    EXPECT_EQ(Base(2).GeodesicDistance(0, 0, 179.7 * kDegree, 0), 0); // no convergence
    EXPECT_EQ(Base(2).GeodesicDistance(0, 0.5 * kDegree, 179.8 * kDegree, -0.5 * kDegree), 0);
}

TEST_F(MapProjection, CopiesCarryEveryConstant) {
    const Base original(0);
    Base copy(3);
    copy = original;
    EXPECT_EQ(copy.A(), original.A());
    EXPECT_EQ(copy.MDist(0.9), original.MDist(0.9));
    EXPECT_EQ(Base(original).MDistInv(0.5, 3e6), original.MDistInv(0.5, 3e6));
}

} // namespace
