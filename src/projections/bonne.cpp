// Bonne projection and its south-oriented form (EPSG methods 9827 and 9828): EPSG guidance note
// 7-2, "Bonne" and "Bonne (South Orientated)"; Snyder, Map Projections: A Working Manual,
// pp. 138-140.
#include "projections/bonne.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The projection's constants: the ellipsoid, its meridian arc and footpoint coefficients, the
// origin, the false origin, the radius of the parallel of origin and the axes.
struct Bonne {
    double a, e2, lon0, lat0, m0, fe, fn, rho0, axes;
    const double* d; // meridian arc coefficients
    const double* g; // footpoint series coefficients

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        T s, c;
        gx::SinCos(lat, s, c);
        const T rho = (m0 + rho0) - gx::MeridianArcSinCos(a, d, lat, s, c);
        const T am = a * gx::ParallelRadius(s, c, e2);
        const T theta = am * (lon - lon0) / rho; // longitude not normalised
        T sinTheta, cosTheta;
        gx::SinCos(theta, sinTheta, cosTheta);
        x = fe + axes * (rho * sinTheta);
        y = fn + axes * (rho0 - rho * cosTheta);
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        // Offsets from the false origin along the axes of the plain projection.
        const T dE = axes * (x - fe), dN = axes * (y - fn);
        T rho = gx::Sqrt(dE * dE + (rho0 - dN) * (rho0 - dN));
        if (lat0 < 0) rho = -rho; // a southern origin has negative radii
        const gx::LatitudeSinCos<T> phi = gx::FootpointLatitude(a, e2, d, g, (m0 + rho0) - rho);
        lat = phi.phi;
        const T am = a * gx::ParallelRadius(phi.s, phi.c, e2);
        // At a pole every meridian meets and m(phi) = 0. Within a micrometre of it (parallel
        // radius a m(phi) below 1e-6 m, where the rounding of x alone moves the longitude by
        // more than 1e-3 rad) the longitude of origin is returned instead of 0 / 0.
        const gx::MaskOf<T> atPole = gx::Fabs(am) < 1e-6;
        if (gx::All(atPole)) {
            lon = gx::Splat<T>(gx::FoldLongitude(lon0));
            return;
        }
        const T theta = lat0 >= 0 ? gx::Atan2(dE, rho0 - dN) : gx::Atan2(-dE, dN - rho0);
        lon = gx::FoldLongitude(gx::Select(atPole, gx::Splat<T>(lon0), theta * rho / am + lon0));
    }
};

} // namespace

// The kernel built from the members in one place. A macro, as the members are protected: it
// expands inside the member functions (o: this->) and the array views (o: the projection
// through a pointer to member of an accessor class; the kernel points into the projection's
// own coefficient arrays).
#define GX_BONNE(o)                                                                                \
    Bonne {                                                                                        \
        o m_dA, o m_dE2, o m_dLon0, o m_dLat0, o m_dM0, o m_dFalseEasting, o m_dFalseNorthing,     \
            o m_dRho0, o m_dAxes, o m_adMDist, o m_adMDistInv                                      \
    }

CBonne::CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
               double dFalseNorthing)
    : CBonne(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing, 1) {}

CBonne::CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
               double dFalseNorthing, double axes)
    : COriginProjection(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing),
      // rho0 = a m(phi0) / sin phi0, infinite for phi0 = 0
      m_dRho0(m_dA * gx::ParallelRadius(std::sin(dLat0), std::cos(dLat0), m_dE2) / std::sin(dLat0)),
      m_dAxes(axes) {}

CBonneSouth::CBonneSouth(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                         double dFalseNorthing)
    : CBonne(nEllipsoid, dLon0, dLat0, dFalseEasting, dFalseNorthing, -1) {}

int CBonne::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_BONNE(this->).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CBonne::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    GX_BONNE(this->).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array views: a projection seen through an accessor class, whose pointers to members read
// its protected members (the south-oriented form's are those of its base).
struct BonneAccess : CBonne {
    static Bonne Of(const CBonne& p) { return GX_BONNE(p.*&BonneAccess::); }
};
template <class P>
struct BonneView {
    const CBonne& p;
    explicit BonneView(const P& q) : p(q) {}
    Bonne Kernel() const { return BonneAccess::Of(p); }
};

} // namespace

gx::ArrayKernels gx::BonneArrayKernels(const CProjection& p) {
    const std::type_info& type = typeid(p);
    if (type == typeid(CBonne)) return KernelsOf<BonneView<CBonne>, CBonne>();
    if (type == typeid(CBonneSouth)) return KernelsOf<BonneView<CBonneSouth>, CBonneSouth>();
    return {};
}
