// Lambert azimuthal equal-area projection (EPSG method 9820): EPSG guidance note 7-2, "Lambert
// Azimuthal Equal Area", oblique aspect.
#include "geoxform/lambert_azimuthal_equal_area.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The oblique aspect on the members of the class, with the sine and cosine of beta0.
struct AuthalicSphere {
    double lon0, lat0, fe, fn, qp, d, rq, e, e2, e4, sinB0, cosB0;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T sinBeta = gx::AuthalicQOfSin(gx::Sin(lat), e, e2) / qp;
        const T cosBeta = gx::Sqrt((1 - sinBeta) * (1 + sinBeta)); // beta = asin(q / qP)
        T sinDl, cosDl;
        gx::SinCos(lon - lon0, sinDl, cosDl); // the longitude difference only through these
        const T B = rq * gx::Sqrt(2 / (1 + sinB0 * sinBeta + cosB0 * cosBeta * cosDl));
        x = fe + B * d * cosBeta * sinDl;
        y = fn + B / d * (cosB0 * sinBeta - sinB0 * cosBeta * cosDl);
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dE = x - fe, dN = y - fn;
        const T ex = dE / d, ny = d * dN;
        const T rho = gx::Sqrt(ex * ex + ny * ny);
        // The centre: the formulas divide 0 by 0 there; it is the origin itself.
        const gx::MaskOf<T> centre = rho == 0;
        if (gx::All(centre)) {
            lon = gx::Splat<T>(lon0);
            lat = gx::Splat<T>(lat0);
            return;
        }
        // C = 2 asin(rho / 2Rq): sin C and cos C from sin(C/2) by the double-angle formulas.
        const T sinHalfC = rho / (2 * rq);
        const T sinC = 2 * sinHalfC * gx::Sqrt((1 - sinHalfC) * (1 + sinHalfC));
        const T cosC = 1 - 2 * sinHalfC * sinHalfC;
        // Rounding can carry the sine a little past +-1 next to a pole; a NaN becomes 1 (the
        // rule of fmin and fmax, which take the number).
        T sinBeta = cosC * sinB0 + ny * sinC * cosB0 / rho;
        sinBeta = gx::Select(sinBeta < 1, sinBeta, gx::Splat<T>(1));
        sinBeta = gx::Select(sinBeta > -1, sinBeta, gx::Splat<T>(-1));
        const T beta = gx::Asin(sinBeta);
        lat =
            gx::AuthalicToGeodetic(beta, sinBeta, gx::Sqrt((1 - sinBeta) * (1 + sinBeta)), e2, e4);
        lon = gx::FoldLongitude(
            gx::Atan2(dE * sinC, d * rho * cosB0 * cosC - d * ny * sinB0 * sinC) + lon0);
        lon = gx::Select(centre, gx::Splat<T>(lon0), lon);
        lat = gx::Select(centre, gx::Splat<T>(lat0), lat);
    }
};

} // namespace

// The kernel of the class built from its members in one place. A macro, as the class layout
// is fixed by the public header (no member function may be added), and the members are
// protected: it expands inside the member functions and the array view that use it.
#define GX_AUTHALIC_SPHERE                                                                         \
    AuthalicSphere {                                                                               \
        m_dLon0, m_dLat0, m_dFalseEasting, m_dFalseNorthing, m_dQp, m_dD, m_dRq, m_dE, m_dE2,      \
            m_dE4, std::sin(m_dBeta0), std::cos(m_dBeta0)                                          \
    }

CLambertAzimuthalEqualArea::CLambertAzimuthalEqualArea(int nEllipsoid, double dLon0, double dLat0,
                                                       double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing) {
    const double e = m_dE, e2 = m_dE2;
    m_dQp = gx::AuthalicQ(1.0, e, e2);
    const double q0 = gx::AuthalicQ(std::sin(dLat0), e, e2);
    // cos beta0 = sqrt(1 - (q0 / qP)^2) through qP - |q0|, formed without cancellation: next
    // to a pole both m(phi0) and cos beta0 vanish, and asin(q0 / qP) would leave cos beta0 as
    // a rounding residue (at phi0 = 90 degrees D would come out 0.45 % too large instead of
    // its limit 1). With s = |sin phi0|, 1 - s = cos^2 phi0 / (1 + s) and
    // qP - |q0| = (1 - s)(1 + e^2 s) / (1 - e^2 s^2) + (1 - e^2) atanh(e (1 - s) / (1 - e^2 s)) /
    // e.
    const double s = std::fabs(std::sin(dLat0)), c = std::cos(dLat0);
    const double oneMinusS = c * c / (1 + s);
    const double qDiff = oneMinusS * (1 + e2 * s) / (1 - e2 * s * s) +
                         (1 - e2) * std::atanh(e * oneMinusS / (1 - e2 * s)) / e;
    const double qCos = std::sqrt(qDiff * (m_dQp + std::fabs(q0))); // qP cos beta0
    m_dBeta0 = std::atan2(q0, qCos);                                // asin(q0 / qP)
    m_dRq = m_dA * std::sqrt(m_dQp * 0.5);
    m_dD = m_dA * gx::ParallelRadius(std::sin(dLat0), c, e2) / (m_dRq * (qCos / m_dQp));
}

int CLambertAzimuthalEqualArea::Project(double dLongitude, double dLatitude, double& dX,
                                        double& dY) const {
    GX_AUTHALIC_SPHERE.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CLambertAzimuthalEqualArea::UnProject(double dX, double dY, double& dLongitude,
                                          double& dLatitude) const {
    GX_AUTHALIC_SPHERE.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array view: a copy of a projection that builds its kernel.
struct View : CLambertAzimuthalEqualArea {
    explicit View(const CLambertAzimuthalEqualArea& p) : CLambertAzimuthalEqualArea(p) {}
    AuthalicSphere Kernel() const { return GX_AUTHALIC_SPHERE; }
};

} // namespace

gx::ArrayKernels gx::AzimuthalEqualAreaArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CLambertAzimuthalEqualArea))
        return KernelsOf<View, CLambertAzimuthalEqualArea>();
    return {};
}
