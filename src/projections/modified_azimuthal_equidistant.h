// The modified azimuthal equidistant projection: distance and azimuth from the origin kept by
// a series in the arc length, for small areas. Internal to the library (built by the factory
// only, never exported).
#ifndef GEOXFORM_MODIFIED_AZIMUTHAL_EQUIDISTANT_H
#define GEOXFORM_MODIFIED_AZIMUTHAL_EQUIDISTANT_H

#include "geoxform/map_projection.h"

// EPSG method 9832, Modified Azimuthal Equidistant. Angles in radians.
class CModifiedAzimuthalEquidistant : public CMapProjection {
public:
    CModifiedAzimuthalEquidistant(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                                  double dFalseNorthing);
    CModifiedAzimuthalEquidistant(const CModifiedAzimuthalEquidistant&) = delete;
    CModifiedAzimuthalEquidistant& operator=(const CModifiedAzimuthalEquidistant&) = delete;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dNu0; // prime-vertical radius of curvature at the origin
    double m_dG;   // G = e sin phi0 / sqrt(1 - e^2)
};

#endif
