// Bonne projection and its south-oriented form (EPSG methods 9827 and 9828): EPSG guidance note
// 7-2, "Bonne" and "Bonne (South Orientated)"; Snyder, Map Projections: A Working Manual,
// pp. 138-140.
#include "projections/bonne.h"

#include <cmath>

#include "projections/latitude_functions.h"
#include "projections/series.h"

namespace {

// The Bonne projection on the members both classes share; offsets (dE, dN) count from the
// false origin along the axes of the plain projection.
struct BonneCore {
    double a, e2;
    const double* d; // meridian arc coefficients d0..d7
    const double* g; // footpoint series coefficients g0..g6
    double lon0, lat0, m0, rho0;

    void Forward(double lon, double lat, double& dE, double& dN) const {
        const double s = std::sin(lat), c = std::cos(lat);
        const double arc = gx::MeridianArc(a, d, lat, 2 * s * c, (c - s) * (c + s));
        const double rho = (m0 + rho0) - arc;
        const double am = a * c / std::sqrt(1 - e2 * s * s); // a m(phi)
        const double T = am * (lon - lon0) / rho;            // longitude not normalised
        dE = rho * std::sin(T);
        dN = rho0 - rho * std::cos(T);
    }

    // Latitude and the unfolded longitude of the offsets.
    void Inverse(double dE, double dN, double& lon, double& lat) const {
        double rho = std::sqrt(dE * dE + (rho0 - dN) * (rho0 - dN));
        if (lat0 < 0) rho = -rho; // a southern origin has negative radii
        const double arc = (m0 + rho0) - rho;
        const gx::LatitudeSinCos phi = gx::FootpointLatitude(a, e2, d, g, arc / (a * d[0]), arc);
        lat = phi.phi;
        const double am = a * phi.c / std::sqrt(1 - e2 * phi.s * phi.s);
        // At a pole every meridian meets and m(phi) = 0. Within a micrometre of it (parallel
        // radius a m(phi) below 1e-6 m, where the rounding of x alone moves the longitude by
        // more than 1e-3 rad) the longitude of origin is returned instead of 0 / 0.
        if (std::fabs(am) < 1e-6) {
            lon = lon0;
            return;
        }
        const double theta = lat0 >= 0 ? std::atan2(dE, rho0 - dN) : std::atan2(-dE, dN - rho0);
        lon = theta * rho / am + lon0;
    }
};

// rho0 = a m(phi0) / sin phi0, the radius of the parallel of origin.
double RadiusOfOrigin(double a, double e2, double lat0) {
    return a * gx::ParallelRadius(lat0, e2) / std::sin(lat0); // infinite for lat0 = 0
}

} // namespace

CBonne::CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
               double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing), m_dRho0(RadiusOfOrigin(m_dA, m_dE2, dLat0)) {}

int CBonne::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const BonneCore b{m_dA, m_dE2, m_adMDist, m_adMDistInv, m_dLon0, m_dLat0, m_dM0, m_dRho0};
    double dE, dN;
    b.Forward(dLongitude, dLatitude, dE, dN);
    dX = m_dFalseEasting + dE;
    dY = m_dFalseNorthing + dN;
    return 1;
}

int CBonne::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    const BonneCore b{m_dA, m_dE2, m_adMDist, m_adMDistInv, m_dLon0, m_dLat0, m_dM0, m_dRho0};
    double lon;
    b.Inverse(dX - m_dFalseEasting, dY - m_dFalseNorthing, lon, dLatitude);
    dLongitude = SaveLambda(lon);
    return 1;
}

CBonneSouth::CBonneSouth(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                         double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing), m_dRho0(RadiusOfOrigin(m_dA, m_dE2, dLat0)) {}

int CBonneSouth::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const BonneCore b{m_dA, m_dE2, m_adMDist, m_adMDistInv, m_dLon0, m_dLat0, m_dM0, m_dRho0};
    double dE, dN;
    b.Forward(dLongitude, dLatitude, dE, dN);
    dX = m_dFalseEasting - dE;  // westing
    dY = m_dFalseNorthing - dN; // southing
    return 1;
}

int CBonneSouth::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    const BonneCore b{m_dA, m_dE2, m_adMDist, m_adMDistInv, m_dLon0, m_dLat0, m_dM0, m_dRho0};
    double lon;
    b.Inverse(m_dFalseEasting - dX, m_dFalseNorthing - dY, lon, dLatitude);
    dLongitude = SaveLambda(lon);
    return 1;
}
