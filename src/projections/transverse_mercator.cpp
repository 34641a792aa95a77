// Transverse Mercator (EPSG method 9807), its zoned grid and its south-oriented variant
// (EPSG method 9808), on the shared series.
#include "geoxform/transverse_mercator.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"
#include "projections/transverse_mercator_series.h"

namespace {

const double kZoneFactor = 1000000; // the zone number stands in the millions of the easting

// The grid on the shared series: the meridian arc of the latitude of origin, the false northing
// and the axes (1, or -1 for westing and southing); the false easting comes with each point,
// as the zoned grid's depends on the zone.
struct Grid {
    gx::TransverseMercatorSeries series;
    const double* g; // footpoint series coefficients of the ellipsoid base
    double m0, fn, axes;

    template <class T>
    void Forward(T dLambda, T lat, T fe, T& x, T& y) const {
        T e = gx::Splat<T>(0), n = gx::Splat<T>(0);
        series.Forward(lat, dLambda, m0, e, n);
        x = fe + axes * e;
        y = fn + axes * n;
    }
    // The folded latitude and the longitude difference (returned, unfolded) of a point.
    template <class T>
    T Inverse(T x, T y, T fe, T& lat) const {
        T dLambda = gx::Splat<T>(0), phi = gx::Splat<T>(0);
        series.Inverse(axes * (x - fe), axes * (y - fn) / series.k0 + m0, g, dLambda, phi);
        lat = gx::FoldLatitude(phi);
        return dLambda;
    }
};

// The plain and south-oriented projections: the grid about one central meridian.
struct Meridian {
    Grid grid;
    double fe, lon0;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        grid.Forward(gx::FoldLongitude(gx::FoldLongitude(lon) - lon0), lat, gx::Splat<T>(fe), x, y);
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        lon = gx::FoldLongitude(grid.Inverse(x, y, gx::Splat<T>(fe), lat) + lon0);
    }
};

// std::trunc of each value.
double Trunc(double x) {
    return std::trunc(x);
}
gx::Lanes Trunc(gx::Lanes x) {
    return gx::Lanes{std::trunc(x[0]), std::trunc(x[1])};
}

// The zoned grid: the zone of a longitude, counted from the initial longitude in zones of the
// zone width, gives the central meridian, and stands in the millions of the easting.
struct Zoned {
    Grid grid;
    double fe, initialDeg, widthDeg;

    template <class T>
    void Project(T lon, T lat, T& x, T& y) const {
        // Zone numbers stay doubles: truncation of a non-finite or huge value is then defined.
        const T zone = Trunc((lon * gx::kDegreesPerRadian - initialDeg + widthDeg) / widthDeg);
        const T centralDeg = initialDeg - widthDeg * 0.5 + zone * widthDeg;
        const T lambdaZone = gx::FoldLongitude(centralDeg * gx::kDegree);
        grid.Forward(gx::FoldLongitude(lon - lambdaZone), lat, zone * kZoneFactor + fe, x, y);
    }
    template <class T>
    void UnProject(T x, T y, T& lon, T& lat) const {
        const T zone = Trunc(x / kZoneFactor);
        const T lambdaZone =
            gx::FoldLongitude((zone * widthDeg + (initialDeg - widthDeg * 0.5)) * gx::kDegree);
        lon = gx::FoldLongitude(grid.Inverse(x, y, zone * kZoneFactor + fe, lat) + lambdaZone);
    }
};

} // namespace

// The kernels of the classes built from their members in one place. Macros, as the class
// layouts are fixed by the public headers (no member function may be added), and the members
// are protected: they expand inside the member functions (o: this->) and the array views (o:
// the projection through a pointer to member of an accessor class; the kernel points into the
// projection's own coefficient arrays).
#define GX_TM_GRID(o, axes)                                                                        \
    Grid {                                                                                         \
        {o m_dA, o m_dE2, o m_dEp2, o m_dK0, o m_adMDist}, o m_adMDistInv, o m_dM0,                \
            o m_dFalseNorthing, axes                                                               \
    }
#define GX_TM_MERIDIAN(o, axes)                                                                    \
    Meridian {                                                                                     \
        GX_TM_GRID(o, axes), o m_dFalseEasting, o m_dLon0                                          \
    }
#define GX_TM_ZONED(o)                                                                             \
    Zoned {                                                                                        \
        GX_TM_GRID(o, 1), o m_dFalseEasting, o m_dInitialLonDeg, o m_dZoneWidthDeg                 \
    }

CTransverseMercator::CTransverseMercator(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                         double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing) {}

int CTransverseMercator::Project(double dLongitude, double dLatitude, double& dX,
                                 double& dY) const {
    GX_TM_MERIDIAN(this->, 1).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CTransverseMercator::UnProject(double dX, double dY, double& dLongitude,
                                   double& dLatitude) const {
    GX_TM_MERIDIAN(this->, 1).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CTransverseMercatorSouthOriented::CTransverseMercatorSouthOriented(int nEllipsoid, double dLon0,
                                                                   double dLat0, double dK0,
                                                                   double dFalseEasting,
                                                                   double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing) {}

int CTransverseMercatorSouthOriented::Project(double dLongitude, double dLatitude, double& dX,
                                              double& dY) const {
    GX_TM_MERIDIAN(this->, -1).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CTransverseMercatorSouthOriented::UnProject(double dX, double dY, double& dLongitude,
                                                double& dLatitude) const {
    GX_TM_MERIDIAN(this->, -1).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

CUniversalTransverseMercator::CUniversalTransverseMercator(int nEllipsoid, double dInitialLongitude,
                                                           double dLat0, double dK0,
                                                           double dFalseEasting,
                                                           double dFalseNorthing, double dZoneWidth)
    : CMapProjection(nEllipsoid), m_dLon0(dInitialLongitude), m_dLat0(dLat0), m_dK0(dK0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing), m_dZoneWidthDeg(dZoneWidth * gx::kDegreesPerRadian),
      m_dInitialLonDeg(dInitialLongitude * gx::kDegreesPerRadian) {}

int CUniversalTransverseMercator::Project(double dLongitude, double dLatitude, double& dX,
                                          double& dY) const {
    GX_TM_ZONED(this->).Project(dLongitude, dLatitude, dX, dY);
    return 1;
}

int CUniversalTransverseMercator::UnProject(double dX, double dY, double& dLongitude,
                                            double& dLatitude) const {
    GX_TM_ZONED(this->).UnProject(dX, dY, dLongitude, dLatitude);
    return 1;
}

namespace {

// The array views: a projection seen through an accessor class, whose pointers to members
// read its protected members.
template <class P, class K, K (*Of)(const P&)>
struct View {
    const P& p;
    explicit View(const P& q) : p(q) {}
    K Kernel() const { return Of(p); }
};
struct PlainAccess : CTransverseMercator {
    static Meridian Of(const CTransverseMercator& p) {
        return GX_TM_MERIDIAN(p.*&PlainAccess::, 1);
    }
};
struct SouthAccess : CTransverseMercatorSouthOriented {
    static Meridian Of(const CTransverseMercatorSouthOriented& p) {
        return GX_TM_MERIDIAN(p.*&SouthAccess::, -1);
    }
};
struct ZonedAccess : CUniversalTransverseMercator {
    static Zoned Of(const CUniversalTransverseMercator& p) {
        return GX_TM_ZONED(p.*&ZonedAccess::);
    }
};

} // namespace

gx::ArrayKernels gx::TransverseMercatorArrayKernels(const CProjection& p) {
    const std::type_info& type = typeid(p);
    using Plain = CTransverseMercator;
    using South = CTransverseMercatorSouthOriented;
    using Zone = CUniversalTransverseMercator;
    if (type == typeid(Plain)) return KernelsOf<View<Plain, Meridian, PlainAccess::Of>, Plain>();
    if (type == typeid(South)) return KernelsOf<View<South, Meridian, SouthAccess::Of>, South>();
    if (type == typeid(Zone)) return KernelsOf<View<Zone, Zoned, ZonedAccess::Of>, Zone>();
    return {};
}
