// Oblique stereographic projection (EPSG method 9809): EPSG guidance note 7-2, "Oblique and
// Equatorial Stereographic", the double projection through the conformal sphere of the origin.
#include "geoxform/stereographic.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CObliqueStereographic::CObliqueStereographic(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                             double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    const double e = m_dE, e2 = m_dE2;
    const double sinPhi0 = std::sin(dLat0), cosPhi0 = std::cos(dLat0);
    m_dRadius = std::sqrt(gx::PrimeVerticalRadius(m_dA, e2, sinPhi0) *
                          gx::MeridianRadius(m_dA, e2, sinPhi0));
    m_dN = std::sqrt(1 + e2 * cosPhi0 * cosPhi0 * cosPhi0 * cosPhi0 / (1 - e2));
    const double s1 = (1 + sinPhi0) / (1 - sinPhi0);
    const double s2 = (1 - e * sinPhi0) / (1 + e * sinPhi0);
    const double w1 = std::pow(s1 * std::pow(s2, e), m_dN);
    const double sinChi0 = (w1 - 1) / (w1 + 1);
    m_dC = (m_dN + sinPhi0) * (1 - sinChi0) / ((m_dN - sinPhi0) * (1 + sinChi0));
    const double w2 = m_dC * w1;
    m_dChi0 = std::asin((w2 - 1) / (w2 + 1));
    const double twoRk0 = 2 * m_dRadius * dK0;
    m_dG = twoRk0 * std::tan(gx::kPi / 4 - m_dChi0 / 2);
    m_dH = 2 * twoRk0 * std::tan(m_dChi0) + m_dG;
}

int CObliqueStereographic::Project(double dLongitude, double dLatitude, double& dX,
                                   double& dY) const {
    // w = c (Sa Sb^e)^n = c exp(2 n psi), psi the isometric latitude; then sin chi =
    // (w - 1) / (w + 1) and cos chi = 2 sqrt(w) / (w + 1), written so that w = 0 and w = inf
    // (the poles) give +-1 and 0.
    const double w = m_dC * std::exp(2 * m_dN * gx::IsometricLatitude(std::sin(dLatitude), m_dE));
    const double rw = std::sqrt(w);
    const double sinChi = 1 - 2 / (w + 1), cosChi = 2 / (rw + 1 / rw);
    const double dLambda = m_dN * (dLongitude - m_dLon0); // not normalised
    const double sinDl = std::sin(dLambda), cosDl = std::cos(dLambda);
    const double sinChi0 = std::sin(m_dChi0), cosChi0 = std::cos(m_dChi0);
    const double B = 1 + sinChi * sinChi0 + cosChi * cosChi0 * cosDl;
    const double twoRk0 = 2 * m_dRadius * m_dK0;
    dY = m_dFalseNorthing + twoRk0 * (sinChi * cosChi0 - cosChi * sinChi0 * cosDl) / B;
    dX = m_dFalseEasting + twoRk0 * cosChi * sinDl / B;
    return 1;
}

int CObliqueStereographic::UnProject(double dX, double dY, double& dLongitude,
                                     double& dLatitude) const {
    const double dE = dX - m_dFalseEasting, dN = dY - m_dFalseNorthing;
    const double i = std::atan2(dE, dN + m_dH);
    const double j = std::atan2(dE, m_dG - dN) - i;
    const double chi = m_dChi0 + 2 * std::atan2(dN - dE * std::tan(j / 2), 2 * m_dRadius * m_dK0);
    dLongitude = SaveLambda((j + 2 * i) / m_dN + m_dLon0);

    // The isometric latitude of the point on the ellipsoid, then its latitude by Newton steps
    // from the spherical value 2 atan(exp psi) - pi/2, whose sine and cosine are tanh psi and
    // 1 / cosh psi; those of each step follow by the addition formulas.
    const double sinChi = std::sin(chi);
    const double psi = 0.5 * std::log((1 + sinChi) / (m_dC * (1 - sinChi))) / m_dN;
    if (std::isinf(psi)) { // a pole: the steps would meet infinity minus infinity
        dLatitude = std::copysign(gx::kHalfPi, psi);
        return 1;
    }
    const double E = std::exp(psi), rE = 1 / E;
    double phi = 2 * std::atan(E) - gx::kHalfPi;
    double s = (E - rE) / (E + rE), c = 2 / (E + rE);
    dLatitude = phi;
    const double e2 = m_dE2, factor = 1 / (1 - e2);
    for (int k = 0; k < 16; ++k) {
        const double psiI = gx::IsometricLatitude(s, m_dE);
        const double step = (psiI - psi) * c * (1 - e2 * s * s) * factor;
        const double phiNew = phi - step;
        dLatitude = phiNew;
        // Relative change at most 1e-15; a NaN ends the iteration too.
        if (!(std::fabs(phi - phiNew) > 1e-15 * std::fabs(phiNew))) break;
        phi = phiNew;
        gx::StepSinCos(phi, step, s, c);
    }
    return 1;
}

gx::ArrayKernels gx::ObliqueStereographicArrayKernels(const CProjection&) {
    return {};
}
