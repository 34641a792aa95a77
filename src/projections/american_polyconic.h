// The American polyconic projection: each parallel drawn as the arc of its own tangent cone.
// Internal to the library (built by the factory only, never exported).
#ifndef GEOXFORM_AMERICAN_POLYCONIC_H
#define GEOXFORM_AMERICAN_POLYCONIC_H

#include "geoxform/map_projection.h"

// EPSG method 9818, American Polyconic. Angles in radians.
class CAmericanPolyconic : public CMapProjection {
public:
    CAmericanPolyconic(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                       double dFalseNorthing);
    CAmericanPolyconic(const CAmericanPolyconic&) = delete;
    CAmericanPolyconic& operator=(const CAmericanPolyconic&) = delete;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dM0; // meridian arc of the latitude of origin
};

#endif
