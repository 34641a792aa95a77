// The ellipsoidal Lambert azimuthal equal-area projection, through the authalic sphere.
#ifndef GEOXFORM_LAMBERT_AZIMUTHAL_EQUAL_AREA_H
#define GEOXFORM_LAMBERT_AZIMUTHAL_EQUAL_AREA_H

#include "geoxform/map_projection.h"

// EPSG method 9820, Lambert Azimuthal Equal Area. Needs an ellipsoid (e > 0). Angles in
// radians.
class GEOXFORM_API CLambertAzimuthalEqualArea : public CMapProjection {
public:
    CLambertAzimuthalEqualArea(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                               double dFalseNorthing);
    CLambertAzimuthalEqualArea(const CLambertAzimuthalEqualArea&) = default;
    CLambertAzimuthalEqualArea& operator=(const CLambertAzimuthalEqualArea&) = default;
    ~CLambertAzimuthalEqualArea() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dBeta0; // authalic latitude of the origin
    double m_dQp;    // q of the pole
    double m_dD;     // D = a m(phi0) / (Rq cos beta0)
    double m_dRq;    // radius of the authalic sphere
};

#endif
