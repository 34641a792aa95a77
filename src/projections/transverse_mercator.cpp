// Transverse Mercator (EPSG method 9807), its zoned grid and its south-oriented variant
// (EPSG method 9808), on the shared series.
#include "geoxform/transverse_mercator.h"

#include <cmath>

#include "projections/geodesy.h"
#include "projections/transverse_mercator_series.h"

namespace {

const double kZoneFactor = 1000000; // the zone number stands in the millions of the easting

} // namespace

CTransverseMercator::CTransverseMercator(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                         double dFalseEasting, double dFalseNorthing)
    : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0), m_dK0(dK0),
      m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)), m_dFalseEasting(dFalseEasting),
      m_dFalseNorthing(dFalseNorthing) {}

int CTransverseMercator::Project(double dLongitude, double dLatitude, double& dX,
                                 double& dY) const {
    const gx::TransverseMercatorSeries series{m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist};
    double e = 0, n = 0;
    series.Forward(dLatitude, SaveLambda(SaveLambda(dLongitude) - m_dLon0), m_dM0, e, n);
    dX = e + m_dFalseEasting;
    dY = n + m_dFalseNorthing;
    return 1;
}

int CTransverseMercator::UnProject(double dX, double dY, double& dLongitude,
                                   double& dLatitude) const {
    const gx::TransverseMercatorSeries series{m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist};
    const double m = (dY - m_dFalseNorthing) / m_dK0 + m_dM0;
    double dLambda = 0, phi = 0;
    series.Inverse(dX - m_dFalseEasting, m, m_adMDistInv, dLambda, phi);
    dLongitude = SaveLambda(dLambda + m_dLon0);
    dLatitude = SavePhi(phi);
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
    const gx::TransverseMercatorSeries series{m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist};
    double e = 0, n = 0;
    series.Forward(dLatitude, SaveLambda(SaveLambda(dLongitude) - m_dLon0), m_dM0, e, n);
    dX = m_dFalseEasting - e;  // westing
    dY = m_dFalseNorthing - n; // southing
    return 1;
}

int CTransverseMercatorSouthOriented::UnProject(double dX, double dY, double& dLongitude,
                                                double& dLatitude) const {
    const gx::TransverseMercatorSeries series{m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist};
    const double m = m_dM0 + (m_dFalseNorthing - dY) / m_dK0;
    double dLambda = 0, phi = 0;
    series.Inverse(m_dFalseEasting - dX, m, m_adMDistInv, dLambda, phi);
    dLongitude = SaveLambda(dLambda + m_dLon0);
    dLatitude = SavePhi(phi);
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

    const gx::TransverseMercatorSeries series{m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist};
    double e = 0, n = 0;
    series.Forward(dLatitude, SaveLambda(dLongitude - lambdaZone), m_dM0, e, n);
    dX = e + zone * kZoneFactor + m_dFalseEasting;
    dY = n + m_dFalseNorthing;
    return 1;
}

int CUniversalTransverseMercator::UnProject(double dX, double dY, double& dLongitude,
                                            double& dLatitude) const {
    const double zone = std::trunc(dX / kZoneFactor);
    const double lambdaZone = SaveLambda(
        (zone * m_dZoneWidthDeg + (m_dInitialLonDeg - m_dZoneWidthDeg * 0.5)) * gx::kDegree);

    const gx::TransverseMercatorSeries series{m_dA, m_dE2, m_dEp2, m_dK0, m_adMDist};
    const double m = (dY - m_dFalseNorthing) / m_dK0 + m_dM0;
    double dLambda = 0, phi = 0;
    series.Inverse(dX - (zone * kZoneFactor + m_dFalseEasting), m, m_adMDistInv, dLambda, phi);
    dLongitude = SaveLambda(dLambda + lambdaZone);
    dLatitude = SavePhi(phi);
    return 1;
}
