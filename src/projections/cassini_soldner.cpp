// Cassini-Soldner (EPSG method 9806); EPSG guidance note 7-2, Cassini-Soldner.
#include "projections/cassini_soldner.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"

namespace {

// The series' constant divisors as factors.
const double kSixth = 1.0 / 6, kThird = 1.0 / 3;
const double k1Over15 = 1.0 / 15, k1Over24 = 1.0 / 24, k1Over120 = 1.0 / 120;

// The projection's constants: the ellipsoid, its meridian arc and footpoint coefficients, the
// origin and the false origin.
struct Cassini {
    double a, e2, ep2, lon0, m0, fe, fn;
    const double* d; // meridian arc coefficients
    const double* g; // footpoint series coefficients

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        const T dLambda = gx::FoldLongitude(gx::FoldLongitude(lon) - lon0);
        // One sine and cosine of the latitude serve the tangent, nu and the meridian arc.
        T s, c;
        gx::SinCos(lat, s, c);
        const T tanPhi = s / c;
        const T A = dLambda * c;
        const T tt = tanPhi * tanPhi; // T of the guidance note
        const T C = ep2 * c * c;
        const T M = gx::MeridianArcSinCos(a, d, lat, s, c);
        const T nu = gx::PrimeVerticalRadius(a, e2, s);
        const T A2 = A * A;
        const T X = A - tt * A2 * A * kSixth - (8 - tt + 8 * C) * tt * A2 * A2 * A * k1Over120;
        const T Y = A2 * 0.5 + (5 - tt + 6 * C) * A2 * A2 * k1Over24;
        x = nu * X + fe;
        y = nu * tanPhi * Y + (fn + M - m0);
    }

    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        // The footpoint latitude phi1 of MDistInv, with its sine and cosine.
        const T M1 = y - fn + m0;
        const gx::LatitudeSinCos<T> foot = gx::FootpointLatitude(a, e2, d, g, M1);
        const T w = 1 - e2 * foot.s * foot.s;
        const T nu1 = gx::PrimeVerticalRadius(a, e2, foot.s);
        const T nuOverRho1 = w / (1 - e2);
        const T tan1 = foot.s / foot.c;
        const T T1 = tan1 * tan1;
        const T D = (x - fe) / nu1;
        const T D2 = D * D;
        lat = gx::FoldLatitude(foot.phi -
                               nuOverRho1 * tan1 * D2 * (0.5 - (1 + 3 * T1) * D2 * k1Over24));
        lon = gx::FoldLongitude(
            (D - T1 * D2 * D * kThird + (1 + 3 * T1) * T1 * D2 * D2 * D * k1Over15) / foot.c +
            lon0);
    }
};

} // namespace

// The kernel built from the members in one place. A macro, as the members are protected: it
// expands inside the member functions (o: this->) and the array view (o: the projection
// through a pointer to member of an accessor class; the kernel points into the projection's
// own coefficient arrays).
#define GX_CASSINI(o)                                                                              \
    Cassini {                                                                                      \
        o m_dA, o m_dE2, o m_dEp2, o m_dLon0, o m_dM0, o m_dFalseEasting, o m_dFalseNorthing,      \
            o m_adMDist, o m_adMDistInv                                                            \
    }

int CCassiniSoldner::Project(double dLongitude, double dLatitude, double& dX, double& dY) const {
    GX_CASSINI(this->).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CCassiniSoldner::UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const {
    GX_CASSINI(this->).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array view: the projection seen through an accessor class, whose pointers to members
// read its protected members.
struct CassiniAccess : CCassiniSoldner {
    static Cassini Of(const CCassiniSoldner& p) { return GX_CASSINI(p.*&CassiniAccess::); }
};
struct CassiniView {
    const CCassiniSoldner& p;
    explicit CassiniView(const CCassiniSoldner& q) : p(q) {}
    Cassini Kernel() const { return CassiniAccess::Of(p); }
};

} // namespace

gx::ArrayKernels gx::CassiniArrayKernels(const CProjection& p) {
    if (typeid(p) == typeid(CCassiniSoldner)) return KernelsOf<CassiniView, CCassiniSoldner>();
    return {};
}
