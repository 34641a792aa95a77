// American polyconic projection (EPSG method 9818): EPSG guidance note 7-2, "American
// Polyconic"; Snyder, Map Projections: A Working Manual, pp. 128-131 (the inverse by the
// Newton-Raphson iteration of eq. 18-21 to 18-25).
#include "projections/american_polyconic.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

int CAmericanPolyconic::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const double dLambda = gx::FoldLongitudeOnce(dLongitude - m_dLon0);
    if (std::fabs(dLatitude) < 1e-16) { // the equator: a straight line
        dX = m_dFalseEasting + m_dA * dLambda;
        dY = m_dFalseNorthing - m_dM0;
        return 1;
    }
    const double s = std::sin(dLatitude), c = std::cos(dLatitude);
    const double nuCot = gx::PrimeVerticalRadius(m_dA, m_dE2, s) * c / s; // nu / tan phi
    // sin L and 1 - cos L = 2 sin^2(L/2) from the sine and cosine of L/2.
    const double half = dLambda * s * 0.5;
    const double sh = std::sin(half), ch = std::cos(half);
    const double arc = gx::MeridianArcSinCos(m_dA, m_adMDist, dLatitude, s, c);
    dX = m_dFalseEasting + nuCot * 2 * sh * ch;
    dY = m_dFalseNorthing + (arc - m_dM0) + nuCot * 2 * sh * sh;
    return 1;
}

int CAmericanPolyconic::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    const double a = m_dA, e2 = m_dE2;
    const double dE = dX - m_dFalseEasting;
    const double S = dY - m_dFalseNorthing + m_dM0;
    if (std::fabs(S) < 1e-16) {
        dLatitude = 0;
        dLongitude = SaveLambda(dE / a + m_dLon0);
        return 1;
    }
    const double A = S / a, B = (dE / a) * (dE / a) + A * A;
    // Newton steps on phi; sin and cos of each iterate follow the steps by the addition
    // formulas, and the divisions are shared: with q = 1 / (sin phi cos phi) = 2 / sin 2phi,
    // tan phi = sin^2 phi q and e^2 sin 2phi / (4C) = e^2 cos^2 phi / (2 sqrt(w)).
    double phi = A, s = std::sin(phi), c = std::cos(phi), C = 0;
    dLatitude = phi;
    for (int k = 0; k < 16; ++k) {
        const double w = 1 - e2 * s * s, rw = std::sqrt(w), rwInv = 1 / (rw * w);
        const double q = 1 / (s * c); // independent of the square root: the two run in parallel
        const double sin2 = 2 * s * c, cos2 = (c - s) * (c + s);
        const double Ma = m_adMDist[0] * phi + sin2 * gx::Poly7(m_adMDist + 1, cos2); // M / a
        const double Mn = (1 - e2) * rwInv;
        C = s * s * q * rw; // tan phi sqrt(w)
        const double H = e2 * c * c * (Ma * Ma + B - 2 * A * Ma) * w * rwInv / 2;
        const double J = C * Mn - q;
        const double delta =
            ((C * Ma + 1) * A - Ma - 0.5 * (Ma * Ma + B) * C) / ((A - Ma) * J + H - Mn);
        phi -= delta;
        dLatitude = phi;
        gx::StepSinCos(phi, delta, s, c);
        // Relative change at most 1e-15; a NaN ends the iteration too.
        if (!(std::fabs(delta) > 1e-15 * std::fabs(phi))) break;
    }
    dLongitude = SaveLambda(std::asin(C * dE / a) / s + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::PolyconicArrayKernels(const CProjection&) {
    return {};
}
