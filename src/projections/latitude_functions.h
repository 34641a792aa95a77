// Functions of the latitude that several projection families share (EPSG guidance note 7-2;
// Snyder, Map Projections: A Working Manual, eqs. 14-15, 15-9 and 3-12).
#ifndef GEOXFORM_LATITUDE_FUNCTIONS_H
#define GEOXFORM_LATITUDE_FUNCTIONS_H

#include <cmath>

namespace gx {

// m(phi) = cos phi / sqrt(1 - e^2 sin^2 phi): radius of the parallel over a.
inline double ParallelRadius(double phi, double e2) {
    const double s = std::sin(phi);
    return std::cos(phi) / std::sqrt(1 - e2 * s * s);
}

// t(phi) = tan(pi/4 - phi/2) / ((1 - e sin phi) / (1 + e sin phi))^(e/2): the conformal
// latitude's co-tangent function of the Lambert conformal conic and the north polar
// stereographic projections.
inline double ConformalT(double phi, double e) {
    const double es = e * std::sin(phi);
    return std::tan((1.5707963267948966 - phi) * 0.5) / std::pow((1 - es) / (1 + es), e * 0.5);
}

// atanh x for the small arguments x = e sin phi of terrestrial ellipsoids (|x| <= 0.1) by its
// odd series to x^19, whose first omitted term is below 1e-21 relative; by the logarithm
// beyond.
inline double EccentricAtanh(double x) {
    const double x2 = x * x;
    if (x2 > 0.01) return 0.5 * std::log((1 + x) / (1 - x));
    const double x4 = x2 * x2, x8 = x4 * x4;
    const double low = 1 + x2 * (1.0 / 3) + x4 * (1.0 / 5 + x2 * (1.0 / 7));
    const double high = 1.0 / 9 + x2 * (1.0 / 11) + x4 * (1.0 / 13 + x2 * (1.0 / 15)) +
                        x8 * (1.0 / 17 + x2 * (1.0 / 19));
    return x * (low + x8 * high);
}

// exp y for the small exponents of the eccentricity factors (|y| <= 0.02, that is e sin phi up
// to about 0.14 for terrestrial ellipsoids) by its Taylor series to y^9, whose first omitted
// term is below 1e-23 relative; by the exponential function beyond.
inline double SmallExp(double y) {
    if (std::fabs(y) > 0.02) return std::exp(y);
    const double y2 = y * y, y4 = y2 * y2, y8 = y4 * y4;
    const double low = (1 + y) + y2 * (1.0 / 2 + y * (1.0 / 6));
    const double high = (1.0 / 24 + y * (1.0 / 120)) + y2 * (1.0 / 720 + y * (1.0 / 5040));
    return low + y4 * high + y8 * (1.0 / 40320 + y * (1.0 / 362880));
}

// Isometric latitude from sin phi: psi = atanh(sin phi) - e atanh(e sin phi) = -ln t(phi), so
// that t(phi)^k = exp(-k psi) takes one exponential.
inline double IsometricLatitude(double sinPhi, double e) {
    return 0.5 * std::log((1 + sinPhi) / (1 - sinPhi)) - e * EccentricAtanh(e * sinPhi);
}

// The same from sin phi and cos phi, with tan(pi/4 + phi/2) = (1 + sin phi) / cos phi: like
// the logarithm of that tangent, -inf at -pi/2 and NaN beyond the poles (cos phi < 0).
inline double IsometricLatitude(double sinPhi, double cosPhi, double e) {
    return std::log((1 + sinPhi) / cosPhi) - e * EccentricAtanh(e * sinPhi);
}

// t(phi) of ConformalT from sin phi and cos phi: tan(pi/4 - phi/2) = cos phi / (1 + sin phi)
// and the eccentricity factor exp(e atanh(e sin phi)). t(-phi), the south-pole form of the
// polar stereographic projections, is ConformalT(-sin phi, cos phi, e).
inline double ConformalT(double sinPhi, double cosPhi, double e) {
    return cosPhi / (1 + sinPhi) * SmallExp(e * EccentricAtanh(e * sinPhi));
}

// Geodetic latitude of the conformal latitude chi = pi/2 - 2 atan t (t = t(phi)) by the
// conformal-latitude series c0..c3 of the ellipsoid base (chi + sin 2chi (c0 + cos 2chi (c1 +
// ...))), with sin 2chi and cos 2chi formed from t: sin chi = (1 - t^2) / (1 + t^2) and
// cos chi = 2t / (1 + t^2).
inline double GeodeticFromConformalT(double t, const double* c) {
    const double chi = 1.5707963267948966 - 2 * std::atan(t);
    const double r = 1 / (1 + t * t);
    const double sinChi = (1 - t) * (1 + t) * r, cosChi = 2 * t * r;
    const double sin2 = 2 * sinChi * cosChi, cos2 = (cosChi - sinChi) * (cosChi + sinChi);
    return chi + sin2 * (c[0] + cos2 * (c[1] + cos2 * (c[2] + cos2 * c[3])));
}

// q(phi) = (1 - e^2) (sin phi / (1 - e^2 sin^2 phi) - ln((1 - e sin phi) / (1 + e sin phi))
// / (2e)): the authalic function of the equal-area projections, the logarithm taken as
// 2 atanh(e sin phi). Not finite on a sphere.
inline double AuthalicQ(double phi, double e, double e2) {
    const double s = std::sin(phi);
    return (1 - e2) * (s / (1 - e2 * s * s) + EccentricAtanh(e * s) / e);
}

// q(phi) of AuthalicQ from sin phi without a division: 1 / (1 - x^2) + atanh(x) / x is
// sum (2k + 2) / (2k + 1) x^(2k) for x = e sin phi, taken to x^16 when x^2 <= 0.01 (remainder
// below 1e-18), else AuthalicQ's form. Finite (2 sin phi) on a sphere, unlike AuthalicQ.
inline double AuthalicQOfSin(double s, double e, double e2) {
    const double x2 = e2 * s * s;
    if (x2 > 0.01) return (1 - e2) * (s / (1 - x2) + EccentricAtanh(e * s) / e);
    const double x4 = x2 * x2, x8 = x4 * x4;
    const double low = 2 + x2 * (4.0 / 3) + x4 * (6.0 / 5 + x2 * (8.0 / 7));
    const double high =
        10.0 / 9 + x2 * (12.0 / 11) + x4 * (14.0 / 13 + x2 * (16.0 / 15)) + x8 * (18.0 / 17);
    return (1 - e2) * s * (low + x8 * high);
}

// Geodetic latitude of an authalic latitude beta, given with its sine and cosine, by the
// series to e^6, its coefficients evaluated as (e^2 31/180 + 1/3 + e^4 517/5040) e^2,
// (e^2 251/3780 + 23/360) e^4 and e^2 e^4 761/45360; the multiple-angle sines from those of
// beta (sin 4b = 2 sin 2b cos 2b, sin 6b = sin 2b (3 - 4 sin^2 2b)).
inline double AuthalicToGeodetic(double beta, double sinBeta, double cosBeta, double e2,
                                 double e4) {
    const double c2 = (e2 * 31 / 180 + 1.0 / 3 + e4 * 517 / 5040) * e2;
    const double c4 = (e2 * 251 / 3780 + 0.06388888888888888) * e4;
    const double c6 = e2 * e4 * 761 / 45360;
    const double sin2 = 2 * sinBeta * cosBeta, cos2 = (cosBeta - sinBeta) * (cosBeta + sinBeta);
    return beta + sin2 * (c2 + 2 * c4 * cos2 + c6 * (3 - 4 * sin2 * sin2));
}

// The same from beta alone.
inline double AuthalicToGeodetic(double beta, double e2, double e4) {
    return AuthalicToGeodetic(beta, std::sin(beta), std::cos(beta), e2, e4);
}

} // namespace gx

#endif
