// Albers equal area (EPSG method 9822); EPSG guidance note 7-2, Albers Equal Area, and Snyder,
// Map Projections: A Working Manual, pp. 101-102.
#include "geoxform/albers_equal_area.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CAlbersEqualArea::CAlbersEqualArea(int nEllipsoid, double dLonF, double dLatF, double dLat1,
                                   double dLat2, double dEastingF, double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLonF), m_dLat0(dLatF), m_dLat1(dLat1), m_dLat2(dLat2),
      m_dFalseEasting(dEastingF), m_dFalseNorthing(dNorthingF) {
    const double s1 = std::sin(dLat1), s2 = std::sin(dLat2);
    const double m1 = gx::ParallelRadius(s1, std::cos(dLat1), m_dE2);
    const double m2 = gx::ParallelRadius(s2, std::cos(dLat2), m_dE2);
    const double q1 = gx::AuthalicQ(s1, m_dE, m_dE2), q2 = gx::AuthalicQ(s2, m_dE, m_dE2);
    const double q0 = gx::AuthalicQ(std::sin(dLatF), m_dE, m_dE2);
    m_dN = (m1 * m1 - m2 * m2) / (q2 - q1);
    m_dAlbersC = m1 * m1 + m_dN * q1;
    m_dRho0 = m_dA * std::sqrt(m_dAlbersC - m_dN * q0) / m_dN;
}

int CAlbersEqualArea::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    // rho = a sqrt(C - n q) / n, with a / n formed apart from the chain of the latitude.
    const double aOverN = m_dA / m_dN;
    const double q = gx::AuthalicQOfSin(std::sin(dLatitude), m_dE, m_dE2);
    const double rho = aOverN * std::sqrt(m_dAlbersC - m_dN * q);
    const double theta = m_dN * SaveLambda(dLongitude - m_dLon0);
    dX = m_dFalseEasting + rho * std::sin(theta);
    dY = m_dFalseNorthing + m_dRho0 - rho * std::cos(theta);
    return 1;
}

int CAlbersEqualArea::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    const double dE = dX - m_dFalseEasting, dN = m_dRho0 - (dY - m_dFalseNorthing);
    const double theta = m_dN >= 0 ? std::atan2(dE, dN) : std::atan2(-dE, -dN);
    const double rho2 = dN * dN + dE * dE; // rho'^2, the positive root squared
    const double q = (m_dAlbersC - rho2 * m_dN * m_dN / (m_dA * m_dA)) / m_dN;
    const double qPole = gx::AuthalicQ(1.0, m_dE, m_dE2);
    // sin beta' = q' / qPole; beyond the projection's poles the arcsine is NaN.
    const double sinBeta = q / qPole;
    const double beta = std::asin(sinBeta);
    dLatitude =
        gx::AuthalicToGeodetic(beta, sinBeta, std::sqrt(1 - sinBeta * sinBeta), m_dE2, m_dE4);
    dLongitude = SaveLambda(theta / m_dN + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::AlbersArrayKernels(const CProjection&) {
    return {};
}
