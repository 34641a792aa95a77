// Faster stand-ins for standard functions, each kept only where it measurably speeds up the
// projection methods that call it per point. Each agrees with the function it replaces to
// within an ulp or two over the arguments the projections pass. Templates over the value
// type: double, or the Lanes of the array kernels (lanes.h).
#ifndef GEOXFORM_FAST_MATH_H
#define GEOXFORM_FAST_MATH_H

#include <cmath>

#include "projections/lanes.h"

namespace gx {

// The odd series of atanh x to x^19, given x and x^2: its first omitted term is x^21 / 21,
// below 1e-21 relative for x^2 <= 0.01 and 5e-15 for x^2 <= 0.05.
template <class T>
inline T AtanhSeries(T x, T x2) {
    const T x4 = x2 * x2, x8 = x4 * x4;
    const T low = 1 + x2 * (1.0 / 3) + x4 * (1.0 / 5 + x2 * (1.0 / 7));
    const T high = 1.0 / 9 + x2 * (1.0 / 11) + x4 * (1.0 / 13 + x2 * (1.0 / 15)) +
                   x8 * (1.0 / 17 + x2 * (1.0 / 19));
    return x * (low + x8 * high);
}

// atanh x for the small arguments x = e sin phi of terrestrial ellipsoids (|x| <= 0.1) by its
// series while x^2 <= 0.01; std::atanh beyond.
template <class T>
inline T EccentricAtanh(T x) {
    const T x2 = x * x;
    return Branch(
        x2 > 0.01, [&] { return Atanh(x); }, [&] { return AtanhSeries(x, x2); });
}

// exp y for the small exponents of the eccentricity factors (|y| <= 0.02, that is e sin phi up
// to about 0.14 for terrestrial ellipsoids) by its Taylor series to y^9, whose first omitted
// term is below 1e-23 relative; std::exp beyond.
template <class T>
inline T SmallExp(T y) {
    return Branch(
        Fabs(y) > 0.02, [&] { return Exp(y); },
        [&] {
            const T y2 = y * y, y4 = y2 * y2, y8 = y4 * y4;
            const T low = (1 + y) + y2 * (1.0 / 2 + y * (1.0 / 6));
            const T high = (1.0 / 24 + y * (1.0 / 120)) + y2 * (1.0 / 720 + y * (1.0 / 5040));
            return low + y4 * high + y8 * (1.0 / 40320 + y * (1.0 / 362880));
        });
}

// q(phi) of AuthalicQ (geodesy.h) from sin phi without a division: 1 / (1 - x^2) +
// atanh(x) / x is sum (2k + 2) / (2k + 1) x^(2k) for x = e sin phi, taken to x^16 when
// x^2 <= 0.01 (remainder below 1e-18), else the closed form. Finite (2 sin phi) on a sphere.
template <class T>
inline T AuthalicQOfSin(T s, double e, double e2) {
    const T x2 = e2 * s * s;
    return Branch(
        x2 > 0.01, [&] { return (1 - e2) * (s / (1 - x2) + EccentricAtanh(e * s) / e); },
        [&] {
            const T x4 = x2 * x2, x8 = x4 * x4;
            const T low = 2 + x2 * (4.0 / 3) + x4 * (6.0 / 5 + x2 * (8.0 / 7));
            const T high = 10.0 / 9 + x2 * (12.0 / 11) + x4 * (14.0 / 13 + x2 * (16.0 / 15)) +
                           x8 * (18.0 / 17);
            return (1 - e2) * s * (low + x8 * high);
        });
}

// The seven-term polynomial c[0] + x c[1] + ... + x^6 c[6] by Estrin's scheme: the same sum as
// Horner's, in independent pairs, so that its latency is three multiplications deep, not six.
template <class T>
inline T Poly7(const double* c, T x) {
    const T x2 = x * x, x4 = x2 * x2;
    return (c[0] + x * c[1]) + x2 * (c[2] + x * c[3]) + x4 * ((c[4] + x * c[5]) + x2 * c[6]);
}

// After a step from phi to phiNew = phi - step: s and c, the sine and cosine of phi, become
// those of phiNew. Below 1e-9 the step's cosine is 1 and its sine the step to double
// precision; below 0.01 the addition formulas with the Taylor series of sin and cos of the
// step to its seventh power (the next terms stay below 1e-20); std::sin and std::cos beyond.
template <class T>
inline void StepSinCos(T phiNew, T step, T& s, T& c) {
    const MaskOf<T> tiny = Fabs(step) < 1e-9, small = Fabs(step) < 0.01;
    T sTaylor = s, cTaylor = c;
    if (Any(tiny)) {
        sTaylor = s - c * step;
        cTaylor = c + s * step;
    }
    if (Any(And(small, Not(tiny)))) {
        const T d = -step, d2 = d * d;
        const T sinD = d * (1 - d2 / 6 * (1 - d2 / 20 * (1 - d2 / 42)));
        const T cosD = 1 - d2 / 2 * (1 - d2 / 12 * (1 - d2 / 30));
        const T sNew = s * cosD + c * sinD, cNew = c * cosD - s * sinD;
        sTaylor = Select(tiny, sTaylor, sNew);
        cTaylor = Select(tiny, cTaylor, cNew);
    }
    if (All(small)) {
        s = sTaylor;
        c = cTaylor;
        return;
    }
    T sExact, cExact;
    SinCos(phiNew, sExact, cExact);
    s = Select(small, sTaylor, sExact);
    c = Select(small, cTaylor, cExact);
}

} // namespace gx

#endif
