// The New Zealand map grid: a latitude series followed by a complex polynomial. Internal to the
// library (built by the factory only, never exported).
#ifndef GEOXFORM_NEW_ZEALAND_MAP_GRID_H
#define GEOXFORM_NEW_ZEALAND_MAP_GRID_H

#include "geoxform/map_projection.h"

// EPSG method 9811, New Zealand Map Grid. Angles in radians. The coefficients are those of the
// grid's definition whatever the ellipsoid; only its semi-major axis is read.
class CNewZealandMapGrid : public CMapProjection {
public:
    CNewZealandMapGrid(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                       double dFalseNorthing);
    CNewZealandMapGrid(const CNewZealandMapGrid&) = delete;
    CNewZealandMapGrid& operator=(const CNewZealandMapGrid&) = delete;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
};

#endif
