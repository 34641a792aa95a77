// Lambert conic near-conformal (EPSG method 9817); EPSG guidance note 7-2, Lambert Conic
// Near-Conformal.
#include <cmath>
#include <type_traits>

#include "geoxform/lambert_conic.h"
#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

const double kTolerance = 1e-15;
// The two iterations of the inverse have no bound of their own in the method; each stops after
// this many steps, which terrestrial ellipsoids never reach: Newton's steps on the cubic need at
// most 6 for points within 10000 km of the origin, and the latitude steps, which gain a factor
// of about 3n (n the third flattening) each, at most 8 - except on the equator, where the
// relative change cannot settle while the latitude shrinks towards 0 (some 140 steps) and the
// cap leaves it within 1e-15 of 0. On ellipsoids as flat as 1/f = 1.1 the latitude steps
// never settle and only the cap ends them.
const int kMaxSteps = 16;

// S(phi) = A' phi[deg] - B' sin 2phi + C' sin 4phi - D' sin 6phi + E' sin 8phi, the
// multiple-angle sines from one sine and cosine of 2phi: sin 4x = 2 sin 2x cos 2x,
// sin 6x = sin 2x (4 cos^2 2x - 1), sin 8x = 4 sin 2x cos 2x (2 cos^2 2x - 1).
struct ArcSeries {
    double A, B, C, D, E;

    template <class T>
    T operator()(T phi) const {
        T s2, c2;
        gx::SinCos(2 * phi, s2, c2);
        const T sines = -B + D + c2 * (2 * C - 4 * E + c2 * (-4 * D + c2 * 8 * E));
        return A * phi * gx::kDegreesPerRadian + s2 * sines;
    }

    // The latitude whose arc value is target by Newton's steps from phi, for the array kernels
    // of terrestrial ellipsoids: S'(phi) = A' 180/pi + 2 cos 2phi P - 2 sin^2 2phi dP/dc of the
    // polynomial P(cos 2phi) above, the sine and cosine of 2phi carried along the steps. The
    // error shrinks as about 0.02 step^2 (S'' / 2S'), so that after a step below 1e-9 the
    // latitude stands within rounding of the root, where the scalar steps also end (each of
    // those gains only a factor of about 3n).
    template <class T>
    T Newton(T phi, T target) const {
        T s2, c2;
        gx::SinCos(2 * phi, s2, c2);
        for (int i = 0; i < kMaxSteps; ++i) {
            const T sines = -B + D + c2 * (2 * C - 4 * E + c2 * (-4 * D + c2 * 8 * E));
            const T slope = 2 * C - 4 * E + c2 * (-8 * D + c2 * 24 * E);
            const T g = A * phi * gx::kDegreesPerRadian + s2 * sines - target;
            const T dg = A * gx::kDegreesPerRadian + 2 * (c2 * sines - s2 * s2 * slope);
            const T step = g / dg;
            phi = phi - step;
            if (gx::All(gx::Fabs(step) < 1e-9)) break;
            gx::StepSinCos(2 * phi, 2 * step, s2, c2);
        }
        return phi;
    }
};

// The cone of the method: the arc series, its value s0 at the origin, the cubic's A, the
// origin's radius r0 and sin phi0.
struct NearCone {
    ArcSeries arc;
    double s0, cubicA, r0, k0, lon0, lat0, sinLat0, fe, fn;
    bool bTerrestrial; // flattening below 0.01, where the latitude steps settle

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T M = arc(lat) - s0;
        const T Mk = k0 * M * (1 + cubicA * M * M);
        const T r = r0 - Mk;
        const T theta = gx::FoldLongitude(lon - lon0) * sinLat0;
        T sinTheta, cosTheta;
        gx::SinCos(theta, sinTheta, cosTheta);
        x = fe + r * sinTheta;
        // r sin(theta) tan(theta/2), with tan(theta/2) = sin theta / (1 + cos theta).
        y = fn + Mk + r * sinTheta * sinTheta / (1 + cosTheta);
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dx = x - fe, dy = r0 - (y - fn);
        const T theta = gx::Atan2(dx, dy);
        T r = gx::Sqrt(dy * dy + dx * dx);
        if (lat0 < 0) r = -r;
        const T Mk = r0 - r;

        // Newton's steps on Mk = k0 M (1 + A M^2), from M = Mk; a NaN ends them. Lanes step
        // together; each keeps its value once done.
        T M = Mk;
        T change = gx::Splat<T>(1);
        for (int i = 0; i < kMaxSteps; ++i) {
            const gx::MaskOf<T> active = change > kTolerance;
            if (!gx::Any(active)) break;
            const T mNew =
                M - (Mk - k0 * M * (1 + cubicA * M * M)) / (-k0 * (1 + 3 * cubicA * M * M));
            change = gx::Select(active, gx::Fabs(M - mNew) / gx::Fabs(mNew), change);
            M = gx::Select(active, mNew, M);
        }

        // The latitude whose arc value is M + s0, by steps of the arc's difference over A'.
        T phi = lat0 + M / arc.A * gx::kDegree;
        if constexpr (!std::is_same<T, double>::value) {
            if (bTerrestrial) {
                lat = arc.Newton(phi, M + s0);
                lon = gx::FoldLongitude(theta / sinLat0 + lon0);
                return;
            }
        }
        change = gx::Splat<T>(1);
        for (int i = 0; i < kMaxSteps; ++i) {
            const gx::MaskOf<T> active = change > kTolerance;
            if (!gx::Any(active)) break;
            const T phiNew = phi + ((M + s0) - arc(phi)) / arc.A * gx::kDegree;
            change = gx::Select(active, gx::Fabs(phiNew - phi) / gx::Fabs(phiNew), change);
            phi = gx::Select(active, phiNew, phi);
        }
        lat = phi;
        lon = gx::FoldLongitude(theta / sinLat0 + lon0);
    }
};

} // namespace

CLambertConicNearConformal::CLambertConicNearConformal(int nEllipsoid, double dLon0, double dLat0,
                                                       double dK0, double dFalseEasting,
                                                       double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    const double a = m_dA, f = m_dF, e2 = m_dE2;
    const double n = f / (2 - f); // the third flattening, not a cone constant
    const double s0 = std::sin(dLat0);
    const double nu0 = gx::PrimeVerticalRadius(a, e2, s0);
    const double rho0 = gx::MeridianRadius(a, e2, s0);
    const double n2 = n * n;
    m_dCubicA = 1 / (6 * rho0 * nu0);
    m_dArcA = a * ((1 - n) + n2 * (5 * (1 - n) / 4 + 81 * n2 * (1 - n) / 64)) * gx::kDegree;
    m_dArcB = 3 * a * n * ((1 - n) + n2 * (7 * (1 - n) / 8 + 55 * n2 / 64)) / 2;
    m_dArcC = 15 * a * n2 * ((1 - n) + 3 * n2 * (1 - n) / 4) / 16;
    m_dArcD = 35 * a * n2 * n * ((1 - n) + 11 * n2 / 16) / 48;
    m_dArcE = 315 * a * n2 * n2 * (1 - n) / 512;
    m_dR0 = nu0 * dK0 / std::tan(dLat0);
    m_dS0 = Arc(dLat0);
}

// The kernel of the class built from its members in one place. A macro, as the class layout is
// fixed by the public header (no member function may be added), and the members are
// protected: it expands inside the member functions and the array view that use it.
#define GX_NEAR_CONE                                                                               \
    NearCone {                                                                                     \
        {m_dArcA, m_dArcB, m_dArcC, m_dArcD, m_dArcE}, m_dS0, m_dCubicA, m_dR0, m_dK0, m_dLon0,    \
            m_dLat0, std::sin(m_dLat0), m_dFalseEasting, m_dFalseNorthing, m_dF < 0.01             \
    }

double CLambertConicNearConformal::Arc(double dPhi) const {
    return ArcSeries{m_dArcA, m_dArcB, m_dArcC, m_dArcD, m_dArcE}(dPhi);
}

int CLambertConicNearConformal::Project(double dLongitude, double dLatitude, double& dX,
                                        double& dY) const {
    GX_NEAR_CONE.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CLambertConicNearConformal::UnProject(double dX, double dY, double& dLongitude,
                                          double& dLatitude) const {
    GX_NEAR_CONE.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array view: a copy of a projection that builds its cone.
struct NearConeView : CLambertConicNearConformal {
    explicit NearConeView(const CLambertConicNearConformal& p) : CLambertConicNearConformal(p) {}
    NearCone Kernel() const { return GX_NEAR_CONE; }
};

} // namespace

gx::ArrayKernels gx::NearConformalArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CLambertConicNearConformal))
        return KernelsOf<NearConeView, CLambertConicNearConformal>();
    return {};
}
