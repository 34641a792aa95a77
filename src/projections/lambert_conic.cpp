// Lambert conic conformal with one standard parallel (EPSG method 9801), two standard parallels
// (9802) and two standard parallels with the Belgian rotation (9803); EPSG guidance note 7-2,
// Lambert Conic Conformal (1SP), (2SP) and (2SP Belgium).
#include "geoxform/lambert_conic.h"

#include <cmath>
#include <type_traits>

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
template <class T>
T ConePower(T dLatitude, double n, double e) {
    T s, c;
    gx::SinCos(dLatitude, s, c);
    return gx::Exp(-n * gx::IsometricLatitude(s, c, e));
}

// sin(pi/2 - 2 atan u) = (1 - u^2) / (1 + u^2), in the form of 1/u beyond 1 so that u^2 cannot
// overflow.
template <class T>
T SinOfConformalT(T u) {
    return gx::Branch(
        u > 1,
        [&] {
            const T v = 1 / u;
            return (v - 1) * (v + 1) / (1 + v * v);
        },
        [&] { return (1 - u) * (1 + u) / (1 + u * u); });
}

// The latitude of t: phi = pi/2 - 2 atan t, then phi = pi/2 - 2 atan(t ((1 - e sin phi) /
// (1 + e sin phi))^(e/2)) until the relative change is at most 1e-15, at most 16 steps; the
// first step always runs, and after 16 the last value stands. The power is taken as
// exp(-e atanh(e sin phi)) and sin phi from the tangent of the step, so that a step costs one
// exponential and one arctangent. Lanes step together; each keeps its value once done.
template <class T>
T LatitudeOfConformalT(T t, double e) {
    T phi = gx::kHalfPi - 2 * gx::Atan(t);
    T sinPhi = SinOfConformalT(t);
    T change = gx::Splat<T>(1000);
    for (int i = 0; i < kMaxLatitudeSteps; ++i) {
        const gx::MaskOf<T> active = gx::Not(change <= kTolerance);
        if (!gx::Any(active)) break;
        const T u = t * gx::SmallExp(-e * gx::EccentricAtanh(e * sinPhi));
        const T phiNew = gx::kHalfPi - 2 * gx::Atan(u);
        change = gx::Select(active, gx::Fabs(phi - phiNew) / gx::Fabs(phiNew), change);
        phi = gx::Select(active, phiNew, phi);
        sinPhi = gx::Select(active, SinOfConformalT(u), sinPhi);
    }
    return phi;
}

// The same for lanes of terrestrial ellipsoids (e^2 below 0.01), which need no angle until the
// end: Newton's steps on s = F(s), s = sin phi, F(s) = (1 - u^2) / (1 + u^2) of u = t exp(-e
// atanh(e s)), whose slope is F'(s) = 4 e^2 u^2 / ((1 + u^2)^2 (1 - e^2 s^2)); then one
// arctangent of u gives the latitude. An error of s moves u by only e^2 times as much, and the
// steps gain quadratically: two or three end with a step below 1e-9, after which s stands
// within rounding, where the steps above also end. A step that comes out NaN (u infinite at a
// pole) leaves s as it is. At most 16 steps.
gx::Lanes TerrestrialLatitudeOfConformalT(gx::Lanes t, double e) {
    const double e2 = e * e;
    gx::Lanes s = SinOfConformalT(t);
    for (int i = 0; i < kMaxLatitudeSteps; ++i) {
        const gx::Lanes es = e * s;
        const gx::Lanes u = t * gx::SmallExp(-e * gx::EccentricAtanh(es));
        const gx::Lanes uu = u * u, w = 1 + uu, q = w * (1 - es * es);
        // (F - s) / (1 - F') with one division.
        const gx::Lanes step = (1 - uu - s * w) * q / (w * q - 4 * e2 * uu);
        s = gx::Select(step == step, s + step, s);
        if (gx::All(gx::Fabs(step) <= 1e-9)) break;
    }
    return gx::kHalfPi - 2 * gx::Atan(t * gx::SmallExp(-e * gx::EccentricAtanh(e * s)));
}

// The cone of the three variants: n, a F (times k0), the radius of the origin's parallel, the
// false origin and the longitude of origin; the Belgian variant folds the longitude difference
// once, turns the grid and takes the full circle of atan2 in the inverse.
struct Cone {
    double n, aF, r0, fe, fn, e, lon0;
    bool bBelgium;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T theta = bBelgium ? n * gx::FoldLongitude(lon - lon0) - kBelgianRotation
                                 : n * gx::FoldLongitude(gx::FoldLongitude(lon) - lon0);
        T s, c;
        gx::SinCos(theta, s, c);
        const T r = ConePower(lat, n, e) * aF;
        x = fe + r * s;
        y = fn + r0 - r * c;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dx = x - fe, dy = r0 - (y - fn);
        T r = gx::Sqrt(dy * dy + dx * dx);
        if (n < 0) r = -r;
        // t = (r / aF)^(1/n); for lanes of terrestrial ellipsoids as exp(ln(r / aF) / n),
        // which costs less than the power.
        if constexpr (std::is_same<T, double>::value)
            lat = LatitudeOfConformalT(gx::Pow(r / aF, 1 / n), e);
        else
            lat = e < 0.1 ? TerrestrialLatitudeOfConformalT(gx::Exp(gx::Log(r / aF) * (1 / n)), e)
                          : LatitudeOfConformalT(gx::Pow(r / aF, 1 / n), e);
        const T theta = bBelgium ? gx::Atan2(dx, dy) + kBelgianRotation : gx::Atan(dx / dy);
        lon = gx::FoldLongitude(theta / n + lon0);
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions and the array views that use it.
#define GX_CONE(aF, r0, bBelgium)                                                                  \
    Cone {                                                                                         \
        m_dN, aF, r0, m_dFalseEasting, m_dFalseNorthing, m_dE, m_dLon0, bBelgium                   \
    }
#define GX_CONE_SP1 GX_CONE(m_dConeF* m_dA* m_dK0, m_dR0, false)
#define GX_CONE_SP2 GX_CONE(m_dConeF* m_dA, m_dRF, false)
#define GX_CONE_BELGIUM GX_CONE(m_dConeF* m_dA, m_dRF, true)

CLambertConicalSP1::CLambertConicalSP1(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                       double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing), m_dN(std::sin(dLat0)) {
    const double t0n = std::pow(ParallelT(dLat0, m_dE), m_dN);
    m_dConeF = ParallelM(dLat0, m_dE2) / (m_dN * t0n);
    m_dR0 = t0n * (m_dConeF * m_dA) * dK0;
}

int CLambertConicalSP1::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_CONE_SP1.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CLambertConicalSP1::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    GX_CONE_SP1.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CLambertConicalSP2::CLambertConicalSP2(int nEllipsoid, double dLonF, double dLatF, double dLat1,
                                       double dLat2, double dEastingF, double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLonF), m_dLat0(dLatF), m_dLat1(dLat1), m_dLat2(dLat2),
      m_dFalseEasting(dEastingF), m_dFalseNorthing(dNorthingF) {
    TwoParallelCone(m_dA, m_dE, m_dE2, dLatF, dLat1, dLat2, m_dN, m_dConeF, m_dRF);
}

int CLambertConicalSP2::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_CONE_SP2.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CLambertConicalSP2::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    GX_CONE_SP2.UnProject(dX, dY, dLongitude, dLatitude);
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
    GX_CONE_BELGIUM.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CLambertConicalSP2Belgium::UnProject(double dX, double dY, double& dLongitude,
                                         double& dLatitude) const {
    GX_CONE_BELGIUM.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array views: copies of a projection that build its cone.
struct SP1View : CLambertConicalSP1 {
    explicit SP1View(const CLambertConicalSP1& p) : CLambertConicalSP1(p) {}
    Cone Kernel() const { return GX_CONE_SP1; }
};
struct SP2View : CLambertConicalSP2 {
    explicit SP2View(const CLambertConicalSP2& p) : CLambertConicalSP2(p) {}
    Cone Kernel() const { return GX_CONE_SP2; }
};
struct BelgiumView : CLambertConicalSP2Belgium {
    explicit BelgiumView(const CLambertConicalSP2Belgium& p) : CLambertConicalSP2Belgium(p) {}
    Cone Kernel() const { return GX_CONE_BELGIUM; }
};

} // namespace

gx::ArrayKernels gx::LambertConicArrayKernels(const CProjection& p) {
    const std::type_info& type = typeid(p);
    if (type == typeid(CLambertConicalSP1)) return KernelsOf<SP1View, CLambertConicalSP1>();
    if (type == typeid(CLambertConicalSP2)) return KernelsOf<SP2View, CLambertConicalSP2>();
    if (type == typeid(CLambertConicalSP2Belgium))
        return KernelsOf<BelgiumView, CLambertConicalSP2Belgium>();
    return {};
}
