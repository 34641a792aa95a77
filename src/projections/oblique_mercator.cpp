// Hotine oblique Mercator, variants A and B (EPSG methods 9812 and 9815): EPSG guidance note
// 7-2, "Oblique Mercator and Hotine Oblique Mercator".
#include "geoxform/oblique_mercator.h"

#include <cmath>
#include <limits>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

using gx::kHalfPi;

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
    void Forward(double dLambda, double phi, double& u, double& v) const {
        // Q = H / t^B, with t^B = exp(-B psi) of the isometric latitude psi.
        const double Q = H * std::exp(B * gx::IsometricLatitude(std::sin(phi), e));
        const double bl = B * dLambda;
        const double V = std::sin(bl), cosBl = std::cos(bl);
        if (Q == 0 || std::isinf(Q)) {
            // A pole (t unbounded or 0) gets the limit of the formulas as the latitude tends
            // to +-90 degrees, one point for every longitude: U = +-sin gamma0, u = +-A pi/2B.
            const double sign = Q == 0 ? -1 : 1;
            const double U = sign * sinG0;
            v = A * std::log((1 - U) / (1 + U)) / (2 * B);
            u = sign * A * kHalfPi / B;
            return;
        }
        const double rQ = 1 / Q;
        const double S = (Q - rQ) * 0.5, T = (Q + rQ) * 0.5;
        const double U = (S * sinG0 - V * cosG0) / T;
        // A point 90 degrees from the initial line (U = +-1) has no finite image: both
        // coordinates become +infinity (never NaN from infinity times a zero rotation term).
        if (U == 1 || U == -1) {
            u = v = std::numeric_limits<double>::infinity();
            return;
        }
        v = A * std::log((1 - U) / (1 + U)) / (2 * B);
        u = A * std::atan2(S * cosG0 + V * sinG0, cosBl) / B;
    }

    // Latitude (not folded) and longitude difference from lambda0 of the rectified u and v;
    // c: the conformal-latitude series of the ellipsoid base.
    void Inverse(double u, double v, const double* c, double& dLambda, double& phi) const {
        const double Q = std::exp(-(B * v / A));
        const double rQ = 1 / Q;
        const double S = (Q - rQ) * 0.5, T = (Q + rQ) * 0.5;
        const double bu = B * u / A;
        const double V = std::sin(bu), cosBu = std::cos(bu);
        const double U = (V * cosG0 + S * sinG0) / T;
        const double t = std::pow(H / std::sqrt((1 + U) / (1 - U)), 1 / B);
        phi = gx::GeodeticFromConformalT(t, c);
        dLambda = -std::atan2(S * cosG0 - V * sinG0, cosBu) / B;
    }
};

// The skew grid of both variants: the rectified grid, its u counted from uShift (0 for the
// natural origin of variant A, the centre's u for variant B) and turned by gammaC onto the
// false origin.
struct Skew {
    Rectified r;
    double uShift, gammaC, fe, fn;

    // The point of latitude lat at the folded longitude difference dLambda from lambda0.
    int Forward(double dLambda, double lat, double& x, double& y) const {
        double u, v;
        r.Forward(dLambda, lat, u, v);
        if (std::isinf(u) && std::isinf(v)) { // no finite image
            x = y = u;
            return 1;
        }
        u -= uShift;
        const double s = std::sin(gammaC), c = std::cos(gammaC);
        x = u * s + v * c + fe;
        y = u * c - v * s + fn;
        return 1;
    }
    // The latitude (not folded) and the longitude difference (returned) of a point;
    // conf: the conformal-latitude series of the ellipsoid base.
    double Inverse(double x, double y, const double* conf, double& lat) const {
        const double s = std::sin(gammaC), c = std::cos(gammaC);
        const double dx = x - fe, dy = y - fn;
        double dLambda;
        r.Inverse(dy * c + dx * s + uShift, dx * c - dy * s, conf, dLambda, lat);
        return dLambda;
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions that use it.
#define GX_SKEW(uShift)                                                                            \
    Skew {                                                                                         \
        {m_dE, m_dObliqueA, m_dObliqueB, m_dObliqueH, m_dGamma0}, uShift, m_dGammaC,               \
            m_dFalseEasting, m_dFalseNorthing                                                      \
    }

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
    const Skew grid = GX_SKEW(0);
    return grid.Forward(SaveLambda(dLongitude - m_dLon0), dLatitude, dX, dY);
}

int CHotineObliqueMercator::UnProject(double dX, double dY, double& dLongitude,
                                      double& dLatitude) const {
    const Skew grid = GX_SKEW(0);
    dLongitude = SaveLambda(m_dLon0 + grid.Inverse(dX, dY, m_adConfLat, dLatitude));
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
    // u counted from the centre
    const Skew grid = GX_SKEW(m_dLatC >= 0 ? std::fabs(m_dUc) : -std::fabs(m_dUc));
    return grid.Forward(SaveLambda(SaveLambda(dLongitude) - m_dLon0), dLatitude, dX, dY);
}

int CObliqueMercator::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    const Skew grid = GX_SKEW(m_dLatC >= 0 ? std::fabs(m_dUc) : -std::fabs(m_dUc));
    dLongitude = SaveLambda(m_dLon0 + grid.Inverse(dX, dY, m_adConfLat, dLatitude));
    return 1;
}

gx::ArrayKernels gx::ObliqueMercatorArrayKernels(const CProjection&) {
    return {};
}
