// Albers equal area (EPSG method 9822); EPSG guidance note 7-2, Albers Equal Area, and Snyder,
// Map Projections: A Working Manual, pp. 101-102.
#include "geoxform/albers_equal_area.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The cone of the class's members, with a / n formed apart from the chain of the latitude and
// q of the pole (the inverse's).
struct EqualAreaCone {
    double aOverN, a, e, e2, e4, n, albersC, rho0, lon0, fe, fn, qPole;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        // rho = a sqrt(C - n q) / n.
        const T q = gx::AuthalicQOfSin(gx::Sin(lat), e, e2);
        const T rho = aOverN * gx::Sqrt(albersC - n * q);
        T s, c;
        gx::SinCos(n * gx::FoldLongitude(lon - lon0), s, c);
        x = fe + rho * s;
        y = fn + rho0 - rho * c;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dE = x - fe, dN = rho0 - (y - fn);
        const T theta = n >= 0 ? gx::Atan2(dE, dN) : gx::Atan2(-dE, -dN);
        const T rho2 = dN * dN + dE * dE; // rho'^2, the positive root squared
        const T q = (albersC - rho2 * n * n / (a * a)) / n;
        // sin beta' = q' / qPole; beyond the projection's poles the arcsine is NaN.
        const T sinBeta = q / qPole;
        const T beta = gx::Asin(sinBeta);
        lat = gx::AuthalicToGeodetic(beta, sinBeta, gx::Sqrt(1 - sinBeta * sinBeta), e2, e4);
        lon = gx::FoldLongitude(theta / n + lon0);
    }
};

} // namespace

// The kernel of the class built from its members in one place. A macro, as the class layout
// is fixed by the public header (no member function may be added), and the members are
// protected: it expands inside the member functions and the array view that use it.
#define GX_EQUAL_AREA_CONE(qPole)                                                                  \
    EqualAreaCone {                                                                                \
        m_dA / m_dN, m_dA, m_dE, m_dE2, m_dE4, m_dN, m_dAlbersC, m_dRho0, m_dLon0,                 \
            m_dFalseEasting, m_dFalseNorthing, qPole                                               \
    }
#define GX_EQUAL_AREA_CONE_BOTH GX_EQUAL_AREA_CONE(gx::AuthalicQ(1.0, m_dE, m_dE2))

CAlbersEqualArea::CAlbersEqualArea(int nEllipsoid, double dLonF, double dLatF, double dLat1,
                                   double dLat2, double dEastingF, double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLonF), m_dLat0(dLatF), m_dLat1(dLat1), m_dLat2(dLat2),
      m_dFalseEasting(dEastingF), m_dFalseNorthing(dNorthingF) {
    const double s1 = std::sin(dLat1), s2 = std::sin(dLat2);
    const double m1 = gx::ParallelRadius(s1, std::cos(dLat1), m_dE2);
    const double m2 = gx::ParallelRadius(s2, std::cos(dLat2), m_dE2);
    const double q1 = gx::AuthalicQ(s1, m_dE, m_dE2), q2 = gx::AuthalicQ(s2, m_dE, m_dE2);
    const double q0 = gx::AuthalicQ(std::sin(dLatF), m_dE, m_dE2);
    m_dN = (m1 * m1 - m2 * m2) / (q2 - q1);
    m_dAlbersC = m1 * m1 + m_dN * q1;
    m_dRho0 = m_dA * std::sqrt(m_dAlbersC - m_dN * q0) / m_dN;
}

int CAlbersEqualArea::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_EQUAL_AREA_CONE(0).Project(dLongitude, dLatitude, dX, dY); // reads no qPole
    return 1;
}

int CAlbersEqualArea::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    GX_EQUAL_AREA_CONE_BOTH.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array view: a copy of a projection that builds its kernel.
struct View : CAlbersEqualArea {
    explicit View(const CAlbersEqualArea& p) : CAlbersEqualArea(p) {}
    EqualAreaCone Kernel() const { return GX_EQUAL_AREA_CONE_BOTH; }
};

} // namespace

gx::ArrayKernels gx::AlbersArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CAlbersEqualArea)) return KernelsOf<View, CAlbersEqualArea>();
    return {};
}
