// Modified azimuthal equidistant projection (EPSG method 9832): EPSG guidance note 7-2,
// "Modified Azimuthal Equidistant", the series in the arc length for small areas.
#include "projections/modified_azimuthal_equidistant.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

CModifiedAzimuthalEquidistant::CModifiedAzimuthalEquidistant(int nEllipsoid, double dLon0,
                                                             double dLat0, double dFalseEasting,
                                                             double dFalseNorthing)
    : COriginProjection(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing) {
    const double s = std::sin(dLat0);
    m_dNu0 = gx::PrimeVerticalRadius(m_dA, m_dE2, s);
    m_dG = m_dE * s / std::sqrt(1 - m_dE2);
}

namespace {

// +-1 with the sign of x.
inline double SignOf(double x) {
    return std::copysign(1.0, x);
}
inline gx::Lanes SignOf(gx::Lanes x) {
    return (gx::Lanes)(((gx::LaneMask)x & (gx::LaneMask)gx::Splat<gx::Lanes>(-0.0)) |
                       (gx::LaneMask)gx::Splat<gx::Lanes>(1.0));
}

// std::fmax(-1, std::fmin(1, x)), a NaN x giving 1 as there.
template <class T>
inline T ClampUnit(T x) {
    const T upper = gx::Select(x < 1.0, x, gx::Splat<T>(1.0));
    return gx::Select(upper > -1.0, upper, gx::Splat<T>(-1.0));
}

// The projection of an origin: its latitude's sine and cosine, the prime-vertical radius nu0
// there and G = e sin phi0 / sqrt(1 - e^2).
struct Series {
    double lon0, sinPhi0, cosPhi0, fe, fn, a, e, e2, nu0, G;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        T sinPhi, cosPhi;
        gx::SinCos(lat, sinPhi, cosPhi);
        const T nu = gx::PrimeVerticalRadius(a, e2, sinPhi);
        // psi = atan(((1 - e^2) sin phi + e^2 nu0 sin phi0 / nu) / cos phi), with its sine and
        // cosine taken from the fraction (cos psi >= 0, as the arctangent gives).
        const T num = (1 - e2) * sinPhi + e2 * nu0 * sinPhi0 / nu;
        const T r = gx::Sqrt(num * num + cosPhi * cosPhi);
        const T sinPsi = SignOf(cosPhi) * num / r, cosPsi = gx::Fabs(cosPhi) / r;
        const T tanPsi = sinPsi / cosPsi;

        const T dLambda = lon - lon0; // only through its sine and cosine
        T sinDl, cosDl;
        gx::SinCos(dLambda, sinDl, cosDl);
        // alpha = atan2(p, q): its sine and cosine from the two arguments, so that sin alpha is
        // exactly 0 whenever sin(dLambda) is, for a point due north (alpha = 0) and due south
        // (alpha = pi) alike; both then take the meridian form of s below.
        const T p = sinDl, q = cosPhi0 * tanPsi - sinPhi0 * cosDl;
        const T rAlpha = gx::Sqrt(p * p + q * q);
        const gx::MaskOf<T> away = rAlpha > 0;
        const T sinAlpha = gx::Select(away, p / rAlpha, gx::Splat<T>(0));
        const T cosAlpha = gx::Select(away, q / rAlpha, gx::Splat<T>(1)); // atan2(0, 0) = 0
        const T H = e * cosPhi0 * cosAlpha / std::sqrt(1 - e2);
        // On the meridian s = +-asin(cos phi0 sin psi - sin phi0 cos psi), else
        // asin(sin dLambda cos psi / sin alpha): one arcsine either way.
        const gx::MaskOf<T> meridian = sinAlpha == 0;
        const T sign = gx::Select(gx::And(meridian, gx::Not(cosAlpha >= 0)), gx::Splat<T>(-1),
                                  gx::Splat<T>(1));
        const T s = gx::Asin(gx::Select(meridian, cosPhi0 * sinPsi - sinPhi0 * cosPsi,
                                        sinDl * cosPsi / sinAlpha)) *
                    sign;
        const T H2 = H * H, s2 = s * s;
        const T c = nu0 * s *
                    (1 - s2 * H2 * (1 - H2) / 6 + s2 * s / 8 * G * H * (1 - 2 * H2) +
                     s2 * s2 / 120 * (H2 * (4 - 7 * H2) - 3 * G * G * (1 - 7 * H2)) -
                     s2 * s2 * s / 48 * G * H);
        x = fe + c * sinAlpha;
        y = fn + c * cosAlpha;
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dE = x - fe, dN = y - fn;
        const T cP = gx::Sqrt(dE * dE + dN * dN);
        // alpha' = atan2(dE, dN) through its sine and cosine (0 and 1 at the origin).
        const gx::MaskOf<T> away = cP > 0;
        const T sinAlpha = gx::Select(away, dE / cP, gx::Splat<T>(0));
        const T cosAlpha = gx::Select(away, dN / cP, gx::Splat<T>(1));
        const T A = -e2 * cosPhi0 * cosPhi0 * cosAlpha * cosAlpha / (1 - e2);
        const T B = 3 * e2 * (1 - A) * sinPhi0 * cosPhi0 * cosAlpha / (1 - e2);
        const T D = cP / nu0, D3 = D * D * D;
        // The fourth-order term is subtracted: only then does this series invert the forward
        // one to fourth order (round trips 2 degrees from the origin to ~5e-12 rad; ~2.5e-10
        // added).
        const T J = D - A * (1 + A) * D3 / 6 - B * (1 + 3 * A) * D3 * D / 24;
        const T K = 1 - A * J * J / 2 - B * J * J * J / 6;
        T sinJ, cosJ;
        gx::SinCos(J, sinJ, cosJ);
        const T sinPsi = ClampUnit(sinPhi0 * cosJ + cosPhi0 * sinJ * cosAlpha);
        const T cosPsi = gx::Sqrt((1 - sinPsi) * (1 + sinPsi)); // psi' = asin(...)
        // atan2(tan psi' (1 - e^2 K sin phi0 / sin psi'), 1 - e^2) with both arguments
        // multiplied by cos psi' >= 0: the same angle, without the division by sin psi', which
        // is 0 at the origin of an equatorial projection (phi0 = 0); there the latitude comes
        // out as 0.
        lat = gx::FoldLatitude(gx::Atan2(sinPsi - e2 * K * sinPhi0, (1 - e2) * cosPsi));
        lon = gx::FoldLongitude(gx::Asin(sinAlpha * sinJ / cosPsi) + lon0);
    }
};

} // namespace

// The array kernels' access to the members; the member functions build their series through
// it too.
struct CModifiedAzimuthalEquidistant::View {
    const CModifiedAzimuthalEquidistant& p;
    explicit View(const CModifiedAzimuthalEquidistant& q) : p(q) {}
    Series Kernel() const {
        return {p.m_dLon0,
                std::sin(p.m_dLat0),
                std::cos(p.m_dLat0),
                p.m_dFalseEasting,
                p.m_dFalseNorthing,
                p.m_dA,
                p.m_dE,
                p.m_dE2,
                p.m_dNu0,
                p.m_dG};
    }
};

int CModifiedAzimuthalEquidistant::Project(double dLongitude, double dLatitude, double& dX,
                                           double& dY) const {
    View(*this).Kernel().Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CModifiedAzimuthalEquidistant::UnProject(double dX, double dY, double& dLongitude,
                                             double& dLatitude) const {
    View(*this).Kernel().UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

gx::ArrayKernels gx::AzimuthalEquidistantArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CModifiedAzimuthalEquidistant))
        return KernelsOf<CModifiedAzimuthalEquidistant::View, CModifiedAzimuthalEquidistant>();
    return {};
}
