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
template <class V>
struct LatitudeTerms {
    V s, c; // sin, cos
    V invC; // 1 / cos
    V t;    // tan
    V eta2; // e'^2 cos^2 phi
    V T;    // tan^2 phi
    V nu;   // prime vertical radius of curvature
    V w;    // 1 - e^2 sin^2 phi

    LatitudeTerms(V sinPhi, V cosPhi, const TransverseMercatorSeries& series)
        : s(sinPhi), c(cosPhi), invC(1 / cosPhi), t(sinPhi * invC), eta2(series.ep2 * c * c),
          T(t * t), nu(PrimeVerticalRadius(series.a, series.e2, sinPhi)), w(1 - series.e2 * s * s) {
    }
};

} // namespace

template <class V>
void TransverseMercatorSeries::Forward(V phi, V dLambda, double dM0, V& dE, V& dN) const {
    V sinPhi, cosPhi;
    SinCos(phi, sinPhi, cosPhi);
    const LatitudeTerms<V> l(sinPhi, cosPhi, *this);
    const V A = dLambda * l.c;
    const V A2 = A * A;
    const V M = MeridianArcSinCos(a, pMDist, phi, l.s, l.c);
    const V T = l.T, T2 = T * T, T3 = T2 * T, eta2 = l.eta2, eta4 = eta2 * eta2;

    const V x5 = (5 - 18 * T + T2 + 14 * eta2 - 58 * T * eta2 +
                  (13 - 64 * T + 4 * eta2 - 24 * T * eta2) * eta4) /
                 120;
    const V x7 = (61 - 479 * T + 179 * T2 - T3) * A2 / 5040;
    const V x = A * (1 + A2 * ((1 - T + eta2) / 6 + A2 * (x5 + x7)));

    const V y6 =
        (61 - 58 * T + T2 + 270 * eta2 - 330 * T * eta2 +
         (445 - 680 * T + 324 * eta2 - 600 * T * eta2 + 88 * eta4 - 192 * T * eta4) * eta4) /
        720;
    const V y8 = (1385 - 3111 * T + 543 * T2 - T3) * A2 / 40320;
    const V y = A2 * (0.5 + A2 * ((5 - T + 9 * eta2 + 4 * eta4) / 24 + A2 * (y6 + y8)));

    dE = l.nu * k0 * x;
    dN = (l.nu * l.t * y + (M - dM0)) * k0;
}

template <class V>
void TransverseMercatorSeries::Inverse(V xg, V dArc, const double* g, V& dLambda, V& dPhi) const {
    const LatitudeSinCos<V> foot = FootpointLatitude(a, e2, pMDist, g, dArc);
    const LatitudeTerms<V> l(foot.s, foot.c, *this);
    // nu1 t / rho1 = t W / (1 - e^2) = t W (1 + e'^2).
    const V nuTOverRho = l.t * l.w * (1 + ep2);
    const V D = xg / (l.nu * k0);
    const V D2 = D * D;
    const V T = l.T, T2 = T * T, T3 = T2 * T, eta2 = l.eta2, eta4 = eta2 * eta2;
    const V eta6 = eta4 * eta2, eta8 = eta4 * eta4;

    const V q4 = (5 + 3 * T + eta2 - 4 * eta4 - 9 * T * eta2) / 24;
    const V q6 = (61 + 90 * T + 46 * eta2 + 45 * T2 - 252 * T * eta2 - 3 * eta4 + 100 * eta6 -
                  66 * T * eta4 - 90 * T2 * eta2 + 88 * eta8 + 225 * T2 * eta4 + 84 * T * eta6 -
                  192 * T * eta8) /
                 720;
    const V q8 = (1385 + 3633 * T + 4095 * T2 + 1575 * T3) / 40320;
    dPhi = foot.phi - nuTOverRho * D2 * (0.5 - D2 * (q4 - D2 * (q6 - q8 * D2)));

    const V r3 = (1 + 2 * T + eta2) / 6;
    const V r5 = (5 + 28 * T + 24 * T2 + 6 * eta2 + 8 * T * eta2 - 3 * eta4 + 4 * T * eta4 -
                  4 * eta6 + 24 * T * eta6) /
                 120;
    const V r7 = (61 + 662 * T + 1320 * T2 + 720 * T3) / 5040;
    dLambda = D * (1 - D2 * (r3 - D2 * (r5 - r7 * D2))) * l.invC;
}

template void TransverseMercatorSeries::Forward(double, double, double, double&, double&) const;
template void TransverseMercatorSeries::Forward(Lanes, Lanes, double, Lanes&, Lanes&) const;
template void TransverseMercatorSeries::Inverse(double, double, const double*, double&,
                                                double&) const;
template void TransverseMercatorSeries::Inverse(Lanes, Lanes, const double*, Lanes&, Lanes&) const;

} // namespace gx
