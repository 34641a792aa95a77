// Polar stereographic projection, variants A, B and C (EPSG methods 9810, 9829 and 9830):
// EPSG guidance note 7-2, "Polar Stereographic".
#include <cmath>

#include "geoxform/stereographic.h"
#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// t(phi) of the pole: tan(pi/4 - phi/2) / ((1 - e sin phi) / (1 + e sin phi))^(e/2) for the
// north pole, tan(pi/4 + phi/2) / ((1 + e sin phi) / (1 - e sin phi))^(e/2) = t(-phi) for the
// south pole.
template <class T>
T PoleT(bool bNorth, T phi, double e) {
    T s, c;
    gx::SinCos(phi, s, c);
    return gx::ConformalT(bNorth ? s : -s, c, e);
}

// Geodetic latitude of t' of the pole: chi = pi/2 - 2 atan t' (north), 2 atan t' - pi/2
// (south), then the conformal-latitude series.
template <class T>
T PoleLatitude(bool bNorth, T t, const double* c) {
    const T phi = gx::GeodeticFromConformalT(t, c);
    return bNorth ? phi : -phi;
}

// The longitude lon0 + atan2(y, x), folded into [-pi, pi]. Within 1e-9 of the fold's seam at
// +-pi an ulp of the vectorised arctangent could carry a lane across it, to the other end of
// the range from the per-point result; those lanes take the standard library's arctangent.
double FoldedAzimuth(double y, double x, double lon0) {
    return gx::FoldLongitude(gx::Atan2(y, x) + lon0);
}
gx::Lanes FoldedAzimuth(gx::Lanes y, gx::Lanes x, double lon0) {
    gx::Lanes lon = gx::Atan2(y, x) + lon0;
    for (int i = 0; i < 2; ++i)
        if (std::fabs(std::fabs(lon[i]) - gx::kPi) < 1e-9) lon[i] = std::atan2(y[i], x[i]) + lon0;
    return gx::FoldLongitude(lon);
}

double EccentricityFactor(double e) {
    return std::sqrt(std::pow(1 - e, 1 - e) * std::pow(1 + e, 1 + e));
}

// Variants A and B on the same members: the pole as origin with scale factor k0.
struct PolarAtOrigin {
    bool bNorth;
    double a, e, lon0, k0, fe, fn, eccFactor;
    double c[4]; // the conformal-latitude series of the ellipsoid base (a copy: a view dies)

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T rho = 2 * a * k0 * PoleT(bNorth, lat, e) / eccFactor;
        T s, cs;
        gx::SinCos(lon - lon0, s, cs); // the longitude difference only through these
        x = fe + rho * s;
        const T dy = rho * cs;
        y = bNorth ? fn - dy : fn + dy;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dx = x - fe, dy = y - fn;
        const T t = gx::Sqrt(dx * dx + dy * dy) * eccFactor / (2 * a * k0);
        lat = PoleLatitude(bNorth, t, c);
        lon = bNorth ? FoldedAzimuth(dx, -dy, lon0) : FoldedAzimuth(dx, dy, lon0);
    }
};

// Variant C: the pole's distance from the false origin is the radius of the standard parallel
// rhoF, and t is scaled by that parallel's tF.
struct PolarFromParallel {
    bool bNorth;
    double e, lon0, fe, fn, rhoF, tF;
    double c[4];

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T rho = PoleT(bNorth, lat, e) * rhoF / tF;
        T s, cs;
        gx::SinCos(lon - lon0, s, cs); // the longitude difference only through these
        x = fe + rho * s;
        const T dy = rho * cs;
        y = bNorth ? (fn + rhoF) - dy : (fn - rhoF) + dy;
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T dN = bNorth ? y - fn - rhoF : y - fn + rhoF;
        const T dE = x - fe;
        const T t = gx::Sqrt(dN * dN + dE * dE) * tF / rhoF;
        lat = PoleLatitude(bNorth, t, c);
        lon = bNorth ? FoldedAzimuth(dE, -dN, lon0) : FoldedAzimuth(dE, dN, lon0);
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions and the array views that use it.
#define GX_POLAR_AT_ORIGIN(lat)                                                                    \
    PolarAtOrigin {                                                                                \
        lat > 0, m_dA, m_dE, m_dLon0, m_dK0, m_dFalseEasting, m_dFalseNorthing, m_dEccFactor, {    \
            m_adConfLat[0], m_adConfLat[1], m_adConfLat[2], m_adConfLat[3]                         \
        }                                                                                          \
    }
#define GX_POLAR_FROM_PARALLEL                                                                     \
    PolarFromParallel {                                                                            \
        m_dLatStd > 0, m_dE, m_dLon0, m_dFalseEasting, m_dFalseNorthing, m_dRhoF, m_dTF, {         \
            m_adConfLat[0], m_adConfLat[1], m_adConfLat[2], m_adConfLat[3]                         \
        }                                                                                          \
    }

CPolarStereographicA::CPolarStereographicA(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                           double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing),
      m_dEccFactor(EccentricityFactor(m_dE)) {}

int CPolarStereographicA::Project(double dLongitude, double dLatitude, double& dX,
                                  double& dY) const {
    GX_POLAR_AT_ORIGIN(m_dLat0).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CPolarStereographicA::UnProject(double dX, double dY, double& dLongitude,
                                    double& dLatitude) const {
    GX_POLAR_AT_ORIGIN(m_dLat0).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CPolarStereographicB::CPolarStereographicB(int nEllipsoid, double dLon0, double dLatStd,
                                           double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLatStd(dLatStd), m_dK0(0),
      m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing),
      m_dEccFactor(EccentricityFactor(m_dE)) {
    const double mc = gx::ParallelRadius(std::sin(dLatStd), std::cos(dLatStd), m_dE2);
    const double tc = PoleT(dLatStd > 0, dLatStd, m_dE);
    // With the standard parallel at the pole mc and tc both come out tiny (cos of the double
    // nearest pi/2) and their quotient stays near its limit.
    m_dK0 = mc * m_dEccFactor / (2 * tc);
}

int CPolarStereographicB::Project(double dLongitude, double dLatitude, double& dX,
                                  double& dY) const {
    GX_POLAR_AT_ORIGIN(m_dLatStd).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CPolarStereographicB::UnProject(double dX, double dY, double& dLongitude,
                                    double& dLatitude) const {
    GX_POLAR_AT_ORIGIN(m_dLatStd).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CPolarStereographicC::CPolarStereographicC(int nEllipsoid, double dLon0, double dLatStd,
                                           double dEastingF, double dNorthingF)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLatStd(dLatStd), m_dFalseEasting(dEastingF),
      m_dFalseNorthing(dNorthingF) {
    m_dRhoF = m_dA * gx::ParallelRadius(std::sin(dLatStd), std::cos(dLatStd), m_dE2);
    m_dTF = PoleT(dLatStd > 0, dLatStd, m_dE);
}

int CPolarStereographicC::Project(double dLongitude, double dLatitude, double& dX,
                                  double& dY) const {
    GX_POLAR_FROM_PARALLEL.Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CPolarStereographicC::UnProject(double dX, double dY, double& dLongitude,
                                    double& dLatitude) const {
    GX_POLAR_FROM_PARALLEL.UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array views: copies of a projection that build its kernel.
struct AView : CPolarStereographicA {
    explicit AView(const CPolarStereographicA& p) : CPolarStereographicA(p) {}
    PolarAtOrigin Kernel() const { return GX_POLAR_AT_ORIGIN(m_dLat0); }
};
struct BView : CPolarStereographicB {
    explicit BView(const CPolarStereographicB& p) : CPolarStereographicB(p) {}
    PolarAtOrigin Kernel() const { return GX_POLAR_AT_ORIGIN(m_dLatStd); }
};
struct CView : CPolarStereographicC {
    explicit CView(const CPolarStereographicC& p) : CPolarStereographicC(p) {}
    PolarFromParallel Kernel() const { return GX_POLAR_FROM_PARALLEL; }
};

} // namespace

gx::ArrayKernels gx::PolarStereographicArrayKernels(const CProjection& p) {
    const std::type_info& type = typeid(p);
    if (type == typeid(CPolarStereographicA)) return KernelsOf<AView, CPolarStereographicA>();
    if (type == typeid(CPolarStereographicB)) return KernelsOf<BView, CPolarStereographicB>();
    if (type == typeid(CPolarStereographicC)) return KernelsOf<CView, CPolarStereographicC>();
    return {};
}
