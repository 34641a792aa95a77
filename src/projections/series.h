// Trigonometric series in the form the ellipsoid base stores them: sum of c_k sin 2kx written
// as sin 2x times a polynomial in cos 2x (sin 2kx = sin 2x U_{k-1}(cos 2x), Chebyshev
// polynomials of the second kind), so that one sine, one cosine and a Horner polynomial
// evaluate the whole series.
#ifndef GEOXFORM_SERIES_H
#define GEOXFORM_SERIES_H

namespace gx {

// c[0] + x (c[1] + x (c[2] + ... + x c[n-1])).
inline double Horner(const double* c, int n, double x) {
    double sum = c[n - 1];
    for (int k = n - 2; k >= 0; --k)
        sum = c[k] + x * sum;
    return sum;
}

// Number of coefficients of each stored series.
const int kConfLatTerms = 4;   // c0..c3
const int kMDistSineTerms = 7; // d1..d7 (d0 is the factor of phi)
const int kMDistInvTerms = 7;  // g0..g6

// The seven-term polynomial by Estrin's scheme: the same sum as Horner's, in independent
// pairs, so that its latency is three multiplications deep instead of six.
inline double Poly7(const double* c, double x) {
    const double x2 = x * x, x4 = x2 * x2;
    return (c[0] + x * c[1]) + x2 * (c[2] + x * c[3]) + x4 * ((c[4] + x * c[5]) + x2 * c[6]);
}

// Meridian arc from the equator to phi, given sin 2phi and cos 2phi: a (d0 phi + sin 2phi
// (d1 + cos 2phi (d2 + ...))).
inline double MeridianArc(double a, const double* d, double phi, double sin2, double cos2) {
    return a * (d[0] * phi + sin2 * Poly7(d + 1, cos2));
}

// sin and cos of phi + delta for |delta| < 0.01 from those of phi, with the Taylor series of
// sin delta and cos delta to delta^7 (the next terms stay below 1e-20).
inline void AddSmallAngle(double& s, double& c, double delta) {
    const double d2 = delta * delta;
    const double sinDelta = delta * (1 - d2 / 6 * (1 - d2 / 20 * (1 - d2 / 42)));
    const double cosDelta = 1 - d2 / 2 * (1 - d2 / 12 * (1 - d2 / 30));
    const double sNew = s * cosDelta + c * sinDelta;
    c = c * cosDelta - s * sinDelta;
    s = sNew;
}

// A latitude with its sine and cosine.
struct LatitudeSinCos {
    double phi, s, c;
};

// Footpoint latitude: the geodetic latitude whose meridian arc is dArc, starting from the
// series in the rectifying latitude mu (coefficients g0..g6) and refined by at most ten
// Newton steps with the meridian radius of curvature until the relative step is below 1e-14;
// the series value when the steps do not converge. d0..d7 are the meridian arc coefficients.
LatitudeSinCos FootpointLatitude(double a, double e2, const double* d, const double* g, double mu,
                                 double dArc);

} // namespace gx

#endif
