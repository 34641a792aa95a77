// Bonne projection and its south-oriented form (EPSG methods 9827 and 9828): EPSG guidance note
// 7-2, "Bonne" and "Bonne (South Orientated)"; Snyder, Map Projections: A Working Manual,
// pp. 138-140.
#include "projections/bonne.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CBonne::CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
               double dFalseNorthing)
    : CBonne(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing, 1) {}

CBonne::CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
               double dFalseNorthing, double axes)
    : COriginProjection(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing),
      // rho0 = a m(phi0) / sin phi0, infinite for phi0 = 0
      m_dRho0(m_dA * gx::ParallelRadius(std::sin(dLat0), std::cos(dLat0), m_dE2) / std::sin(dLat0)),
      m_dAxes(axes) {}

CBonneSouth::CBonneSouth(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                         double dFalseNorthing)
    : CBonne(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing, -1) {}

int CBonne::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const double s = std::sin(dLatitude), c = std::cos(dLatitude);
    const double rho = (m_dM0 + m_dRho0) - gx::MeridianArcSinCos(m_dA, m_adMDist, dLatitude, s, c);
    const double am = m_dA * gx::ParallelRadius(s, c, m_dE2);
    const double T = am * (dLongitude - m_dLon0) / rho; // longitude not normalised
    dX = m_dFalseEasting + m_dAxes * (rho * std::sin(T));
    dY = m_dFalseNorthing + m_dAxes * (m_dRho0 - rho * std::cos(T));
    return 1;
}

int CBonne::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    // Offsets from the false origin along the axes of the plain projection.
    const double dE = m_dAxes * (dX - m_dFalseEasting), dN = m_dAxes * (dY - m_dFalseNorthing);
    double rho = std::sqrt(dE * dE + (m_dRho0 - dN) * (m_dRho0 - dN));
    if (m_dLat0 < 0) rho = -rho; // a southern origin has negative radii
    const gx::LatitudeSinCos phi =
        gx::FootpointLatitude(m_dA, m_dE2, m_adMDist, m_adMDistInv, (m_dM0 + m_dRho0) - rho);
    dLatitude = phi.phi;
    const double am = m_dA * gx::ParallelRadius(phi.s, phi.c, m_dE2);
    // At a pole every meridian meets and m(phi) = 0. Within a micrometre of it (parallel
    // radius a m(phi) below 1e-6 m, where the rounding of x alone moves the longitude by more
    // than 1e-3 rad) the longitude of origin is returned instead of 0 / 0.
    if (std::fabs(am) < 1e-6) {
        dLongitude = SaveLambda(m_dLon0);
        return 1;
    }
    const double theta =
        m_dLat0 >= 0 ? std::atan2(dE, m_dRho0 - dN) : std::atan2(-dE, dN - m_dRho0);
    dLongitude = SaveLambda(theta * rho / am + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::BonneArrayKernels(const CProjection&) {
    return {};
}
