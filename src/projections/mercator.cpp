// Mercator (EPSG methods 9804 and 9805), equidistant cylindrical (EPSG method 9823) and pseudo
// plate carree (EPSG method 9825); EPSG guidance note 7-2, Mercator and Equidistant Cylindrical.
#include "geoxform/mercator.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CMercator::CMercator(int nEllipsoid, int nVariant, double dLon0, double dValue,
                     double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_nVariant(nVariant), m_dLon0(dLon0), m_dK0(dValue), m_dLat1(0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    if (nVariant == 2) {
        // The scale factor of the standard parallel, whose sign does not matter.
        m_dLat1 = std::fabs(dValue);
        m_dK0 = gx::ParallelRadius(std::sin(m_dLat1), std::cos(m_dLat1), m_dE2);
    }
}

int CMercator::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const double k0a = m_dK0 * m_dA;
    dX = SaveLambda(SaveLambda(dLongitude) - m_dLon0) * k0a + m_dFalseEasting;
    // y = k0 a ln(tan(pi/4 + phi/2) ((1 - e sin phi) / (1 + e sin phi))^(e/2)), the isometric
    // latitude; the latitude is not folded: -inf at -pi/2 and NaN beyond the poles.
    const double s = std::sin(dLatitude), c = std::cos(dLatitude);
    dY = gx::IsometricLatitude(s, c, m_dE) * k0a + m_dFalseNorthing;
    return 1;
}

int CMercator::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    const double k0a = m_dK0 * m_dA;
    // t = exp((FN - y) / (k0 a)), chi = pi/2 - 2 atan t, then the conformal latitude series of
    // the ellipsoid base; the latitude is not folded. South of the equator t > 1, and the odd
    // symmetry chi(1/t) = -chi(t) keeps t^2 from overflowing far south.
    const double u = (m_dFalseNorthing - dY) / k0a;
    dLatitude = u > 0 ? -gx::GeodeticFromConformalT(std::exp(-u), m_adConfLat)
                      : gx::GeodeticFromConformalT(std::exp(u), m_adConfLat);
    dLongitude = SaveLambda((dX - m_dFalseEasting) / k0a + m_dLon0);
    return 1;
}

CEquidistantCylindrical::CEquidistantCylindrical(int nEllipsoid, double dLon0, double dLat1)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat1(dLat1), m_dRadius(m_dA) {
    // The Gaussian mean radius sqrt(rho nu) of the true-scale parallel; a on a sphere.
    if (m_dB != m_dA) {
        const double s = std::sin(dLat1);
        m_dRadius = m_dA * std::sqrt(1 - m_dE2) / (1 - m_dE2 * s * s);
    }
}

int CEquidistantCylindrical::Project(double dLongitude, double dLatitude, double& dX,
                                     double& dY) const {
    // The longitude difference is not folded.
    dX = std::cos(m_dLat1) * ((dLongitude - m_dLon0) * m_dRadius);
    dY = m_dRadius * dLatitude;
    return 1;
}

int CEquidistantCylindrical::UnProject(double dX, double dY, double& dLongitude,
                                       double& dLatitude) const {
    dLatitude = dY / m_dRadius;
    dLongitude = SaveLambda(dX / (std::cos(m_dLat1) * m_dRadius) + m_dLon0);
    return 1;
}

// Needs no ellipsoid: the base is built on row 0 and its constants are never read.
CPseudoPlateCarree::CPseudoPlateCarree() : CMapProjection(0) {}

int CPseudoPlateCarree::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    dX = dLongitude;
    dY = dLatitude;
    return 1;
}

int CPseudoPlateCarree::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    dLongitude = dX;
    dLatitude = dY;
    return 1;
}

gx::ArrayKernels gx::MercatorArrayKernels(const CProjection&) {
    return {};
}
