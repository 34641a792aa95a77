// Cylindrical projections: the ellipsoidal normal Mercator with one or two standard parallels,
// the equidistant cylindrical projection, and the identity on longitude and latitude.
#ifndef GEOXFORM_MERCATOR_H
#define GEOXFORM_MERCATOR_H

#include <cstdint>

#include "geoxform/map_projection.h"

// EPSG methods 9804 (variant 1: the scale factor at the equator is given) and 9805 (variant 2:
// the latitude of the standard parallel is given, whose absolute value is used). Angles in
// radians.
class GEOXFORM_API CMercator : public CMapProjection {
public:
    // dValue is the scale factor k0 for variant 1 and the standard parallel for variant 2.
    CMercator(int nEllipsoid, int nVariant, double dLon0, double dValue, double dFalseEasting,
              double dFalseNorthing);
    CMercator(const CMercator&) = default;
    CMercator& operator=(const CMercator&) = default;
    ~CMercator() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    int32_t m_nVariant; // 1: scale factor given; 2: standard parallel given
    double m_dLon0;     // longitude of natural origin
    double m_dK0;       // scale factor at the equator, given or derived from the parallel
    double m_dLat1;     // absolute value of the standard parallel (variant 2), else 0
    double m_dFalseEasting;
    double m_dFalseNorthing;
};

// EPSG method 9823: a plate carree scaled to the Gaussian mean radius of curvature of the
// true-scale parallel, without false easting and northing. Angles in radians.
class GEOXFORM_API CEquidistantCylindrical : public CMapProjection {
public:
    CEquidistantCylindrical(int nEllipsoid, double dLon0, double dLat1);
    CEquidistantCylindrical(const CEquidistantCylindrical&) = default;
    CEquidistantCylindrical& operator=(const CEquidistantCylindrical&) = default;
    ~CEquidistantCylindrical() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;   // longitude of natural origin
    double m_dLat1;   // latitude of the true-scale parallel
    double m_dRadius; // a for a sphere, else a sqrt(1 - e^2) / (1 - e^2 sin^2 lat1)
};

// EPSG method 9825: longitude and latitude in radians taken as x and y. Needs no ellipsoid.
class GEOXFORM_API CPseudoPlateCarree : public CMapProjection {
public:
    CPseudoPlateCarree();
    CPseudoPlateCarree(const CPseudoPlateCarree&) = default;
    CPseudoPlateCarree& operator=(const CPseudoPlateCarree&) = default;
    ~CPseudoPlateCarree() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;
};

#endif
