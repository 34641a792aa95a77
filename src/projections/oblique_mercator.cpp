// Hotine oblique Mercator, variants A and B (EPSG methods 9812 and 9815): EPSG guidance note
// 7-2, "Oblique Mercator and Hotine Oblique Mercator".
#include "geoxform/oblique_mercator.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

using gx::kHalfPi;
const double kInfinity = std::numeric_limits<double>::infinity();

// The constants of the projection centre that both variants derive alike.
struct Centre {
    double A, B, H, gamma0;
    double dLon0; // lambda0 - lambdac, before folding
    double W;

    void Into(double& dA, double& dB, double& dGamma0, double& dH) const {
        dA = A;
        dB = B;
        dGamma0 = gamma0;
        dH = H;
    }
};

Centre DeriveCentre(double a, double e, double e2, double latC, double kC, double alphaC) {
    Centre c;
    const double sinC = std::sin(latC), cosC = std::cos(latC);
    const double w = 1 - e2 * sinC * sinC;
    c.B = std::sqrt(1 + e2 * cosC * cosC * cosC * cosC / (1 - e2));
    c.A = a * c.B * kC * std::sqrt(1 - e2) / w;
    const double t0 = gx::ConformalT(sinC, cosC, e);
    const double D = c.B * std::sqrt(1 - e2) / (std::sqrt(w) * cosC);
    c.W = D >= 1 ? std::sqrt(D * D - 1) : 0;
    const double sign = latC >= 0 ? 1 : -1;
    const double F = D + c.W * sign;
    c.H = std::pow(t0, c.B) * F;
    const double G = (F - 1 / F) * 0.5;
    const double sinAlpha = std::sin(alphaC), cosAlpha = std::cos(alphaC);
    // The quotient is clamped into [-1, 1]: at the equator D is 1 only up to rounding, and an
    // azimuth of 90 degrees must not make the arcsine undefined there.
    c.gamma0 = std::asin(std::fmax(-1.0, std::fmin(1.0, sinAlpha / D)));
    double g = G * std::tan(c.gamma0);
    // Keeps the arcsine below defined; gamma0 is replaced only in these two cases.
    if (g > 1) {
        g = 1;
        c.gamma0 = std::atan(1 / G);
    } else if (g < -1) {
        g = -1;
        c.gamma0 = std::atan(-1 / G);
    }
    // asin g is ill-conditioned next to |g| = 1, where an azimuth of 90 degrees puts it (there
    // g comes out as 1 - 2e-16 and asin g 2e-8 rad short, 0.13 m on the Swiss grid). For
    // D >= 1, G = sign(phic) W and W^2 = D^2 - 1 give g = sign W sin(alphac) / sqrt(D^2 -
    // sin^2 alphac) and 1 - g^2 = D^2 cos^2 alphac / (D^2 - sin^2 alphac): the same angle is
    // atan2(sign W sin alphac, D |cos alphac|), evaluated without the cancellation.
    const double asinG =
        D >= 1 ? std::atan2(sign * c.W * sinAlpha, D * std::fabs(cosAlpha)) : std::asin(g);
    c.dLon0 = -asinG / c.B;
    return c;
}

// The rectified coordinates (u, v) of a point and back, shared by both variants; u counts
// from the natural origin.
struct Rectified {
    double e, A, B, H;
    double sinG0, cosG0;

    Rectified(double dE, double dA, double dB, double dH, double gamma0)
        : e(dE), A(dA), B(dB), H(dH), sinG0(std::sin(gamma0)), cosG0(std::cos(gamma0)) {}

    // u and v of latitude phi at the folded longitude difference dLambda from lambda0.
    template <class T>
    void Forward(T dLambda, T phi, T& u, T& v) const {
        if constexpr (std::is_same<T, double>::value)
            ForwardPoint(dLambda, phi, u, v);
        else
            ForwardLanes(dLambda, phi, u, v);
    }

    void ForwardPoint(double dLambda, double phi, double& u, double& v) const {
        // Q = H / t^B, with t^B = exp(-B psi) of the isometric latitude psi.
        const double Q = H * std::exp(B * gx::IsometricLatitude(std::sin(phi), e));
        const double bl = B * dLambda;
        double V, cosBl;
        gx::SinCos(bl, V, cosBl);
        // A pole (t unbounded or 0) gets the limit of the formulas as the latitude tends to
        // +-90 degrees, one point for every longitude: U = +-sin gamma0, u = +-A pi/2B.
        const bool pole = Q == 0 || std::fabs(Q) == kInfinity;
        const double sign = Q == 0 ? -1 : 1;
        const double rQ = 1 / Q;
        const double S = (Q - rQ) * 0.5, Tq = (Q + rQ) * 0.5;
        const double U = pole ? sign * sinG0 : (S * sinG0 - V * cosG0) / Tq;
        v = A * std::log((1 - U) / (1 + U)) / (2 * B);
        u = pole ? sign * A * kHalfPi / B : A * std::atan2(S * cosG0 + V * sinG0, cosBl) / B;
        // A point 90 degrees from the initial line (U = +-1) has no finite image: both
        // coordinates become +infinity (never NaN from infinity times a zero rotation term).
        if (!pole && (U == 1 || U == -1)) u = v = kInfinity;
    }

    // The same for lanes, arranged for fewer logarithms and divisions (to rounding):
    // exp(B psi) = (1 + sin phi) / cos phi exp((B - 1) atanh(sin phi) -
    // B e atanh(e sin phi)), whose exponent is small (B - 1 < 0.0034, and (B - 1) atanh(sin phi)
    // needs no more than 13 digits of the arc tangent); S, Tq and the arc tangent's arguments
    // multiplied through by 2Q; v = -A atanh(U) / B, a series while |U| <= 0.1.
    void ForwardLanes(gx::Lanes dLambda, gx::Lanes phi, gx::Lanes& u, gx::Lanes& v) const {
        using gx::Lanes;
        Lanes s, c;
        gx::SinCos(phi, s, c);
        const Lanes at = gx::Select(gx::Fabs(s) < 1, CoarseAtanh(s), gx::Splat<Lanes>(0));
        const Lanes Q =
            H * ((1 + s) / c) * gx::SmallExp((B - 1) * at - B * e * gx::EccentricAtanh(e * s));
        const Lanes bl = B * dLambda;
        Lanes V, cosBl;
        gx::SinCos(bl, V, cosBl);
        const gx::LaneMask pole = gx::Or(Q == 0, gx::Fabs(Q) == kInfinity);
        const Lanes sign = gx::Select(Q == 0, gx::Splat<Lanes>(-1), gx::Splat<Lanes>(1));
        const Lanes S2 = (Q - 1) * (Q + 1), T2 = Q * Q + 1, QV = 2 * Q * V;
        const Lanes U = gx::Select(pole, sign * sinG0, (S2 * sinG0 - QV * cosG0) / T2);
        const double AB = A / B;
        v = -AB * gx::EccentricAtanh(U);
        u = gx::Branch(
            pole, [&] { return sign * AB * kHalfPi; },
            [&] { return AB * gx::Atan2(S2 * cosG0 + QV * sinG0, 2 * Q * cosBl); });
        const gx::LaneMask lost = gx::And(gx::Not(pole), gx::Or(U == 1, U == -1));
        u = gx::Select(lost, gx::Splat<Lanes>(kInfinity), u);
        v = gx::Select(lost, gx::Splat<Lanes>(kInfinity), v);
    }

    // atanh x for |x| < 1 to an absolute error below 1e-14 (its series to x^19 while
    // x^2 <= 0.05: the first omitted term is below 1e-15), for a term scaled by B - 1.
    static gx::Lanes CoarseAtanh(gx::Lanes x) {
        const gx::Lanes x2 = x * x;
        return gx::Branch(
            x2 > 0.05, [&] { return gx::Atanh(x); }, [&] { return gx::AtanhSeries(x, x2); });
    }

    // Latitude (not folded) and longitude difference from lambda0 of the rectified u and v;
    // c: the conformal-latitude series of the ellipsoid base.
    template <class T>
    void Inverse(T u, T v, const double* c, T& dLambda, T& phi) const {
        const T Q = gx::Exp(-(B * v / A));
        const T rQ = 1 / Q;
        const T S = (Q - rQ) * 0.5, Tq = (Q + rQ) * 0.5;
        const T bu = B * u / A;
        T V, cosBu;
        gx::SinCos(bu, V, cosBu);
        const T U = (V * cosG0 + S * sinG0) / Tq;
        // t = (H / sqrt((1 + U) / (1 - U)))^(1/B); for lanes as exp(ln(...) / B), which costs
        // less than the power.
        const T base = H / gx::Sqrt((1 + U) / (1 - U));
        T t;
        if constexpr (std::is_same<T, double>::value)
            t = gx::Pow(base, 1 / B);
        else
            t = gx::Exp(gx::Log(base) * (1 / B));
        phi = gx::GeodeticFromConformalT(t, c);
        dLambda = -gx::Atan2(S * cosG0 - V * sinG0, cosBu) / B;
    }
};

// The skew grid of both variants: the rectified grid, its u counted from uShift (0 for the
// natural origin of variant A, the centre's u for variant B) and turned by gammaC onto the
// false origin; the longitudes counted from lambda0, folded once (variant A) or folded before
// and after (variant B); conf: the conformal-latitude series of the ellipsoid base.
struct Skew {
    Rectified r;
    double uShift, sinGc, cosGc, fe, fn, lon0;
    bool bFoldFirst;
    double conf[4];

    Skew(const Rectified& rectified, double dUShift, double gammaC, double dFe, double dFn,
         double dLon0, bool bFold, const double* pConf)
        : r(rectified), uShift(dUShift), sinGc(std::sin(gammaC)), cosGc(std::cos(gammaC)), fe(dFe),
          fn(dFn), lon0(dLon0), bFoldFirst(bFold), conf{pConf[0], pConf[1], pConf[2], pConf[3]} {}

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T dLambda = gx::FoldLongitude((bFoldFirst ? gx::FoldLongitude(lon) : lon) - lon0);
        T u, v;
        r.Forward(dLambda, lat, u, v);
        const gx::MaskOf<T> lost = gx::And(gx::Fabs(u) == kInfinity, gx::Fabs(v) == kInfinity);
        u = u - uShift;
        x = gx::Select(lost, u + uShift, u * sinGc + v * cosGc + fe);
        y = gx::Select(lost, x, u * cosGc - v * sinGc + fn);
    }
    // The latitude is not folded.
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dx = x - fe, dy = y - fn;
        T dLambda;
        r.Inverse(dy * cosGc + dx * sinGc + uShift, dx * cosGc - dy * sinGc, conf, dLambda, lat);
        lon = gx::FoldLongitude(lon0 + dLambda);
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions and the array views that use it.
#define GX_SKEW(uShift, bFoldFirst)                                                                \
    Skew(Rectified(m_dE, m_dObliqueA, m_dObliqueB, m_dObliqueH, m_dGamma0), uShift, m_dGammaC,     \
         m_dFalseEasting, m_dFalseNorthing, m_dLon0, bFoldFirst, m_adConfLat)
#define GX_SKEW_A GX_SKEW(0, false)
// u counted from the centre
#define GX_SKEW_B GX_SKEW(m_dLatC >= 0 ? std::fabs(m_dUc) : -std::fabs(m_dUc), true)

CHotineObliqueMercator::CHotineObliqueMercator(int nEllipsoid, double dLonC, double dLatC,
                                               double dKC, double dFalseEasting,
                                               double dFalseNorthing, double dAlphaC,
                                               double dGammaC)
    : CMapProjection(nEllipsoid), m_dLonC(dLonC), m_dLatC(dLatC), m_dKC(dKC), m_dAlphaC(dAlphaC),
      m_dGammaC(dGammaC), m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    const Centre c = DeriveCentre(m_dA, m_dE, m_dE2, dLatC, dKC, dAlphaC);
    c.Into(m_dObliqueA, m_dObliqueB, m_dGamma0, m_dObliqueH);
    m_dLon0 = SaveLambda(dLonC + c.dLon0);
}

int CHotineObliqueMercator::Project(double dLongitude, double dLatitude, double& dX,
                                    double& dY) const {
    GX_SKEW_A.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CHotineObliqueMercator::UnProject(double dX, double dY, double& dLongitude,
                                      double& dLatitude) const {
    GX_SKEW_A.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CObliqueMercator::CObliqueMercator(int nEllipsoid, double dLonC, double dLatC, double dKC,
                                   double dEastingC, double dNorthingC, double dAlphaC,
                                   double dGammaC)
    : CMapProjection(nEllipsoid), m_dLonC(dLonC), m_dLatC(dLatC), m_dKC(dKC), m_dAlphaC(dAlphaC),
      m_dGammaC(dGammaC), m_dFalseEasting(dEastingC), m_dFalseNorthing(dNorthingC) {
    const Centre c = DeriveCentre(m_dA, m_dE, m_dE2, dLatC, dKC, dAlphaC);
    c.Into(m_dObliqueA, m_dObliqueB, m_dGamma0, m_dObliqueH);
    m_dLon0 = SaveLambda(dLonC + c.dLon0);
    if (std::fabs(dAlphaC - kHalfPi) < 1e-9)
        m_dUc = (dLonC - m_dLon0) * c.A;
    else
        m_dUc = c.A / c.B * std::atan2(c.W, std::cos(dAlphaC)) * (dLatC >= 0 ? 1 : -1);
}

int CObliqueMercator::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_SKEW_B.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CObliqueMercator::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    GX_SKEW_B.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array views: copies of a projection that build its skew grid.
struct ViewA : CHotineObliqueMercator {
    explicit ViewA(const CHotineObliqueMercator& p) : CHotineObliqueMercator(p) {}
    Skew Kernel() const { return GX_SKEW_A; }
};
struct ViewB : CObliqueMercator {
    explicit ViewB(const CObliqueMercator& p) : CObliqueMercator(p) {}
    Skew Kernel() const { return GX_SKEW_B; }
};

} // namespace

gx::ArrayKernels gx::ObliqueMercatorArrayKernels(const CProjection& p) {
    const std::type_info& type = typeid(p);
    if (type == typeid(CHotineObliqueMercator)) return KernelsOf<ViewA, CHotineObliqueMercator>();
    if (type == typeid(CObliqueMercator)) return KernelsOf<ViewB, CObliqueMercator>();
    return {};
}
