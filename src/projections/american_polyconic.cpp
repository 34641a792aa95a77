// American polyconic projection (EPSG method 9818): EPSG guidance note 7-2, "American
// Polyconic"; Snyder, Map Projections: A Working Manual, pp. 128-131 (the inverse by the
// Newton-Raphson iteration of eq. 18-21 to 18-25).
#include "projections/american_polyconic.h"

#include <cmath>
#include <type_traits>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The projection's constants: the ellipsoid, its meridian arc coefficients, the origin and the
// false origin.
struct Polyconic {
    double a, e2, lon0, m0, fe, fn;
    const double* d; // meridian arc coefficients

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T dLambda = gx::FoldLongitudeOnce(lon - lon0);
        // The equator is a straight line; off it each parallel is the arc of its own cone.
        const gx::MaskOf<T> onEquator = gx::Fabs(lat) < 1e-16;
        if (gx::All(onEquator)) {
            x = fe + a * dLambda;
            y = gx::Splat<T>(fn - m0);
            return;
        }
        T s, c;
        gx::SinCos(lat, s, c);
        const T nuCot = gx::PrimeVerticalRadius(a, e2, s) * c / s; // nu / tan phi
        // sin L and 1 - cos L = 2 sin^2(L/2) from the sine and cosine of L/2.
        const T half = dLambda * s * 0.5;
        T sh, ch;
        gx::SinCos(half, sh, ch);
        const T arc = gx::MeridianArcSinCos(a, d, lat, s, c);
        x = fe + nuCot * 2 * sh * ch;
        y = fn + (arc - m0) + nuCot * 2 * sh * sh;
        if (gx::Any(onEquator)) {
            x = gx::Select(onEquator, fe + a * dLambda, x);
            y = gx::Select(onEquator, gx::Splat<T>(fn - m0), y);
        }
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dE = x - fe;
        const T S = y - fn + m0;
        const gx::MaskOf<T> onEquator = gx::Fabs(S) < 1e-16;
        if (gx::All(onEquator)) {
            lat = gx::Splat<T>(0);
            lon = gx::FoldLongitude(dE / a + lon0);
            return;
        }
        const T A = S / a, B = (dE / a) * (dE / a) + A * A;
        // Newton steps on phi; sin and cos of each iterate follow the steps by the addition
        // formulas, and the divisions are shared: with q = 1 / (sin phi cos phi) = 2 / sin 2phi,
        // tan phi = sin^2 phi q and e^2 sin 2phi / (4C) = e^2 cos^2 phi / (2 sqrt(w)).
        T phi = A, s, c, C = gx::Splat<T>(0);
        gx::SinCos(phi, s, c);
        // Each lane steps until its relative change is at most 1e-15 (a NaN ends it too), at
        // most 16 steps; a lane on the equator takes none.
        gx::MaskOf<T> active = gx::Not(onEquator);
        for (int k = 0; k < 16 && gx::Any(active); ++k) {
            const T w = 1 - e2 * s * s, rw = gx::Sqrt(w), rwInv = 1 / (rw * w);
            const T q = 1 / (s * c); // independent of the square root: the two run in parallel
            const T sin2 = 2 * s * c, cos2 = (c - s) * (c + s);
            const T Ma = d[0] * phi + sin2 * gx::Poly7(d + 1, cos2); // M / a
            const T Mn = (1 - e2) * rwInv;
            C = gx::Select(active, s * s * q * rw, C); // tan phi sqrt(w)
            const T f = (C * Ma + 1) * A - Ma - 0.5 * (Ma * Ma + B) * C;
            T slope;
            if constexpr (std::is_same<T, double>::value) {
                const T H = e2 * c * c * (Ma * Ma + B - 2 * A * Ma) * w * rwInv / 2;
                slope = (A - Ma) * (C * Mn - q) + H - Mn;
            } else {
                // Lanes take the exact derivative of f, with C' = (w - e^2 sin^2 phi cos^2 phi)
                // / (cos^2 phi sqrt(w)): Newton's steps then converge quadratically, a quarter
                // faster here. (Snyder's eq. 18-24 approximates it.)
                const T dC = (w - e2 * s * s * c * c) / (c * c * rw);
                slope = (A - Ma) * C * Mn - Mn - 0.5 * dC * (Ma * Ma + B - 2 * A * Ma);
            }
            const T delta = gx::Select(active, f / slope, gx::Splat<T>(0));
            phi = phi - delta;
            T sNew = s, cNew = c;
            gx::StepSinCos(phi, delta, sNew, cNew);
            s = gx::Select(active, sNew, s);
            c = gx::Select(active, cNew, c);
            active = gx::And(active, gx::Fabs(delta) > 1e-15 * gx::Fabs(phi));
            // Lanes stop at a relative step of 1e-13 instead: their steps converge
            // quadratically, so the remaining error is far below 1e-12 rad, and C (one step
            // behind) moves the longitude by a relative 1e-13 at most; it saves the last step.
            // (Over a million points of EPSG:5880 the lanes stay within 1e-13 rad of UnProject.)
            if constexpr (!std::is_same<T, double>::value)
                active = gx::And(active, gx::Fabs(delta) >= 1e-13 * gx::Fabs(phi));
        }
        lat = gx::Select(onEquator, gx::Splat<T>(0), phi);
        lon = gx::FoldLongitude(gx::Select(onEquator, dE / a, gx::Asin(C * dE / a) / s) + lon0);
    }
};

} // namespace

// The kernel built from the members in one place. A macro, as the members are protected: it
// expands inside the member functions (o: this->) and the array view (o: the projection
// through a pointer to member of an accessor class; the kernel points into the projection's
// own coefficient arrays).
#define GX_POLYCONIC(o)                                                                            \
    Polyconic {                                                                                    \
        o m_dA, o m_dE2, o m_dLon0, o m_dM0, o m_dFalseEasting, o m_dFalseNorthing, o m_adMDist    \
    }

int CAmericanPolyconic::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_POLYCONIC(this->).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CAmericanPolyconic::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    GX_POLYCONIC(this->).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array view: the projection seen through an accessor class, whose pointers to members
// read its protected members.
struct PolyconicAccess : CAmericanPolyconic {
    static Polyconic Of(const CAmericanPolyconic& p) { return GX_POLYCONIC(p.*&PolyconicAccess::); }
};
struct PolyconicView {
    const CAmericanPolyconic& p;
    explicit PolyconicView(const CAmericanPolyconic& q) : p(q) {}
    Polyconic Kernel() const { return PolyconicAccess::Of(p); }
};

} // namespace

gx::ArrayKernels gx::PolyconicArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CAmericanPolyconic))
        return KernelsOf<PolyconicView, CAmericanPolyconic>();
    return {};
}
