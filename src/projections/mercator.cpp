// Mercator (EPSG methods 9804 and 9805), equidistant cylindrical (EPSG method 9823) and pseudo
// plate carree (EPSG method 9825); EPSG guidance note 7-2, Mercator and Equidistant Cylindrical.
#include "geoxform/mercator.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// sin phi and cos phi for ln((1 + sin phi) / cos phi). Far south the sum 1 + sin phi cancels
// and magnifies an ulp of the sine by 1 / (1 + sin phi), 2.8 at 40 degrees S and over 100 near
// the pole; south of 40 degrees the lanes take the standard library's sine, that of the
// per-point code.
void SinCosForIsometric(double phi, double& s, double& c) {
    gx::SinCos(phi, s, c);
}
void SinCosForIsometric(gx::Lanes phi, gx::Lanes& s, gx::Lanes& c) {
    if (gx::Any(phi < -0.7)) {
        s = gx::SinEachLane(phi);
        c = gx::Cos(phi);
    } else {
        gx::SinCos(phi, s, c);
    }
}

// ln((1 + sin phi) / cos phi) - e atanh(e sin phi), the isometric latitude of geodesy.h with
// the standard library's logarithm on each lane: faster here than the vectorised one, and the
// per-point code's to the bit.
double IsometricLatitude(double s, double c, double e) {
    return gx::IsometricLatitude(s, c, e);
}
gx::Lanes IsometricLatitude(gx::Lanes s, gx::Lanes c, double e) {
    return gx::LogEachLane((1 + s) / c) - e * gx::EccentricAtanh(e * s);
}

// Mercator on k0 a, the longitude of origin and the false origin.
struct Cylinder {
    double k0a, e, lon0, fe, fn;
    double c[4]; // the conformal-latitude series of the ellipsoid base (a copy: a view dies)

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        x = gx::FoldLongitude(gx::FoldLongitude(lon) - lon0) * k0a + fe;
        // y = k0 a ln(tan(pi/4 + phi/2) ((1 - e sin phi) / (1 + e sin phi))^(e/2)), the
        // isometric latitude; the latitude is not folded: -inf at -pi/2 and NaN beyond the
        // poles.
        T s, cs;
        SinCosForIsometric(lat, s, cs);
        y = IsometricLatitude(s, cs, e) * k0a + fn;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        // t = exp((FN - y) / (k0 a)), chi = pi/2 - 2 atan t, then the conformal latitude
        // series of the ellipsoid base; the latitude is not folded. South of the equator t > 1,
        // and the odd symmetry chi(1/t) = -chi(t) keeps t^2 from overflowing far south.
        const T u = (fn - y) / k0a;
        const gx::MaskOf<T> south = u > 0;
        const T phi = gx::GeodeticFromConformalT(gx::Exp(gx::Select(south, -u, u)), c);
        lat = gx::Select(south, -phi, phi);
        lon = gx::FoldLongitude((x - fe) / k0a + lon0);
    }
};

// Equidistant cylindrical: the radius, the cosine of the true-scale parallel and the
// longitude of origin.
struct Equidistant {
    double radius, cosLat1, lon0;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        x = cosLat1 * ((lon - lon0) * radius); // the longitude difference is not folded
        y = radius * lat;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        lat = y / radius;
        lon = gx::FoldLongitude(x / (cosLat1 * radius) + lon0);
    }
};

// The pseudo plate carree: the angles themselves.
struct Identity {
    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        x = lon;
        y = lat;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        lon = x;
        lat = y;
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions and the array views that use it.
#define GX_CYLINDER                                                                                \
    Cylinder {                                                                                     \
        m_dK0 *m_dA, m_dE, m_dLon0, m_dFalseEasting, m_dFalseNorthing, {                           \
            m_adConfLat[0], m_adConfLat[1], m_adConfLat[2], m_adConfLat[3]                         \
        }                                                                                          \
    }
#define GX_EQUIDISTANT                                                                             \
    Equidistant {                                                                                  \
        m_dRadius, std::cos(m_dLat1), m_dLon0                                                      \
    }

CMercator::CMercator(int nEllipsoid, int nVariant, double dLon0, double dValue,
                     double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_nVariant(nVariant), m_dLon0(dLon0), m_dK0(dValue), m_dLat1(0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {
    if (nVariant == 2) {
        // The scale factor of the standard parallel, whose sign does not matter.
        m_dLat1 = std::fabs(dValue);
        m_dK0 = gx::ParallelRadius(std::sin(m_dLat1), std::cos(m_dLat1), m_dE2);
    }
}

int CMercator::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_CYLINDER.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CMercator::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    GX_CYLINDER.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CEquidistantCylindrical::CEquidistantCylindrical(int nEllipsoid, double dLon0, double dLat1)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat1(dLat1), m_dRadius(m_dA) {
    // The Gaussian mean radius sqrt(rho nu) of the true-scale parallel; a on a sphere.
    if (m_dB != m_dA) {
        const double s = std::sin(dLat1);
        m_dRadius = m_dA * std::sqrt(1 - m_dE2) / (1 - m_dE2 * s * s);
    }
}

int CEquidistantCylindrical::Project(double dLongitude, double dLatitude, double& dX,
                                     double& dY) const {
    GX_EQUIDISTANT.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CEquidistantCylindrical::UnProject(double dX, double dY, double& dLongitude,
                                       double& dLatitude) const {
    GX_EQUIDISTANT.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

// Needs no ellipsoid: the base is built on row 0 and its constants are never read.
CPseudoPlateCarree::CPseudoPlateCarree() : CMapProjection(0) {}

int CPseudoPlateCarree::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    Identity().Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CPseudoPlateCarree::UnProject(double dX, double dY, double& dLongitude,
                                  double& dLatitude) const {
    Identity().UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array views: copies of a projection that build its kernel.
struct MercatorView : CMercator {
    explicit MercatorView(const CMercator& p) : CMercator(p) {}
    Cylinder Kernel() const { return GX_CYLINDER; }
};
struct EquidistantView : CEquidistantCylindrical {
    explicit EquidistantView(const CEquidistantCylindrical& p) : CEquidistantCylindrical(p) {}
    Equidistant Kernel() const { return GX_EQUIDISTANT; }
};
struct PlateCarreeView : CPseudoPlateCarree {
    explicit PlateCarreeView(const CPseudoPlateCarree& p) : CPseudoPlateCarree(p) {}
    Identity Kernel() const { return {}; }
};

} // namespace

gx::ArrayKernels gx::MercatorArrayKernels(const CProjection& p) {
    const std::type_info& type = typeid(p);
    if (type == typeid(CMercator)) return KernelsOf<MercatorView, CMercator>();
    if (type == typeid(CEquidistantCylindrical))
        return KernelsOf<EquidistantView, CEquidistantCylindrical>();
    if (type == typeid(CPseudoPlateCarree)) return KernelsOf<PlateCarreeView, CPseudoPlateCarree>();
    return {};
}
