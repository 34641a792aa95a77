// The ellipsoidal Transverse Mercator: the plain method, a zoned grid and the south-oriented
// variant, sharing one pair of series in the longitude difference to its eighth power.
#ifndef GEOXFORM_TRANSVERSE_MERCATOR_H
#define GEOXFORM_TRANSVERSE_MERCATOR_H

#include "geoxform/map_projection.h"

// EPSG method 9807. Angles in radians.
class GEOXFORM_API CTransverseMercator : public CMapProjection {
public:
    CTransverseMercator(int nEllipsoid, double dLon0, double dLat0, double dK0,
                        double dFalseEasting, double dFalseNorthing);
    CTransverseMercator(const CTransverseMercator&) = default;
    CTransverseMercator& operator=(const CTransverseMercator&) = default;
    ~CTransverseMercator() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dK0;   // scale factor at natural origin
    double m_dM0;   // meridian arc of the latitude of origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
};

// The zoned grid: zones of a given width counted from an initial longitude; each point is
// projected on its own zone's central meridian and the zone number is carried in the
// millions of the easting. Initial longitude -180 degrees and width 6 degrees give UTM.
class GEOXFORM_API CUniversalTransverseMercator : public CMapProjection {
public:
    CUniversalTransverseMercator(int nEllipsoid, double dInitialLongitude, double dLat0, double dK0,
                                 double dFalseEasting, double dFalseNorthing, double dZoneWidth);
    CUniversalTransverseMercator(const CUniversalTransverseMercator&) = default;
    CUniversalTransverseMercator& operator=(const CUniversalTransverseMercator&) = default;
    ~CUniversalTransverseMercator() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // initial longitude (not read by the formulas)
    double m_dLat0;
    double m_dK0;
    double m_dM0;
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dZoneWidthDeg;  // zone width, degrees
    double m_dInitialLonDeg; // initial longitude, degrees
};

// The south-oriented variant: axes point west and south.
class GEOXFORM_API CTransverseMercatorSouthOriented : public CMapProjection {
public:
    CTransverseMercatorSouthOriented(int nEllipsoid, double dLon0, double dLat0, double dK0,
                                     double dFalseEasting, double dFalseNorthing);
    CTransverseMercatorSouthOriented(const CTransverseMercatorSouthOriented&) = default;
    CTransverseMercatorSouthOriented& operator=(const CTransverseMercatorSouthOriented&) = default;
    ~CTransverseMercatorSouthOriented() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;
    double m_dLat0;
    double m_dK0;
    double m_dM0;
    double m_dFalseEasting;
    double m_dFalseNorthing;
};

#endif
