// Lambert conic conformal with one standard parallel (EPSG method 9801), two standard parallels
// (9802) and two standard parallels with the Belgian rotation (9803); EPSG guidance note 7-2,
// Lambert Conic Conformal (1SP), (2SP) and (2SP Belgium).
#include "geoxform/lambert_conic.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The Belgian rotation, 29.2985 seconds of arc.
const double kBelgianRotation = 0.0001420431363598774;
// The latitude iteration of the inverse: at most this many steps, until the relative change is
// at most kTolerance.
const int kMaxLatitudeSteps = 16;
const double kTolerance = 1e-15;

double ParallelM(double phi, double e2) {
    return gx::ParallelRadius(std::sin(phi), std::cos(phi), e2);
}

double ParallelT(double phi, double e) {
    return gx::ConformalT(std::sin(phi), std::cos(phi), e);
}

// The cone of two standard parallels: n = (ln m1 - ln m2) / (ln t1 - ln t2), F = m1 / (t1^n n)
// and the radius a F tF^n of the false origin's parallel.
void TwoParallelCone(double a, double e, double e2, double latF, double lat1, double lat2,
                     double& n, double& F, double& rF) {
    const double m1 = ParallelM(lat1, e2), m2 = ParallelM(lat2, e2);
    const double t1 = ParallelT(lat1, e), t2 = ParallelT(lat2, e);
    n = (std::log(m1) - std::log(m2)) / (std::log(t1) - std::log(t2));
    F = m1 / (std::pow(t1, n) * n);
    rF = std::pow(ParallelT(latF, e), n) * (a * F);
}

// t(phi)^n = exp(-n psi) of the isometric latitude psi: one logarithm and one exponential.
double ConePower(double dLatitude, double n, double e) {
    return std::exp(-n * gx::IsometricLatitude(std::sin(dLatitude), std::cos(dLatitude), e));
}

// sin(pi/2 - 2 atan u) = (1 - u^2) / (1 + u^2), in the form of 1/u beyond 1 so that u^2 cannot
// overflow.
double SinOfConformalT(double u) {
    if (u > 1) {
        const double v = 1 / u;
        return (v - 1) * (v + 1) / (1 + v * v);
    }
    return (1 - u) * (1 + u) / (1 + u * u);
}

// The latitude of t: phi = pi/2 - 2 atan t, then phi = pi/2 - 2 atan(t ((1 - e sin phi) /
// (1 + e sin phi))^(e/2)) until the relative change is at most 1e-15, at most 16 steps; the
// first step always runs, and after 16 the last value stands. The power is taken as
// exp(-e atanh(e sin phi)) and sin phi from the tangent of the step, so that a step costs one
// exponential and one arctangent.
double LatitudeOfConformalT(double t, double e) {
    double phi = gx::kHalfPi - 2 * std::atan(t);
    double sinPhi = SinOfConformalT(t);
    double change = 1000;
    for (int i = 0; i < kMaxLatitudeSteps && !(change <= kTolerance); ++i) {
        const double u = t * gx::SmallExp(-e * gx::EccentricAtanh(e * sinPhi));
        const double phiNew = gx::kHalfPi - 2 * std::atan(u);
        change = std::fabs(phi - phiNew) / std::fabs(phiNew);
        phi = phiNew;
        sinPhi = SinOfConformalT(u);
    }
    return phi;
}

// The cone on the members all three variants share: n, a F (times k0), the radius of the
// origin's parallel and the false origin.
struct Cone {
    double n, aF, r0, fe, fn, e;

    // The point of latitude lat at the cone angle theta.
    int Forward(double theta, double lat, double& x, double& y) const {
        const double r = ConePower(lat, n, e) * aF;
        x = fe + r * std::sin(theta);
        y = fn + r0 - r * std::cos(theta);
        return 1;
    }
    // The latitude of a point, and its cone angle: the arctangent of the quotient, or the full
    // circle of atan2 (bFullCircle).
    double Inverse(double x, double y, bool bFullCircle, double& lat) const {
        const double dx = x - fe, dy = r0 - (y - fn);
        double r = std::sqrt(dy * dy + dx * dx);
        if (n < 0) r = -r;
        lat = LatitudeOfConformalT(std::pow(r / aF, 1 / n), e);
        return bFullCircle ? std::atan2(dx, dy) : std::atan(dx / dy);
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions that use it.
#define GX_CONE(aF, r0)                                                                            \
    Cone {                                                                                         \
        m_dN, aF, r0, m_dFalseEasting, m_dFalseNorthing, m_dE                                      \
    }

CLambertConicalSP1::CLambertConicalSP1(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                       double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing), m_dN(std::sin(dLat0)) {
    const double t0n = std::pow(ParallelT(dLat0, m_dE), m_dN);
    m_dConeF = ParallelM(dLat0, m_dE2) / (m_dN * t0n);
    m_dR0 = t0n * (m_dConeF * m_dA) * dK0;
}

int CLambertConicalSP1::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const Cone cone = GX_CONE(m_dConeF * m_dA * m_dK0, m_dR0);
    return cone.Forward(m_dN * SaveLambda(SaveLambda(dLongitude) - m_dLon0), dLatitude, dX, dY);
}

int CLambertConicalSP1::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    const Cone cone = GX_CONE(m_dConeF * m_dA * m_dK0, m_dR0);
    dLongitude = SaveLambda(cone.Inverse(dX, dY, false, dLatitude) / m_dN + m_dLon0);
    return 1;
}

CLambertConicalSP2::CLambertConicalSP2(int nEllipsoid, double dLonF, double dLatF, double dLat1,
                                       double dLat2, double dEastingF, double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLonF), m_dLat0(dLatF), m_dLat1(dLat1), m_dLat2(dLat2),
      m_dFalseEasting(dEastingF), m_dFalseNorthing(dNorthingF) {
    TwoParallelCone(m_dA, m_dE, m_dE2, dLatF, dLat1, dLat2, m_dN, m_dConeF, m_dRF);
}

int CLambertConicalSP2::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    const Cone cone = GX_CONE(m_dConeF * m_dA, m_dRF);
    return cone.Forward(m_dN * SaveLambda(SaveLambda(dLongitude) - m_dLon0), dLatitude, dX, dY);
}

int CLambertConicalSP2::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    const Cone cone = GX_CONE(m_dConeF * m_dA, m_dRF);
    dLongitude = SaveLambda(cone.Inverse(dX, dY, false, dLatitude) / m_dN + m_dLon0);
    return 1;
}

CLambertConicalSP2Belgium::CLambertConicalSP2Belgium(int nEllipsoid, double dLonF, double dLatF,
                                                     double dLat1, double dLat2, double dEastingF,
                                                     double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLonF), m_dLat0(dLatF), m_dLat1(dLat1), m_dLat2(dLat2),
      m_dFalseEasting(dEastingF), m_dFalseNorthing(dNorthingF) {
    TwoParallelCone(m_dA, m_dE, m_dE2, dLatF, dLat1, dLat2, m_dN, m_dConeF, m_dRF);
}

int CLambertConicalSP2Belgium::Project(double dLongitude, double dLatitude, double& dX,
                                       double& dY) const {
    const Cone cone = GX_CONE(m_dConeF * m_dA, m_dRF);
    // The longitude difference is folded once, then the grid is turned.
    return cone.Forward(m_dN * SaveLambda(dLongitude - m_dLon0) - kBelgianRotation, dLatitude, dX,
                        dY);
}

int CLambertConicalSP2Belgium::UnProject(double dX, double dY, double& dLongitude,
                                         double& dLatitude) const {
    const Cone cone = GX_CONE(m_dConeF * m_dA, m_dRF);
    // The full circle, unlike the other two classes.
    const double theta = cone.Inverse(dX, dY, true, dLatitude);
    dLongitude = SaveLambda((theta + kBelgianRotation) / m_dN + m_dLon0);
    return 1;
}

gx::ArrayKernels gx::LambertConicArrayKernels(const CProjection&) {
    return {};
}
