// The Albers equal-area conic projection with two standard parallels.
#ifndef GEOXFORM_ALBERS_EQUAL_AREA_H
#define GEOXFORM_ALBERS_EQUAL_AREA_H

#include "geoxform/map_projection.h"

// EPSG method 9822. Angles in radians; NaN throughout on a sphere, where the authalic
// function q is 0/0, and for equal standard parallels.
class GEOXFORM_API CAlbersEqualArea : public CMapProjection {
public:
    CAlbersEqualArea(int nEllipsoid, double dLonF, double dLatF, double dLat1, double dLat2,
                     double dEastingF, double dNorthingF);
    CAlbersEqualArea(const CAlbersEqualArea&) = default;
    CAlbersEqualArea& operator=(const CAlbersEqualArea&) = default;
    ~CAlbersEqualArea() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;          // longitude of false origin
    double m_dLat0;          // latitude of false origin
    double m_dLat1;          // first standard parallel
    double m_dLat2;          // second standard parallel
    double m_dFalseEasting;  // easting at false origin
    double m_dFalseNorthing; // northing at false origin
    double m_dN;             // cone constant n = (m1^2 - m2^2) / (q2 - q1)
    double m_dAlbersC;       // C = m1^2 + n q1
    double m_dRho0;          // radius at the false origin, a sqrt(C - n q0) / n
};

#endif
