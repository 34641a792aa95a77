// The Bonne projection, pseudo-conic and equal-area, and its south-oriented form. Internal to
// the library (built by the factory only, never exported).
#ifndef GEOXFORM_BONNE_H
#define GEOXFORM_BONNE_H

#include "geoxform/map_projection.h"

// EPSG method 9827, Bonne. Angles in radians.
class CBonne : public CMapProjection {
public:
    CBonne(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting, double dFalseNorthing);
    CBonne(const CBonne&) = delete;
    CBonne& operator=(const CBonne&) = delete;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dM0;   // meridian arc of the latitude of origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dRho0; // radius of the parallel of origin, a m(phi0) / sin phi0
};

// EPSG method 9828, Bonne (South Orientated): the Bonne projection with westing and southing
// axes. Angles in radians.
class CBonneSouth : public CMapProjection {
public:
    CBonneSouth(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                double dFalseNorthing);
    CBonneSouth(const CBonneSouth&) = delete;
    CBonneSouth& operator=(const CBonneSouth&) = delete;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;
    double m_dLat0;
    double m_dM0;
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dRho0;
};

#endif
