// The stereographic family: the oblique stereographic projection of a conformal sphere, and
// the polar stereographic projection in its three variants.
#ifndef GEOXFORM_STEREOGRAPHIC_H
#define GEOXFORM_STEREOGRAPHIC_H

#include "geoxform/map_projection.h"

// EPSG method 9809, Oblique Stereographic: the ellipsoid mapped conformally onto a sphere
// fitted at the origin, then projected stereographically. Angles in radians.
class GEOXFORM_API CObliqueStereographic : public CMapProjection {
public:
    CObliqueStereographic(int nEllipsoid, double dLon0, double dLat0, double dK0,
                          double dFalseEasting, double dFalseNorthing);
    CObliqueStereographic(const CObliqueStereographic&) = default;
    CObliqueStereographic& operator=(const CObliqueStereographic&) = default;
    ~CObliqueStereographic() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of natural origin (also that of the conformal sphere)
    double m_dLat0; // latitude of natural origin
    double m_dK0;   // scale factor at natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dRadius; // R = sqrt(rho0 nu0), radius of the conformal sphere
    double m_dN;      // n, longitude factor of the conformal sphere
    double m_dG;      // g = 2 R k0 tan(pi/4 - chi0/2)
    double m_dH;      // h = 4 R k0 tan chi0 + g
    double m_dChi0;   // conformal latitude of the origin
    double m_dC;      // c, the constant of the conformal sphere
};

// EPSG method 9810, Polar Stereographic (variant A): the pole as origin, with a scale factor
// there. Only the sign of the latitude of origin is read: greater than zero for the north pole,
// otherwise the south pole. Angles in radians.
class GEOXFORM_API CPolarStereographicA : public CMapProjection {
public:
    CPolarStereographicA(int nEllipsoid, double dLon0, double dLat0, double dK0,
                         double dFalseEasting, double dFalseNorthing);
    CPolarStereographicA(const CPolarStereographicA&) = default;
    CPolarStereographicA& operator=(const CPolarStereographicA&) = default;
    ~CPolarStereographicA() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0; // longitude of origin
    double m_dLat0; // latitude of natural origin: its sign selects the pole
    double m_dK0;   // scale factor at the pole
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dEccFactor; // sqrt((1 + e)^(1 + e) (1 - e)^(1 - e))
};

// EPSG method 9829, Polar Stereographic (variant B): the scale defined by a standard parallel,
// whose sign selects the pole. Angles in radians.
class GEOXFORM_API CPolarStereographicB : public CMapProjection {
public:
    CPolarStereographicB(int nEllipsoid, double dLon0, double dLatStd, double dFalseEasting,
                         double dFalseNorthing);
    CPolarStereographicB(const CPolarStereographicB&) = default;
    CPolarStereographicB& operator=(const CPolarStereographicB&) = default;
    ~CPolarStereographicB() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;   // longitude of origin
    double m_dLatStd; // latitude of the standard parallel: its sign selects the pole
    double m_dK0;     // scale factor at the pole, derived from the standard parallel
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dEccFactor;
};

// EPSG method 9830, Polar Stereographic (variant C): standard parallel, coordinates counted
// from a false origin where that parallel meets the longitude of origin. Angles in radians.
class GEOXFORM_API CPolarStereographicC : public CMapProjection {
public:
    CPolarStereographicC(int nEllipsoid, double dLon0, double dLatStd, double dEastingF,
                         double dNorthingF);
    CPolarStereographicC(const CPolarStereographicC&) = default;
    CPolarStereographicC& operator=(const CPolarStereographicC&) = default;
    ~CPolarStereographicC() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLon0;          // longitude of origin
    double m_dLatStd;        // latitude of the standard parallel: its sign selects the pole
    double m_dFalseEasting;  // easting at the false origin
    double m_dFalseNorthing; // northing at the false origin
    double m_dRhoF;          // a mF, radius of the standard parallel
    double m_dTF;            // t of the standard parallel
};

#endif
