// The ellipsoidal Cassini-Soldner projection. Internal to the library (built by the factory
// only, never exported).
#ifndef GEOXFORM_CASSINI_SOLDNER_H
#define GEOXFORM_CASSINI_SOLDNER_H

#include "geoxform/map_projection.h"

// EPSG method 9806, by the series of the EPSG guidance note: exact on the central meridian;
// on WGS 84 the forward series departs from the exact projection by 1 mm 2.5 degrees from
// it, 1 cm at 4.5 and 1 m at 8.5 degrees, and the inverse series closes the round trip to
// 1e-9 rad up to 2.2 degrees from it. Angles in radians.
class CCassiniSoldner : public CMapProjection {
public:
    CCassiniSoldner(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                    double dFalseNorthing);
    CCassiniSoldner(const CCassiniSoldner&) = delete;
    CCassiniSoldner& operator=(const CCassiniSoldner&) = delete;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dM0;   // meridian arc of the latitude of origin; exactly 0 when it is 0
    double m_dFalseEasting;
    double m_dFalseNorthing;
};

#endif
