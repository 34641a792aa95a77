// Lambert azimuthal equal-area projection (EPSG method 9820): EPSG guidance note 7-2, "Lambert
// Azimuthal Equal Area", oblique aspect.
#include "geoxform/lambert_azimuthal_equal_area.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CLambertAzimuthalEqualArea::CLambertAzimuthalEqualArea(int nEllipsoid, double dLon0, double dLat0,
                                                       double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing) {
    const double e = m_dE, e2 = m_dE2;
    m_dQp = gx::AuthalicQ(1.0, e, e2);
    const double q0 = gx::AuthalicQ(std::sin(dLat0), e, e2);
    // cos beta0 = sqrt(1 - (q0 / qP)^2) through qP - |q0|, formed without cancellation: next
    // to a pole both m(phi0) and cos beta0 vanish, and asin(q0 / qP) would leave cos beta0 as
    // a rounding residue (at phi0 = 90 degrees D would come out 0.45 % too large instead of
    // its limit 1). With s = |sin phi0|, 1 - s = cos^2 phi0 / (1 + s) and
    // qP - |q0| = (1 - s)(1 + e^2 s) / (1 - e^2 s^2) + (1 - e^2) atanh(e (1 - s) / (1 - e^2 s)) /
    // e.
    const double s = std::fabs(std::sin(dLat0)), c = std::cos(dLat0);
    const double oneMinusS = c * c / (1 + s);
    const double qDiff = oneMinusS * (1 + e2 * s) / (1 - e2 * s * s) +
                         (1 - e2) * std::atanh(e * oneMinusS / (1 - e2 * s)) / e;
    const double qCos = std::sqrt(qDiff * (m_dQp + std::fabs(q0))); // qP cos beta0
    m_dBeta0 = std::atan2(q0, qCos);                                // asin(q0 / qP)
    m_dRq = m_dA * std::sqrt(m_dQp * 0.5);
    m_dD = m_dA * gx::ParallelRadius(std::sin(dLat0), c, e2) / (m_dRq * (qCos / m_dQp));
}

int CLambertAzimuthalEqualArea::Project(double dLongitude, double dLatitude, double& dX,
                                        double& dY) const {
    const double sinBeta = gx::AuthalicQOfSin(std::sin(dLatitude), m_dE, m_dE2) / m_dQp;
    const double cosBeta = std::sqrt((1 - sinBeta) * (1 + sinBeta)); // beta = asin(q / qP)
    const double sinB0 = std::sin(m_dBeta0), cosB0 = std::cos(m_dBeta0);
    const double dLambda = dLongitude - m_dLon0; // only through its sine and cosine
    const double sinDl = std::sin(dLambda), cosDl = std::cos(dLambda);
    const double B = m_dRq * std::sqrt(2 / (1 + sinB0 * sinBeta + cosB0 * cosBeta * cosDl));
    dX = m_dFalseEasting + B * m_dD * cosBeta * sinDl;
    dY = m_dFalseNorthing + B / m_dD * (cosB0 * sinBeta - sinB0 * cosBeta * cosDl);
    return 1;
}

int CLambertAzimuthalEqualArea::UnProject(double dX, double dY, double& dLongitude,
                                          double& dLatitude) const {
    const double dE = dX - m_dFalseEasting, dN = dY - m_dFalseNorthing;
    const double ex = dE / m_dD, ny = m_dD * dN;
    const double rho = std::sqrt(ex * ex + ny * ny);
    if (rho == 0) {
        // The centre: the formulas divide 0 by 0 there; it is the origin itself.
        dLongitude = m_dLon0;
        dLatitude = m_dLat0;
        return 1;
    }
    // C = 2 asin(rho / 2Rq): sin C and cos C from sin(C/2) by the double-angle formulas.
    const double sinHalfC = rho / (2 * m_dRq);
    const double sinC = 2 * sinHalfC * std::sqrt((1 - sinHalfC) * (1 + sinHalfC));
    const double cosC = 1 - 2 * sinHalfC * sinHalfC;
    const double sinB0 = std::sin(m_dBeta0), cosB0 = std::cos(m_dBeta0);
    // Rounding can carry the sine a little past +-1 next to a pole.
    const double sinBeta = std::fmax(-1.0, std::fmin(1.0, cosC * sinB0 + ny * sinC * cosB0 / rho));
    const double beta = std::asin(sinBeta);
    dLatitude = gx::AuthalicToGeodetic(beta, sinBeta, std::sqrt((1 - sinBeta) * (1 + sinBeta)),
                                       m_dE2, m_dE4);
    dLongitude = SaveLambda(
        std::atan2(dE * sinC, m_dD * rho * cosB0 * cosC - m_dD * ny * sinB0 * sinC) + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::AzimuthalEqualAreaArrayKernels(const CProjection&) {
    return {};
}
