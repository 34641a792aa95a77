// Cassini-Soldner (EPSG method 9806); EPSG guidance note 7-2, Cassini-Soldner.
#include "projections/cassini_soldner.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The series' constant divisors as factors.
const double kSixth = 1.0 / 6, kThird = 1.0 / 3;
const double k1Over15 = 1.0 / 15, k1Over24 = 1.0 / 24, k1Over120 = 1.0 / 120;

} // namespace

int CCassiniSoldner::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const double dLambda = SaveLambda(SaveLambda(dLongitude) - m_dLon0);
    // One sine and cosine of the latitude serve the tangent, nu and the meridian arc.
    const double s = std::sin(dLatitude), c = std::cos(dLatitude);
    const double tanPhi = s / c;
    const double A = dLambda * c;
    const double T = tanPhi * tanPhi;
    const double C = m_dEp2 * c * c;
    const double M = gx::MeridianArcSinCos(m_dA, m_adMDist, dLatitude, s, c);
    const double nu = gx::PrimeVerticalRadius(m_dA, m_dE2, s);
    const double A2 = A * A;
    const double X = A - T * A2 * A * kSixth - (8 - T + 8 * C) * T * A2 * A2 * A * k1Over120;
    const double Y = A2 * 0.5 + (5 - T + 6 * C) * A2 * A2 * k1Over24;
    dX = nu * X + m_dFalseEasting;
    dY = nu * tanPhi * Y + (m_dFalseNorthing + M - m_dM0);
    return 1;
}

int CCassiniSoldner::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    // The footpoint latitude phi1 of MDistInv, with its sine and cosine.
    const double M1 = dY - m_dFalseNorthing + m_dM0;
    const gx::LatitudeSinCos foot = gx::FootpointLatitude(m_dA, m_dE2, m_adMDist, m_adMDistInv, M1);
    const double w = 1 - m_dE2 * foot.s * foot.s;
    const double nu1 = gx::PrimeVerticalRadius(m_dA, m_dE2, foot.s);
    const double nuOverRho1 = w / (1 - m_dE2);
    const double tan1 = foot.s / foot.c;
    const double T1 = tan1 * tan1;
    const double D = (dX - m_dFalseEasting) / nu1;
    const double D2 = D * D;
    dLatitude = SavePhi(foot.phi - nuOverRho1 * tan1 * D2 * (0.5 - (1 + 3 * T1) * D2 * k1Over24));
    dLongitude = SaveLambda(
        (D - T1 * D2 * D * kThird + (1 + 3 * T1) * T1 * D2 * D2 * D * k1Over15) / foot.c + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::CassiniArrayKernels(const CProjection&) {
    return {};
}
