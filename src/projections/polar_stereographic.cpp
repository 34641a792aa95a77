// Polar stereographic projection, variants A, B and C (EPSG methods 9810, 9829 and 9830):
// EPSG guidance note 7-2, "Polar Stereographic".
#include <cmath>

#include "geoxform/stereographic.h"
#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// t(phi) of the pole: tan(pi/4 - phi/2) / ((1 - e sin phi) / (1 + e sin phi))^(e/2) for the
// north pole, tan(pi/4 + phi/2) / ((1 + e sin phi) / (1 - e sin phi))^(e/2) = t(-phi) for the
// south pole.
double PoleT(bool bNorth, double phi, double e) {
    const double s = std::sin(phi), c = std::cos(phi);
    return gx::ConformalT(bNorth ? s : -s, c, e);
}

// Geodetic latitude of t' of the pole: chi = pi/2 - 2 atan t' (north), 2 atan t' - pi/2
// (south), then the conformal-latitude series.
double PoleLatitude(bool bNorth, double t, const double* c) {
    const double phi = gx::GeodeticFromConformalT(t, c);
    return bNorth ? phi : -phi;
}

double EccentricityFactor(double e) {
    return std::sqrt(std::pow(1 - e, 1 - e) * std::pow(1 + e, 1 + e));
}

// Variants A and B on the same members: the pole as origin with scale factor k0.
struct PolarAtOrigin {
    bool bNorth;
    double a, e, lon0, k0, fe, fn, eccFactor;
    const double* c; // the conformal-latitude series of the ellipsoid base

    int Forward(double lon, double lat, double& x, double& y) const {
        const double rho = 2 * a * k0 * PoleT(bNorth, lat, e) / eccFactor;
        const double dLambda = lon - lon0; // only through its sine and cosine
        x = fe + rho * std::sin(dLambda);
        const double dy = rho * std::cos(dLambda);
        y = bNorth ? fn - dy : fn + dy;
        return 1;
    }
    int Inverse(double x, double y, double& lon, double& lat) const {
        const double dx = x - fe, dy = y - fn;
        const double t = std::sqrt(dx * dx + dy * dy) * eccFactor / (2 * a * k0);
        lat = PoleLatitude(bNorth, t, c);
        lon = gx::FoldLongitude((bNorth ? std::atan2(dx, -dy) : std::atan2(dx, dy)) + lon0);
        return 1;
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions that use it.
#define GX_POLAR_AT_ORIGIN(lat)                                                                    \
    PolarAtOrigin {                                                                                \
        lat > 0, m_dA, m_dE, m_dLon0, m_dK0, m_dFalseEasting, m_dFalseNorthing, m_dEccFactor,      \
            m_adConfLat                                                                            \
    }

CPolarStereographicA::CPolarStereographicA(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                           double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing),
      m_dEccFactor(EccentricityFactor(m_dE)) {}

int CPolarStereographicA::Project(double dLongitude, double dLatitude, double& dX,
                                  double& dY) const {
    return GX_POLAR_AT_ORIGIN(m_dLat0).Forward(dLongitude, dLatitude, dX, dY);
}

int CPolarStereographicA::UnProject(double dX, double dY, double& dLongitude,
                                    double& dLatitude) const {
    return GX_POLAR_AT_ORIGIN(m_dLat0).Inverse(dX, dY, dLongitude, dLatitude);
}

CPolarStereographicB::CPolarStereographicB(int nEllipsoid, double dLon0, double dLatStd,
                                           double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLatStd(dLatStd), m_dK0(0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing),
      m_dEccFactor(EccentricityFactor(m_dE)) {
    const double mc = gx::ParallelRadius(std::sin(dLatStd), std::cos(dLatStd), m_dE2);
    const double tc = PoleT(dLatStd > 0, dLatStd, m_dE);
    // With the standard parallel at the pole mc and tc both come out tiny (cos of the double
    // nearest pi/2) and their quotient stays near its limit.
    m_dK0 = mc * m_dEccFactor / (2 * tc);
}

int CPolarStereographicB::Project(double dLongitude, double dLatitude, double& dX,
                                  double& dY) const {
    return GX_POLAR_AT_ORIGIN(m_dLatStd).Forward(dLongitude, dLatitude, dX, dY);
}

int CPolarStereographicB::UnProject(double dX, double dY, double& dLongitude,
                                    double& dLatitude) const {
    return GX_POLAR_AT_ORIGIN(m_dLatStd).Inverse(dX, dY, dLongitude, dLatitude);
}

CPolarStereographicC::CPolarStereographicC(int nEllipsoid, double dLon0, double dLatStd,
                                           double dEastingF, double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLatStd(dLatStd), m_dFalseEasting(dEastingF),
      m_dFalseNorthing(dNorthingF) {
    m_dRhoF = m_dA * gx::ParallelRadius(std::sin(dLatStd), std::cos(dLatStd), m_dE2);
    m_dTF = PoleT(dLatStd > 0, dLatStd, m_dE);
}

int CPolarStereographicC::Project(double dLongitude, double dLatitude, double& dX,
                                  double& dY) const {
    const bool bNorth = m_dLatStd > 0;
    const double rho = PoleT(bNorth, dLatitude, m_dE) * m_dRhoF / m_dTF;
    const double dLambda = dLongitude - m_dLon0; // only through its sine and cosine
    dX = m_dFalseEasting + rho * std::sin(dLambda);
    const double dy = rho * std::cos(dLambda);
    dY = bNorth ? (m_dFalseNorthing + m_dRhoF) - dy : (m_dFalseNorthing - m_dRhoF) + dy;
    return 1;
}

int CPolarStereographicC::UnProject(double dX, double dY, double& dLongitude,
                                    double& dLatitude) const {
    const bool bNorth = m_dLatStd > 0;
    const double dN = bNorth ? dY - m_dFalseNorthing - m_dRhoF : dY - m_dFalseNorthing + m_dRhoF;
    const double dE = dX - m_dFalseEasting;
    const double t = std::sqrt(dN * dN + dE * dE) * m_dTF / m_dRhoF;
    dLatitude = PoleLatitude(bNorth, t, m_adConfLat);
    dLongitude = gx::FoldLongitude((bNorth ? std::atan2(dE, -dN) : std::atan2(dE, dN)) + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::PolarStereographicArrayKernels(const CProjection&) {
    return {};
}
