// The Bonne projection, pseudo-conic and equal-area, and its south-oriented form. Internal to
// the library (built by the factory only, never exported).
#ifndef GEOXFORM_BONNE_H
#define GEOXFORM_BONNE_H

#include "projections/origin_projection.h"

// EPSG method 9827, Bonne. Angles in radians.
class CBonne : public COriginProjection {
public:
    CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting, double dFalseNorthing);

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    // axes: 1 for easting and northing, -1 for westing and southing.
    CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting, double dFalseNorthing,
           double axes);

    double m_dRho0; // radius of the parallel of origin, a m(phi0) / sin phi0
    double m_dAxes; // 1, or -1 for the south-oriented form
};

// EPSG method 9828, Bonne (South Orientated): the Bonne projection with westing and southing
// axes. Angles in radians.
class CBonneSouth : public CBonne {
public:
    CBonneSouth(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                double dFalseNorthing);
};

#endif
