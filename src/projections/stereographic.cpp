// Oblique stereographic projection (EPSG method 9809): EPSG guidance note 7-2, "Oblique and
// Equatorial Stereographic", the double projection through the conformal sphere of the origin.
#include "geoxform/stereographic.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The double projection on the members of the class, with the sine and cosine of chi0 (the
// forward's; the inverse reads neither).
struct ConformalSphere {
    double lon0, k0, fe, fn, radius, n, g, h, chi0, c, e, e2, sinChi0, cosChi0;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        // w = c (Sa Sb^e)^n = c exp(2 n psi), psi the isometric latitude; then sin chi =
        // (w - 1) / (w + 1) and cos chi = 2 sqrt(w) / (w + 1), written so that w = 0 and
        // w = inf (the poles) give +-1 and 0.
        const T w = c * gx::Exp(2 * n * gx::IsometricLatitude(gx::Sin(lat), e));
        const T rw = gx::Sqrt(w);
        const T sinChi = 1 - 2 / (w + 1), cosChi = 2 / (rw + 1 / rw);
        T sinDl, cosDl;
        gx::SinCos(n * (lon - lon0), sinDl, cosDl); // the longitude difference not normalised
        const T B = 1 + sinChi * sinChi0 + cosChi * cosChi0 * cosDl;
        const double twoRk0 = 2 * radius * k0;
        y = fn + twoRk0 * (sinChi * cosChi0 - cosChi * sinChi0 * cosDl) / B;
        x = fe + twoRk0 * cosChi * sinDl / B;
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dE = x - fe, dN = y - fn;
        const T i = gx::Atan2(dE, dN + h);
        const T j = gx::Atan2(dE, g - dN) - i;
        const T chi = chi0 + 2 * gx::Atan2(dN - dE * gx::Tan(j / 2), 2 * radius * k0);
        lon = gx::FoldLongitude((j + 2 * i) / n + lon0);

        // The isometric latitude of the point on the ellipsoid, then its latitude by Newton
        // steps from the spherical value 2 atan(exp psi) - pi/2, whose sine and cosine are
        // tanh psi and 1 / cosh psi; those of each step follow by the addition formulas.
        const T sinChi = gx::Sin(chi);
        const T psi = 0.5 * gx::Log((1 + sinChi) / (c * (1 - sinChi))) / n;
        // A pole: the steps would meet infinity minus infinity.
        const gx::MaskOf<T> pole = gx::Fabs(psi) == HUGE_VAL;
        const T poleLat =
            gx::Select(psi > 0, gx::Splat<T>(gx::kHalfPi), gx::Splat<T>(-gx::kHalfPi));
        if (gx::All(pole)) {
            lat = poleLat;
            return;
        }
        const T E = gx::Exp(psi), rE = 1 / E;
        T phi = 2 * gx::Atan(E) - gx::kHalfPi;
        T s = (E - rE) / (E + rE), cs = 2 / (E + rE);
        lat = phi;
        const double factor = 1 / (1 - e2);
        // Each lane steps until its own relative change is at most 1e-15 (a NaN ends it too),
        // at most 16 steps, and keeps its values from then on.
        gx::MaskOf<T> active = gx::Splat<T>(0) < 1;
        for (int k = 0; k < 16; ++k) {
            const T psiI = gx::IsometricLatitude(s, e);
            const T step = (psiI - psi) * cs * (1 - e2 * s * s) * factor;
            const T phiNew = phi - step;
            lat = gx::Select(active, phiNew, lat);
            active = gx::And(active, gx::Fabs(phi - phiNew) > 1e-15 * gx::Fabs(phiNew));
            if (!gx::Any(active)) break;
            phi = gx::Select(active, phiNew, phi);
            T sNew = s, cNew = cs;
            gx::StepSinCos(phi, step, sNew, cNew);
            s = gx::Select(active, sNew, s);
            cs = gx::Select(active, cNew, cs);
        }
        lat = gx::Select(pole, poleLat, lat);
    }
};

} // namespace

// The kernel of the class built from its members in one place. A macro, as the class layout
// is fixed by the public header (no member function may be added), and the members are
// protected: it expands inside the member functions and the array view that use it.
#define GX_CONFORMAL_SPHERE(sinChi0, cosChi0)                                                      \
    ConformalSphere {                                                                              \
        m_dLon0, m_dK0, m_dFalseEasting, m_dFalseNorthing, m_dRadius, m_dN, m_dG, m_dH, m_dChi0,   \
            m_dC, m_dE, m_dE2, sinChi0, cosChi0                                                    \
    }
#define GX_CONFORMAL_SPHERE_BOTH GX_CONFORMAL_SPHERE(std::sin(m_dChi0), std::cos(m_dChi0))

CObliqueStereographic::CObliqueStereographic(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                             double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    const double e = m_dE, e2 = m_dE2;
    const double sinPhi0 = std::sin(dLat0), cosPhi0 = std::cos(dLat0);
    m_dRadius = std::sqrt(gx::PrimeVerticalRadius(m_dA, e2, sinPhi0) *
                          gx::MeridianRadius(m_dA, e2, sinPhi0));
    m_dN = std::sqrt(1 + e2 * cosPhi0 * cosPhi0 * cosPhi0 * cosPhi0 / (1 - e2));
    const double s1 = (1 + sinPhi0) / (1 - sinPhi0);
    const double s2 = (1 - e * sinPhi0) / (1 + e * sinPhi0);
    const double w1 = std::pow(s1 * std::pow(s2, e), m_dN);
    const double sinChi0 = (w1 - 1) / (w1 + 1);
    m_dC = (m_dN + sinPhi0) * (1 - sinChi0) / ((m_dN - sinPhi0) * (1 + sinChi0));
    const double w2 = m_dC * w1;
    m_dChi0 = std::asin((w2 - 1) / (w2 + 1));
    const double twoRk0 = 2 * m_dRadius * dK0;
    m_dG = twoRk0 * std::tan(gx::kPi / 4 - m_dChi0 / 2);
    m_dH = 2 * twoRk0 * std::tan(m_dChi0) + m_dG;
}

int CObliqueStereographic::Project(double dLongitude, double dLatitude, double& dX,
                                   double& dY) const {
    GX_CONFORMAL_SPHERE_BOTH.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CObliqueStereographic::UnProject(double dX, double dY, double& dLongitude,
                                     double& dLatitude) const {
    GX_CONFORMAL_SPHERE(0, 0).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array view: a copy of a projection that builds its kernel.
struct View : CObliqueStereographic {
    explicit View(const CObliqueStereographic& p) : CObliqueStereographic(p) {}
    ConformalSphere Kernel() const { return GX_CONFORMAL_SPHERE_BOTH; }
};

} // namespace

gx::ArrayKernels gx::ObliqueStereographicArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CObliqueStereographic)) return KernelsOf<View, CObliqueStereographic>();
    return {};
}
