// Modified azimuthal equidistant projection (EPSG method 9832): EPSG guidance note 7-2,
// "Modified Azimuthal Equidistant", the series in the arc length for small areas.
#include "projections/modified_azimuthal_equidistant.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CModifiedAzimuthalEquidistant::CModifiedAzimuthalEquidistant(int nEllipsoid, double dLon0,
                                                             double dLat0, double dFalseEasting,
                                                             double dFalseNorthing)
    : COriginProjection(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing) {
    const double s = std::sin(dLat0);
    m_dNu0 = gx::PrimeVerticalRadius(m_dA, m_dE2, s);
    m_dG = m_dE * s / std::sqrt(1 - m_dE2);
}

int CModifiedAzimuthalEquidistant::Project(double dLongitude, double dLatitude, double& dX,
                                           double& dY) const {
    const double e2 = m_dE2;
    const double sinPhi0 = std::sin(m_dLat0), cosPhi0 = std::cos(m_dLat0);
    const double sinPhi = std::sin(dLatitude), cosPhi = std::cos(dLatitude);
    const double nu = gx::PrimeVerticalRadius(m_dA, e2, sinPhi);
    // psi = atan(((1 - e^2) sin phi + e^2 nu0 sin phi0 / nu) / cos phi), with its sine and
    // cosine taken from the fraction (cos psi >= 0, as the arctangent gives).
    const double num = (1 - e2) * sinPhi + e2 * m_dNu0 * sinPhi0 / nu;
    const double r = std::sqrt(num * num + cosPhi * cosPhi);
    const double sinPsi = std::copysign(1.0, cosPhi) * num / r, cosPsi = std::fabs(cosPhi) / r;
    const double tanPsi = sinPsi / cosPsi;

    const double dLambda = dLongitude - m_dLon0; // only through its sine and cosine
    const double sinDl = std::sin(dLambda), cosDl = std::cos(dLambda);
    // alpha = atan2(p, q): its sine and cosine from the two arguments, so that sin alpha is
    // exactly 0 whenever sin(dLambda) is, for a point due north (alpha = 0) and due south
    // (alpha = pi) alike; both then take the meridian branch below.
    const double p = sinDl, q = cosPhi0 * tanPsi - sinPhi0 * cosDl;
    const double rAlpha = std::sqrt(p * p + q * q);
    const double sinAlpha = rAlpha > 0 ? p / rAlpha : 0;
    const double cosAlpha = rAlpha > 0 ? q / rAlpha : 1; // atan2(0, 0) = 0 at the origin
    const double H = m_dE * cosPhi0 * cosAlpha / std::sqrt(1 - e2);
    double s;
    if (sinAlpha == 0) {
        s = std::asin(cosPhi0 * sinPsi - sinPhi0 * cosPsi) * (cosAlpha >= 0 ? 1 : -1);
    } else {
        s = std::asin(sinDl * cosPsi / sinAlpha);
    }
    const double G = m_dG, H2 = H * H, s2 = s * s;
    const double c =
        m_dNu0 * s *
        (1 - s2 * H2 * (1 - H2) / 6 + s2 * s / 8 * G * H * (1 - 2 * H2) +
         s2 * s2 / 120 * (H2 * (4 - 7 * H2) - 3 * G * G * (1 - 7 * H2)) - s2 * s2 * s / 48 * G * H);
    dX = m_dFalseEasting + c * sinAlpha;
    dY = m_dFalseNorthing + c * cosAlpha;
    return 1;
}

int CModifiedAzimuthalEquidistant::UnProject(double dX, double dY, double& dLongitude,
                                             double& dLatitude) const {
    const double e2 = m_dE2;
    const double sinPhi0 = std::sin(m_dLat0), cosPhi0 = std::cos(m_dLat0);
    const double dE = dX - m_dFalseEasting, dN = dY - m_dFalseNorthing;
    const double cP = std::sqrt(dE * dE + dN * dN);
    // alpha' = atan2(dE, dN) through its sine and cosine (0 and 1 at the origin).
    const double sinAlpha = cP > 0 ? dE / cP : 0, cosAlpha = cP > 0 ? dN / cP : 1;
    const double A = -e2 * cosPhi0 * cosPhi0 * cosAlpha * cosAlpha / (1 - e2);
    const double B = 3 * e2 * (1 - A) * sinPhi0 * cosPhi0 * cosAlpha / (1 - e2);
    const double D = cP / m_dNu0, D3 = D * D * D;
    // The fourth-order term is subtracted: only then does this series invert the forward one
    // to fourth order (round trips 2 degrees from the origin to ~5e-12 rad; ~2.5e-10 added).
    const double J = D - A * (1 + A) * D3 / 6 - B * (1 + 3 * A) * D3 * D / 24;
    const double K = 1 - A * J * J / 2 - B * J * J * J / 6;
    const double sinJ = std::sin(J), cosJ = std::cos(J);
    const double sinPsi =
        std::fmax(-1.0, std::fmin(1.0, sinPhi0 * cosJ + cosPhi0 * sinJ * cosAlpha));
    const double cosPsi = std::sqrt((1 - sinPsi) * (1 + sinPsi)); // psi' = asin(...)
    // atan2(tan psi' (1 - e^2 K sin phi0 / sin psi'), 1 - e^2) with both arguments multiplied
    // by cos psi' >= 0: the same angle, without the division by sin psi', which is 0 at the
    // origin of an equatorial projection (phi0 = 0); there the latitude comes out as 0.
    dLatitude = SavePhi(std::atan2(sinPsi - e2 * K * sinPhi0, (1 - e2) * cosPsi));
    dLongitude = SaveLambda(std::asin(sinAlpha * sinJ / cosPsi) + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::AzimuthalEquidistantArrayKernels(const CProjection&) {
    return {};
}
