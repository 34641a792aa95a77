// Lambert conic near-conformal (EPSG method 9817); EPSG guidance note 7-2, Lambert Conic
// Near-Conformal.
#include <cmath>

#include "geoxform/lambert_conic.h"
#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

const double kTolerance = 1e-15;
// The two iterations of the inverse have no bound of their own in the method; each stops after
// this many steps, which terrestrial ellipsoids never reach: Newton's steps on the cubic need at
// most 6 for points within 10000 km of the origin, and the latitude steps, which gain a factor
// of about 3n (n the third flattening) each, at most 8 - except on the equator, where the
// relative change cannot settle while the latitude shrinks towards 0 (some 140 steps) and the
// cap leaves it within 1e-15 of 0. On ellipsoids as flat as 1/f = 1.1 the latitude steps
// never settle and only the cap ends them.
const int kMaxSteps = 16;

} // namespace

CLambertConicNearConformal::CLambertConicNearConformal(int nEllipsoid, double dLon0, double dLat0,
                                                       double dK0, double dFalseEasting,
                                                       double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    const double a = m_dA, f = m_dF, e2 = m_dE2;
    const double n = f / (2 - f); // the third flattening, not a cone constant
    const double s0 = std::sin(dLat0);
    const double nu0 = gx::PrimeVerticalRadius(a, e2, s0);
    const double rho0 = gx::MeridianRadius(a, e2, s0);
    const double n2 = n * n;
    m_dCubicA = 1 / (6 * rho0 * nu0);
    m_dArcA = a * ((1 - n) + n2 * (5 * (1 - n) / 4 + 81 * n2 * (1 - n) / 64)) * gx::kDegree;
    m_dArcB = 3 * a * n * ((1 - n) + n2 * (7 * (1 - n) / 8 + 55 * n2 / 64)) / 2;
    m_dArcC = 15 * a * n2 * ((1 - n) + 3 * n2 * (1 - n) / 4) / 16;
    m_dArcD = 35 * a * n2 * n * ((1 - n) + 11 * n2 / 16) / 48;
    m_dArcE = 315 * a * n2 * n2 * (1 - n) / 512;
    m_dR0 = nu0 * dK0 / std::tan(dLat0);
    m_dS0 = Arc(dLat0);
}

double CLambertConicNearConformal::Arc(double dPhi) const {
    // The multiple-angle sines from one sine and cosine of 2phi: sin 4x = 2 sin 2x cos 2x,
    // sin 6x = sin 2x (4 cos^2 2x - 1), sin 8x = 4 sin 2x cos 2x (2 cos^2 2x - 1).
    const double s2 = std::sin(2 * dPhi), c2 = std::cos(2 * dPhi);
    const double sines = -m_dArcB + m_dArcD +
                         c2 * (2 * m_dArcC - 4 * m_dArcE + c2 * (-4 * m_dArcD + c2 * 8 * m_dArcE));
    return m_dArcA * dPhi * gx::kDegreesPerRadian + s2 * sines;
}

int CLambertConicNearConformal::Project(double dLongitude, double dLatitude, double& dX,
                                        double& dY) const {
    const double M = Arc(dLatitude) - m_dS0;
    const double Mk = m_dK0 * M * (1 + m_dCubicA * M * M);
    const double r = m_dR0 - Mk;
    const double theta = SaveLambda(dLongitude - m_dLon0) * std::sin(m_dLat0);
    const double sinTheta = std::sin(theta), cosTheta = std::cos(theta);
    dX = m_dFalseEasting + r * sinTheta;
    // r sin(theta) tan(theta/2), with tan(theta/2) = sin theta / (1 + cos theta).
    dY = m_dFalseNorthing + Mk + r * sinTheta * sinTheta / (1 + cosTheta);
    return 1;
}

int CLambertConicNearConformal::UnProject(double dX, double dY, double& dLongitude,
                                          double& dLatitude) const {
    const double dx = dX - m_dFalseEasting, dy = m_dR0 - (dY - m_dFalseNorthing);
    const double theta = std::atan2(dx, dy);
    double r = std::sqrt(dy * dy + dx * dx);
    if (m_dLat0 < 0) r = -r;
    const double Mk = m_dR0 - r;

    // Newton's steps on Mk = k0 M (1 + A M^2), from M = Mk; a NaN ends them.
    double M = Mk;
    double change = 1;
    for (int i = 0; i < kMaxSteps && change > kTolerance; ++i) {
        const double mNew =
            M - (Mk - m_dK0 * M * (1 + m_dCubicA * M * M)) / (-m_dK0 * (1 + 3 * m_dCubicA * M * M));
        change = std::fabs(M - mNew) / std::fabs(mNew);
        M = mNew;
    }

    // The latitude whose arc value is M + s0, by steps of the arc's difference over A'.
    double phi = m_dLat0 + M / m_dArcA * gx::kDegree;
    change = 1;
    for (int i = 0; i < kMaxSteps && change > kTolerance; ++i) {
        const double phiNew = phi + ((M + m_dS0) - Arc(phi)) / m_dArcA * gx::kDegree;
        change = std::fabs(phiNew - phi) / std::fabs(phiNew);
        phi = phiNew;
    }
    dLatitude = phi;
    dLongitude = SaveLambda(theta / std::sin(m_dLat0) + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::NearConformalArrayKernels(const CProjection&) {
    return {};
}
