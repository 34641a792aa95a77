// The one home of the geodesy every projection shares: angle constants, the folds of angles,
// radii of curvature, the conformal, isometric and authalic latitudes, and the meridian arc
// with its footpoint (EPSG guidance note 7-2; Snyder, Map Projections: A Working Manual,
// eqs. 3-1, 3-5, 3-12, 4-18, 14-15 and 15-9).
#ifndef GEOXFORM_GEODESY_H
#define GEOXFORM_GEODESY_H

#include <cmath>

#include "projections/fast_math.h"

namespace gx {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfPi = kPi / 2;
constexpr double kTwoPi = 2 * kPi;
constexpr double kDegree = kPi / 180; // radians in a degree
constexpr double kDegreesPerRadian = 180 / kPi;

// c[0] + x (c[1] + x (c[2] + ... + x c[n-1])).
template <class T>
inline T Horner(const double* c, int n, T x) {
    T sum = Splat<T>(c[n - 1]);
    for (int k = n - 2; k >= 0; --k)
        sum = c[k] + x * sum;
    return sum;
}

// ---- Folds. Each rule below is in use; they differ and are kept apart on purpose.

// A longitude in radians into [-pi, pi]: first reduced by fmod when |x| >= 2 pi, then moved by
// 2 pi steps; pi and -pi come back unchanged; NaN and infinities give NaN.
template <class T>
inline T FoldLongitude(T x) {
    const MaskOf<T> wide = Fabs(x) >= kTwoPi;
    if (Any(wide)) x = Select(wide, Fmod(x, Splat<T>(kTwoPi)), x);
    for (MaskOf<T> m; Any(m = x > kPi);)
        x = Select(m, x - kTwoPi, x);
    for (MaskOf<T> m; Any(m = x < -kPi);)
        x = Select(m, x + kTwoPi, x);
    return x;
}

// A longitude difference moved by at most one 2 pi step each way: exact for differences of
// two longitudes within [-pi, pi], left alone beyond (American polyconic).
template <class T>
inline T FoldLongitudeOnce(T x) {
    x = Select(x < -kPi, x + kTwoPi, x);
    return Select(x > kPi, x - kTwoPi, x);
}

// A latitude towards [-pi/2, pi/2]: reduced by fmod when |x| >= 2 pi, reflected at pi/2
// (x -> pi - x), and beyond -pi/2 moved by additions of pi (not a reflection).
template <class T>
inline T FoldLatitude(T x) {
    const MaskOf<T> wide = Fabs(x) >= kTwoPi;
    if (Any(wide)) x = Select(wide, Fmod(x, Splat<T>(kTwoPi)), x);
    x = Select(x > kHalfPi, kPi - x, x);
    for (MaskOf<T> m; Any(m = x < -kHalfPi);)
        x = Select(m, x + kPi, x);
    return x;
}

// An angle in degrees moved by the nearest multiple of 360 when |d| exceeds 180 (bAxis: a
// longitude or latitude, into [-180, 180]) or reaches 360 (else, into (-360, 360)); infinities
// give NaN.
inline double FoldDegrees(double d, bool bAxis) {
    if (bAxis ? std::fabs(d) > 180 : std::fabs(d) >= 360) d -= 360 * std::floor(d / 360 + 0.5);
    return d;
}

// ---- Radii, over the semi-major axis or in its units, from sin phi.

// Prime vertical radius of curvature nu = a / sqrt(1 - e^2 sin^2 phi).
template <class T>
inline T PrimeVerticalRadius(double a, double e2, T sinPhi) {
    return a / Sqrt(1 - e2 * sinPhi * sinPhi);
}

// Meridian radius of curvature rho = a (1 - e^2) / (1 - e^2 sin^2 phi)^(3/2).
template <class T>
inline T MeridianRadius(double a, double e2, T sinPhi) {
    const T w = 1 - e2 * sinPhi * sinPhi;
    return a * (1 - e2) / (w * Sqrt(w));
}

// m(phi) = cos phi / sqrt(1 - e^2 sin^2 phi): radius of the parallel over a.
template <class T>
inline T ParallelRadius(T sinPhi, T cosPhi, double e2) {
    return cosPhi / Sqrt(1 - e2 * sinPhi * sinPhi);
}

// ---- Conformal and isometric latitude.

// Isometric latitude psi = ln tan(pi/4 + phi/2) - e atanh(e sin phi), in two forms with
// different rules at and beyond the poles, both in use:
// from sin phi and cos phi, the tangent written (1 + sin phi) / cos phi: -inf at -pi/2 and NaN
// where cos phi < 0 (a latitude beyond a pole is no latitude);
template <class T>
inline T IsometricLatitude(T sinPhi, T cosPhi, double e) {
    return Log((1 + sinPhi) / cosPhi) - e * EccentricAtanh(e * sinPhi);
}

// from sin phi alone, the tangent's logarithm written atanh(sin phi): -inf and +inf at the
// poles, and a latitude beyond a pole acts as its reflection.
template <class T>
inline T IsometricLatitude(T sinPhi, double e) {
    return 0.5 * Log((1 + sinPhi) / (1 - sinPhi)) - e * EccentricAtanh(e * sinPhi);
}

// t(phi) = tan(pi/4 - phi/2) / ((1 - e sin phi) / (1 + e sin phi))^(e/2) = exp(-psi), written
// cos phi / (1 + sin phi) exp(e atanh(e sin phi)). t(-phi), the south-pole form of the polar
// stereographic projections, is ConformalT(-sin phi, cos phi, e).
template <class T>
inline T ConformalT(T sinPhi, T cosPhi, double e) {
    return cosPhi / (1 + sinPhi) * SmallExp(e * EccentricAtanh(e * sinPhi));
}

// Geodetic latitude of the conformal latitude chi, given sin 2chi and cos 2chi, by the
// conformal-latitude series c0..c3 of the ellipsoid base (Snyder eq. 3-5):
// chi + sin 2chi (c0 + cos 2chi (c1 + ...)).
template <class T>
inline T GeodeticFromConformal(T chi, T sin2Chi, T cos2Chi, const double* c) {
    return chi + sin2Chi * Horner(c, 4, cos2Chi);
}

// The same of chi = pi/2 - 2 atan t, with sin chi = (1 - t^2) / (1 + t^2) and
// cos chi = 2t / (1 + t^2).
template <class T>
inline T GeodeticFromConformalT(T t, const double* c) {
    const T r = 1 / (1 + t * t);
    const T sinChi = (1 - t) * (1 + t) * r, cosChi = 2 * t * r;
    return GeodeticFromConformal(kHalfPi - 2 * Atan(t), 2 * sinChi * cosChi,
                                 (cosChi - sinChi) * (cosChi + sinChi), c);
}

// ---- Authalic latitude.

// q(phi) = (1 - e^2) (sin phi / (1 - e^2 sin^2 phi) + atanh(e sin phi) / e): the authalic
// function of the equal-area projections (Snyder eq. 3-12). Not finite on a sphere.
template <class T>
inline T AuthalicQ(T sinPhi, double e, double e2) {
    return (1 - e2) * (sinPhi / (1 - e2 * sinPhi * sinPhi) + EccentricAtanh(e * sinPhi) / e);
}

// Geodetic latitude of an authalic latitude beta, given with its sine and cosine, by the
// series to e^6 (Snyder eq. 3-18), its coefficients evaluated as (e^2 31/180 + 1/3 +
// e^4 517/5040) e^2, (e^2 251/3780 + 23/360) e^4 and e^2 e^4 761/45360; the multiple-angle
// sines from those of beta (sin 4b = 2 sin 2b cos 2b, sin 6b = sin 2b (3 - 4 sin^2 2b)).
template <class T>
inline T AuthalicToGeodetic(T beta, T sinBeta, T cosBeta, double e2, double e4) {
    const double c2 = (e2 * 31 / 180 + 1.0 / 3 + e4 * 517 / 5040) * e2;
    const double c4 = (e2 * 251 / 3780 + 0.06388888888888888) * e4;
    const double c6 = e2 * e4 * 761 / 45360;
    const T sin2 = 2 * sinBeta * cosBeta, cos2 = (cosBeta - sinBeta) * (cosBeta + sinBeta);
    return beta + sin2 * (c2 + 2 * c4 * cos2 + c6 * (3 - 4 * sin2 * sin2));
}

// ---- Meridian arc.

// Meridian arc from the equator to phi, given sin 2phi and cos 2phi: a (d0 phi + sin 2phi
// (d1 + cos 2phi (d2 + ... d7))), d the coefficients of the ellipsoid base.
template <class T>
inline T MeridianArc(double a, const double* d, T phi, T sin2, T cos2) {
    return a * (d[0] * phi + sin2 * Poly7(d + 1, cos2));
}

// The same from sin phi and cos phi.
template <class T>
inline T MeridianArcSinCos(double a, const double* d, T phi, T s, T c) {
    return MeridianArc(a, d, phi, 2 * s * c, (c - s) * (c + s));
}

// A latitude with its sine and cosine.
template <class T = double>
struct LatitudeSinCos {
    T phi, s, c;
};

// Footpoint latitude: the geodetic latitude whose meridian arc is dArc, starting from the
// series in the rectifying latitude mu (coefficients g0..g6; the projections pass
// mu = dArc / (a d0)) and refined by at most ten Newton steps with the meridian radius of
// curvature until the relative step is below 1e-14; the series value when the steps do not
// converge.
// (Defined for double and Lanes in geodesy.cpp.)
template <class T>
LatitudeSinCos<T> FootpointLatitude(double a, double e2, const double* d, const double* g, T mu,
                                    T dArc);

// The same with mu = dArc / (a d0).
template <class T>
inline LatitudeSinCos<T> FootpointLatitude(double a, double e2, const double* d, const double* g,
                                           T dArc) {
    return FootpointLatitude(a, e2, d, g, dArc / (a * d[0]), dArc);
}

} // namespace gx

#endif
