// The shared geodesy of the projections (projections/geodesy.h, fast_math.h and the ellipsoid
// base) against published values and against the definitions evaluated in long double.
#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/map_projection.h"
#include "projections/geodesy.h"
#include "reference_fixture.h"

namespace {

using testconst::kDegree;
using testconst::kPi;
typedef long double Ld;
const double kInf = INFINITY;

// Opens the protected routines and constants of the ellipsoid base to the tests.
class Base : public CMapProjection {
public:
    using CMapProjection::CMapProjection;
    int Project(double, double, double&, double&) const override { return 1; }
    int UnProject(double, double, double&, double&) const override { return 1; }
    using CMapProjection::IsSphere, CMapProjection::MDist, CMapProjection::MDistInv,
        CMapProjection::MeridianPhi, CMapProjection::Rho, CMapProjection::Theta;
    using CMapProjection::m_dA, CMapProjection::m_dB, CMapProjection::m_dE, CMapProjection::m_dE2,
        CMapProjection::m_dF, CMapProjection::m_adConfLat, CMapProjection::m_adMDist,
        CMapProjection::m_adMDistInv;
};

class Geodesy : public fixture::ReferenceData {};

// Rows with a and 1/f, a and b, only a, and no row at all.
TEST_F(Geodesy, EllipsoidBaseDerivesTheMissingAxisOrFlattening) {
    const double a = 6378137.0, invF = 298.257223563, b = 6356752.314245179;
    const std::tuple<int, double, double, int> rows[] = {
        {fixture::AddEllipsoid(9001, "1/f only", a, invF, 0), a * (1 - 1 / invF), 1 / invF, 0},
        {fixture::AddEllipsoid(9002, "b only", a, 0, b), b, (a - b) / a, 0},
        {fixture::AddEllipsoid(9003, "a only", a, 0.5, 0), a, 0, 1}, // a sphere, not f = 1
        {3, 6371000.0, 0, 1},                                        // "Sphere": b equals a
        {1000, 0, 0, 1}, // no loaded row: radius 0, nothing read outside the array
    };
    for (const auto& [index, minor, flat, sphere] : rows) {
        const Base p(index);
        EXPECT_NEAR(p.m_dB, minor, 1e-9) << index;
        EXPECT_NEAR(p.m_dF, flat, 1e-17) << index;
        EXPECT_NEAR(p.m_dE, std::sqrt(flat * (2 - flat)), 1e-16) << index;
        EXPECT_EQ(p.IsSphere(), sphere) << index;
    }
    EXPECT_FALSE(std::isfinite(Base(1000).Theta(0.5) / Base(1000).m_dA));
    EXPECT_DOUBLE_EQ(Base(3).MDist(0.7), 6371000.0 * 0.7);
    EXPECT_EQ(Base(3).MDistInv(0.3, 0.3 * 6371000.0), 0.3);
    EXPECT_EQ(Base(3).MeridianPhi(0.4), 0.4);
}

// Vincenty's inverse formula: the Geoscience Australia example Flinders Peak to Buninyong on
// GRS 80 (54972.271 m), arcs of the equator, coincident and nearly antipodal points.
TEST_F(Geodesy, GeodesicDistance) {
    const Base grs80(1);
    EXPECT_NEAR(grs80.GeodesicDistance(
                    fixture::Angle("144:25:29.52440"), fixture::Angle("-37:57:3.72030"),
                    fixture::Angle("143:55:35.38390"), fixture::Angle("-37:39:10.15610")),
                54972.271, 0.001);
    EXPECT_EQ(grs80.GeodesicDistance(0.3, 0.4, 0.3, 0.4), 0);
    for (const Base& p : {Base(2), Base(3)})
        for (double deg : {1.0, 90.0, 179.0})
            EXPECT_NEAR(p.GeodesicDistance(0, 0, deg * kDegree, 0), p.m_dA * deg * kDegree, 1e-5);
    EXPECT_EQ(Base(2).GeodesicDistance(0, 0, 179.7 * kDegree, 0), 0); // no convergence
    EXPECT_EQ(Base(2).GeodesicDistance(0, 0.5 * kDegree, 179.8 * kDegree, -0.5 * kDegree), 0);
}

// Published WGS 84 values: the quarter meridian, the arc to 45 degrees and the radii of
// curvature there; the arc against the integral of the meridian radius (Simpson, long double)
// on three ellipsoids; the footpoint, its sine and cosine, back to 1e-13 rad.
TEST_F(Geodesy, MeridianArcFootpointAndRadii) {
    const Base wgs84(2);
    EXPECT_NEAR(wgs84.MDist(kPi / 2), 10001965.729, 0.001);
    EXPECT_NEAR(wgs84.MDist(45 * kDegree), 4984944.378, 0.001);
    const double s45 = std::sin(45 * kDegree);
    EXPECT_NEAR(wgs84.Theta(s45), 6388838.290, 0.001);
    EXPECT_NEAR(wgs84.Rho(s45), 6367381.816, 0.001);
    for (int row : {0, 2, 4}) {
        const Base p(row);
        const Ld a = p.m_dA, e2 = p.m_dE2;
        for (double deg = -89; deg <= 89; deg += 0.5) {
            const double phi = deg * kDegree, s = std::sin(phi);
            const Ld w = 1 - e2 * s * s;
            EXPECT_NEAR(p.Rho(s), static_cast<double>(a * (1 - e2) / (w * std::sqrt(w))), 1e-8);
            EXPECT_NEAR(p.Theta(s), static_cast<double>(a / std::sqrt(w)), 1e-8);
            if (row == 2 && std::fmod(deg, 10) == 0) { // Simpson's rule, 2000 intervals
                Ld sum = 0, h = static_cast<Ld>(phi) / 2000;
                for (int i = 0; i <= 2000; ++i) {
                    const Ld si = std::sin(i * h), wi = 1 - e2 * si * si;
                    sum += (i == 0 || i == 2000 ? 1 : i % 2 ? 4 : 2) / (wi * std::sqrt(wi));
                }
                EXPECT_NEAR(p.MDist(phi), static_cast<double>(sum * h / 3 * a * (1 - e2)), 1e-6);
            }
            const double m = p.MDist(phi);
            const auto foot =
                gx::FootpointLatitude(p.m_dA, p.m_dE2, p.m_adMDist, p.m_adMDistInv, m);
            EXPECT_NEAR(foot.phi, phi, 1e-13) << row << ' ' << deg;
            EXPECT_NEAR(foot.s, std::sin(foot.phi), 3e-16) << deg;
            EXPECT_NEAR(foot.c, std::cos(foot.phi), 3e-16) << deg;
            EXPECT_EQ(p.MDistInv(m / (p.m_dA * p.m_adMDist[0]), m), foot.phi);
        }
    }
    // Beyond the poles the Newton steps do not settle: the series value stands.
    EXPECT_TRUE(std::isfinite(gx::FootpointLatitude(wgs84.m_dA, wgs84.m_dE2, wgs84.m_adMDist,
                                                    wgs84.m_adMDistInv, 40 * wgs84.m_dA)
                                  .phi));
}

// t(phi), the isometric latitude, m(phi) and q(phi) from their definitions in long double;
// conformal (series to e^8) and authalic (to e^6) latitudes back to the geodetic one.
TEST_F(Geodesy, LatitudeFunctionsAgreeWithTheirDefinitions) {
    const Base wgs84(2);
    const double e = wgs84.m_dE, e2 = wgs84.m_dE2;
    const Ld le = e;
    const Ld qp = (1 - le * le) * (1 / (1 - le * le) + std::atanh(le) / le);
    for (double deg = -89.9; deg <= 89.9; deg += 0.1) {
        const double phi = deg * kDegree, s = std::sin(phi), c = std::cos(phi);
        const Ld ls = s, lc = c, es = le * ls;
        const Ld t = lc / (1 + ls) / std::pow((1 - es) / (1 + es), le / 2);
        const Ld psi = std::log((1 + ls) / lc) - le * std::atanh(es);
        const Ld q = (1 - le * le) * (ls / (1 - es * es) + std::atanh(es) / le);
        // Both forms lose digits towards a pole as their definitions do (1 -+ sin phi).
        const double near = 1e-15 / (1 - std::fabs(s)) + 1e-15;
        EXPECT_NEAR(gx::ConformalT(s, c, e), static_cast<double>(t), near * static_cast<double>(t));
        EXPECT_NEAR(gx::IsometricLatitude(s, c, e), static_cast<double>(psi),
                    1e-15 + 1e-16 * std::fabs(deg));
        EXPECT_NEAR(gx::IsometricLatitude(s, e), static_cast<double>(psi), near);
        EXPECT_NEAR(gx::ParallelRadius(s, c, e2), static_cast<double>(lc / std::sqrt(1 - es * es)),
                    2.3e-16);
        EXPECT_NEAR(gx::AuthalicQ(s, e, e2), static_cast<double>(q), 1e-15);
        EXPECT_NEAR(gx::AuthalicQOfSin(s, e, e2), static_cast<double>(q), 1e-15);
        EXPECT_NEAR(gx::GeodeticFromConformalT(static_cast<double>(t), wgs84.m_adConfLat), phi,
                    2.5e-12);
        const double chi = static_cast<double>(2 * std::atan(std::exp(psi)) - kPi / 2);
        EXPECT_NEAR(wgs84.MeridianPhi(chi), phi, 2.5e-12) << deg;
        const double sinBeta = static_cast<double>(q / qp);
        EXPECT_NEAR(gx::AuthalicToGeodetic(std::asin(sinBeta), sinBeta,
                                           std::sqrt(1 - sinBeta * sinBeta), e2, e2 * e2),
                    phi, 1e-9)
            << deg; // the series to e^6
    }
    // The signs at the poles: psi infinite from sin phi alone, t 0 at the north pole.
    EXPECT_EQ(gx::IsometricLatitude(1.0, e), kInf);
    EXPECT_EQ(gx::IsometricLatitude(-1.0, e), -kInf);
    EXPECT_EQ(gx::IsometricLatitude(-1.0, std::cos(-kPi / 2), e), -kInf);
    EXPECT_TRUE(std::isnan(gx::IsometricLatitude(0.5, -0.8, e))); // beyond a pole
}

// Each fold's rule at its boundaries (pairs of input and result), huge values and NaN:
// FoldLongitude takes fmod first (7 pi stays pi), FoldLongitudeOnce one step only (5 pi gives
// 3 pi), FoldLatitude adds pi rather than reflecting (-100 degrees gives 80).
TEST(GeodesyFolds, RulesAtTheBoundaries) {
    const std::pair<double (*)(double), std::vector<double>> cases[] = {
        {gx::FoldLongitude,
         {kPi, kPi, -kPi, -kPi, 2 * kPi, 0, -2 * kPi, 0, 1.5 * kPi, -0.5 * kPi, -1.5 * kPi,
          0.5 * kPi, 7 * kPi, kPi}},
        {gx::FoldLongitudeOnce,
         {1.5 * kPi, -0.5 * kPi, -1.5 * kPi, 0.5 * kPi, 5 * kPi, 3 * kPi, -kPi, -kPi}},
        {gx::FoldLatitude,
         {100 * kDegree, 80 * kDegree, -100 * kDegree, 80 * kDegree, -190 * kDegree, -10 * kDegree,
          kPi / 2, kPi / 2, 2 * kPi + 0.25, 0.25}},
        {[](double d) { return gx::FoldDegrees(d, true); },
         {180, 180, 190, -170, 540, -180, -180.5, 179.5}},
        {[](double d) { return gx::FoldDegrees(d, false); }, {359, 359, 360, 0, -700, 20}}};
    for (const auto& [fold, pairs] : cases)
        for (size_t i = 0; i < pairs.size(); i += 2)
            EXPECT_NEAR(fold(pairs[i]), pairs[i + 1], 1e-13) << pairs[i];
    using Fold = double (*)(double);
    for (Fold fold :
         {Fold{gx::FoldLongitude}, Fold{gx::FoldLatitude}, Fold{gx::FoldLongitudeOnce}}) {
        EXPECT_TRUE(std::isnan(fold(NAN)));
        EXPECT_LE(std::fabs(fold(1e300)), fold == Fold{gx::FoldLongitudeOnce} ? kInf : kPi);
    }
    EXPECT_TRUE(std::isnan(gx::FoldLongitude(kInf)));
    EXPECT_TRUE(std::isnan(gx::FoldDegrees(kInf, true)));
}

// The stand-ins against the standard functions they replace, over and beyond their ranges.
TEST(GeodesyFastMath, StandInsAgreeWithTheStandardFunctions) {
    for (double x = -0.3; x <= 0.3; x += 0.0007)
        EXPECT_NEAR(gx::EccentricAtanh(x), std::atanh(x), 1e-15 * std::fabs(std::atanh(x))) << x;
    for (double y = -0.05; y <= 0.05; y += 0.0001)
        EXPECT_NEAR(gx::SmallExp(y), std::exp(y), 2.5e-16 * std::exp(y)) << y;
    const double c[7] = {1.5, -0.25, 0.125, 3e-3, -2e-4, 1e-5, -7e-7};
    for (double x = -1; x <= 1; x += 0.01)
        EXPECT_NEAR(gx::Poly7(c, x), gx::Horner(c, 7, x), 4e-16) << x;
    for (double step : {-0.7, 0.02, -0.009, 3e-4, 1e-7, -2e-9, 1e-12}) {
        double s = std::sin(0.6), cs = std::cos(0.6);
        gx::StepSinCos(0.6 - step, step, s, cs);
        EXPECT_NEAR(s, std::sin(0.6 - step), 2e-16) << step;
        EXPECT_NEAR(cs, std::cos(0.6 - step), 2e-16) << step;
    }
}

} // namespace
