// The Lambert conformal conic family: one standard parallel with a scale factor, two standard
// parallels, two standard parallels with the Belgian rotation, and the near-conformal variant
// on a truncated meridian arc series.
#ifndef GEOXFORM_LAMBERT_CONIC_H
#define GEOXFORM_LAMBERT_CONIC_H

#include "geoxform/map_projection.h"

// EPSG method 9801, Lambert conic conformal (1SP). Angles in radians.
class GEOXFORM_API CLambertConicalSP1 : public CMapProjection {
public:
    CLambertConicalSP1(int nEllipsoid, double dLon0, double dLat0, double dK0, double dFalseEasting,
                       double dFalseNorthing);
    CLambertConicalSP1(const CLambertConicalSP1&) = default;
    CLambertConicalSP1& operator=(const CLambertConicalSP1&) = default;
    ~CLambertConicalSP1() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dK0;   // scale factor at natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dN;     // cone constant n = sin lat0
    double m_dConeF; // F = m0 / (n t0^n)
    double m_dR0;    // radius of the parallel of origin, a F k0 t0^n
};

// EPSG method 9802, Lambert conic conformal (2SP). Angles in radians.
class GEOXFORM_API CLambertConicalSP2 : public CMapProjection {
public:
    CLambertConicalSP2(int nEllipsoid, double dLonF, double dLatF, double dLat1, double dLat2,
                       double dEastingF, double dNorthingF);
    CLambertConicalSP2(const CLambertConicalSP2&) = default;
    CLambertConicalSP2& operator=(const CLambertConicalSP2&) = default;
    ~CLambertConicalSP2() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;          // longitude of false origin
    double m_dLat0;          // latitude of false origin
    double m_dLat1;          // first standard parallel
    double m_dLat2;          // second standard parallel
    double m_dFalseEasting;  // easting at false origin
    double m_dFalseNorthing; // northing at false origin
    double m_dN;             // cone constant
    double m_dConeF;         // F = m1 / (n t1^n)
    double m_dRF;            // radius at the false origin, a F tF^n
};

// EPSG method 9803, Lambert conic conformal (2SP Belgium): the two-parallel projection with
// the grid turned by 29.2985 seconds of arc. Angles in radians.
class GEOXFORM_API CLambertConicalSP2Belgium : public CMapProjection {
public:
    CLambertConicalSP2Belgium(int nEllipsoid, double dLonF, double dLatF, double dLat1,
                              double dLat2, double dEastingF, double dNorthingF);
    CLambertConicalSP2Belgium(const CLambertConicalSP2Belgium&) = default;
    CLambertConicalSP2Belgium& operator=(const CLambertConicalSP2Belgium&) = default;
    ~CLambertConicalSP2Belgium() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;
    double m_dLat0;
    double m_dLat1;
    double m_dLat2;
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dN;
    double m_dConeF;
    double m_dRF;
};

// EPSG method 9817, Lambert conic near-conformal: the meridian distance from the origin by a
// series truncated at the fourth power of the third flattening, turned into the cone's radius
// by a cubic. Angles in radians.
class GEOXFORM_API CLambertConicNearConformal : public CMapProjection {
public:
    CLambertConicNearConformal(int nEllipsoid, double dLon0, double dLat0, double dK0,
                               double dFalseEasting, double dFalseNorthing);
    CLambertConicNearConformal(const CLambertConicNearConformal&) = default;
    CLambertConicNearConformal& operator=(const CLambertConicNearConformal&) = default;
    ~CLambertConicNearConformal() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dK0;   // scale factor at natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dCubicA; // A = 1 / (6 rho0 nu0)
    double m_dR0;     // r0 = k0 nu0 / tan lat0
    double m_dS0;     // arc value S(lat0)
    double m_dArcA;   // A' (holds the factor pi/180 of the latitude in degrees)
    double m_dArcB;   // B'
    double m_dArcC;   // C'
    double m_dArcD;   // D'
    double m_dArcE;   // E'

private:
    // S(phi) = A' phi[deg] - B' sin 2phi + C' sin 4phi - D' sin 6phi + E' sin 8phi.
    double Arc(double dPhi) const;
};

#endif
