// Transverse Mercator (EPSG method 9807), its zoned grid and its south-oriented variant
// (EPSG method 9808), on the shared series.
#include "geoxform/transverse_mercator.h"

#include <cmath>

#include "projections/array_kernels.h"
#include "projections/geodesy.h"
#include "projections/transverse_mercator_series.h"

namespace {

const double kZoneFactor = 1000000; // the zone number stands in the millions of the easting

// The grid on the shared series: the meridian arc of the latitude of origin, the false origin
// and the axes (1, or -1 for westing and southing).
struct Grid {
    gx::TransverseMercatorSeries series;
    const double* g; // footpoint series coefficients of the ellipsoid base
    double m0, fe, fn, axes;

    int Forward(double dLambda, double lat, double& x, double& y) const {
        double e = 0, n = 0;
        series.Forward(lat, dLambda, m0, e, n);
        x = fe + axes * e;
        y = fn + axes * n;
        return 1;
    }
    // The folded latitude and the longitude difference (returned, unfolded) of a point.
    double Inverse(double x, double y, double& lat) const {
        double dLambda = 0, phi = 0;
        series.Inverse(axes * (x - fe), axes * (y - fn) / series.k0 + m0, g, dLambda, phi);
        lat = gx::FoldLatitude(phi);
        return dLambda;
    }
};

} // namespace

// The kernel of a class built from its members in one place. A macro, as the class layouts
// are fixed by the public headers (no member function may be added), and the members are
// protected: it expands inside the member functions that use it.
#define GX_TM_GRID(fe, axes)                                                                       \
    Grid {                                                                                         \
        {m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist}, m_adMDistInv, m_dM0, fe, m_dFalseNorthing, axes   \
    }

CTransverseMercator::CTransverseMercator(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                         double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing) {}

int CTransverseMercator::Project(double dLongitude, double dLatitude, double& dX,
                                 double& dY) const {
    const Grid grid = GX_TM_GRID(m_dFalseEasting, 1);
    return grid.Forward(SaveLambda(SaveLambda(dLongitude) - m_dLon0), dLatitude, dX, dY);
}

int CTransverseMercator::UnProject(double dX, double dY, double& dLongitude,
                                   double& dLatitude) const {
    const Grid grid = GX_TM_GRID(m_dFalseEasting, 1);
    dLongitude = SaveLambda(grid.Inverse(dX, dY, dLatitude) + m_dLon0);
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
    const Grid grid = GX_TM_GRID(m_dFalseEasting, -1);
    return grid.Forward(SaveLambda(SaveLambda(dLongitude) - m_dLon0), dLatitude, dX, dY);
}

int CTransverseMercatorSouthOriented::UnProject(double dX, double dY, double& dLongitude,
                                                double& dLatitude) const {
    const Grid grid = GX_TM_GRID(m_dFalseEasting, -1);
    dLongitude = SaveLambda(grid.Inverse(dX, dY, dLatitude) + m_dLon0);
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
    // Zone numbers stay doubles: truncation of a non-finite or huge value is then defined.
    const double zone =
        std::trunc((dLongitude * gx::kDegreesPerRadian - m_dInitialLonDeg + m_dZoneWidthDeg) /
                   m_dZoneWidthDeg);
    const double centralDeg = m_dInitialLonDeg - m_dZoneWidthDeg * 0.5 + zone * m_dZoneWidthDeg;
    const double lambdaZone = SaveLambda(centralDeg * gx::kDegree);

    const Grid grid = GX_TM_GRID(zone * kZoneFactor + m_dFalseEasting, 1);
    return grid.Forward(SaveLambda(dLongitude - lambdaZone), dLatitude, dX, dY);
}

int CUniversalTransverseMercator::UnProject(double dX, double dY, double& dLongitude,
                                            double& dLatitude) const {
    const double zone = std::trunc(dX / kZoneFactor);
    const double lambdaZone = SaveLambda(
        (zone * m_dZoneWidthDeg + (m_dInitialLonDeg - m_dZoneWidthDeg * 0.5)) * gx::kDegree);

    const Grid grid = GX_TM_GRID(zone * kZoneFactor + m_dFalseEasting, 1);
    dLongitude = SaveLambda(grid.Inverse(dX, dY, dLatitude) + lambdaZone);
    return 1;
}

gx::ArrayKernels gx::TransverseMercatorArrayKernels(const CProjection&) {
    return {};
}
