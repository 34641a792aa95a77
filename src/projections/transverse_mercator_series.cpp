// Transverse Mercator series in the longitude difference to its eighth power: Redfearn (1948),
// "Transverse Mercator formulae", Empire Survey Review 69, and Thomas (1952), "Conformal
// projections in geodesy and cartography", US Coast and Geodetic Survey special publication
// 251, with the terms in eta carried to eta^8.
#include "projections/transverse_mercator_series.h"

#include <cmath>

#include "projections/geodesy.h"

namespace gx {

namespace {

// Functions of a latitude that both directions use.
struct LatitudeTerms {
    double s, c; // sin, cos
    double invC; // 1 / cos
    double t;    // tan
    double eta2; // e'^2 cos^2 phi
    double T;    // tan^2 phi
    double nu;   // prime vertical radius of curvature
    double w;    // 1 - e^2 sin^2 phi

    LatitudeTerms(double sinPhi, double cosPhi, const TransverseMercatorSeries& series)
        : s(sinPhi), c(cosPhi), invC(1 / cosPhi), t(sinPhi * invC), eta2(series.ep2 * c * c),
          T(t * t), nu(PrimeVerticalRadius(series.a, series.e2, sinPhi)), w(1 - series.e2 * s * s) {
    }
};

} // namespace

void TransverseMercatorSeries::Forward(double phi, double dLambda, double dM0, double& dE,
                                       double& dN) const {
    const LatitudeTerms l(std::sin(phi), std::cos(phi), *this);
    const double A = dLambda * l.c;
    const double A2 = A * A;
    const double M = MeridianArcSinCos(a, pMDist, phi, l.s, l.c);
    const double T = l.T, T2 = T * T, T3 = T2 * T, eta2 = l.eta2, eta4 = eta2 * eta2;

    const double x5 = (5 - 18 * T + T2 + 14 * eta2 - 58 * T * eta2 +
                       (13 - 64 * T + 4 * eta2 - 24 * T * eta2) * eta4) /
                      120;
    const double x7 = (61 - 479 * T + 179 * T2 - T3) * A2 / 5040;
    const double x = A * (1 + A2 * ((1 - T + eta2) / 6 + A2 * (x5 + x7)));

    const double y6 =
        (61 - 58 * T + T2 + 270 * eta2 - 330 * T * eta2 +
         (445 - 680 * T + 324 * eta2 - 600 * T * eta2 + 88 * eta4 - 192 * T * eta4) * eta4) /
        720;
    const double y8 = (1385 - 3111 * T + 543 * T2 - T3) * A2 / 40320;
    const double y = A2 * (0.5 + A2 * ((5 - T + 9 * eta2 + 4 * eta4) / 24 + A2 * (y6 + y8)));

    dE = l.nu * k0 * x;
    dN = (l.nu * l.t * y + (M - dM0)) * k0;
}

void TransverseMercatorSeries::Inverse(double xg, double dArc, const double* g, double& dLambda,
                                       double& dPhi) const {
    const LatitudeSinCos foot = FootpointLatitude(a, e2, pMDist, g, dArc);
    const LatitudeTerms l(foot.s, foot.c, *this);
    // nu1 t / rho1 = t W / (1 - e^2) = t W (1 + e'^2).
    const double nuTOverRho = l.t * l.w * (1 + ep2);
    const double D = xg / (l.nu * k0);
    const double D2 = D * D;
    const double T = l.T, T2 = T * T, T3 = T2 * T, eta2 = l.eta2, eta4 = eta2 * eta2;
    const double eta6 = eta4 * eta2, eta8 = eta4 * eta4;

    const double q4 = (5 + 3 * T + eta2 - 4 * eta4 - 9 * T * eta2) / 24;
    const double q6 = (61 + 90 * T + 46 * eta2 + 45 * T2 - 252 * T * eta2 - 3 * eta4 + 100 * eta6 -
                       66 * T * eta4 - 90 * T2 * eta2 + 88 * eta8 + 225 * T2 * eta4 +
                       84 * T * eta6 - 192 * T * eta8) /
                      720;
    const double q8 = (1385 + 3633 * T + 4095 * T2 + 1575 * T3) / 40320;
    dPhi = foot.phi - nuTOverRho * D2 * (0.5 - D2 * (q4 - D2 * (q6 - q8 * D2)));

    const double r3 = (1 + 2 * T + eta2) / 6;
    const double r5 = (5 + 28 * T + 24 * T2 + 6 * eta2 + 8 * T * eta2 - 3 * eta4 + 4 * T * eta4 -
                       4 * eta6 + 24 * T * eta6) /
                      120;
    const double r7 = (61 + 662 * T + 1320 * T2 + 720 * T3) / 5040;
    dLambda = D * (1 - D2 * (r3 - D2 * (r5 - r7 * D2))) * l.invC;
}

} // namespace gx
