// The ellipsoidal Hotine oblique Mercator in its two forms: grid coordinates counted from the
// natural origin (variant A) or from the projection centre (variant B).
#ifndef GEOXFORM_OBLIQUE_MERCATOR_H
#define GEOXFORM_OBLIQUE_MERCATOR_H

#include "geoxform/map_projection.h"

// EPSG method 9812, Hotine oblique Mercator (variant A): false easting and northing at the
// natural origin. Angles in radians.
class GEOXFORM_API CHotineObliqueMercator : public CMapProjection {
public:
    CHotineObliqueMercator(int nEllipsoid, double dLonC, double dLatC, double dKC,
                           double dFalseEasting, double dFalseNorthing, double dAlphaC,
                           double dGammaC);
    CHotineObliqueMercator(const CHotineObliqueMercator&) = default;
    CHotineObliqueMercator& operator=(const CHotineObliqueMercator&) = default;
    ~CHotineObliqueMercator() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLonC;          // longitude of projection centre
    double m_dLatC;          // latitude of projection centre
    double m_dKC;            // scale factor on the initial line
    double m_dAlphaC;        // azimuth of the initial line
    double m_dGammaC;        // angle from the rectified to the skew grid
    double m_dFalseEasting;  // false easting
    double m_dFalseNorthing; // false northing
    double m_dObliqueA;      // A = a B kc sqrt(1 - e^2) / (1 - e^2 sin^2 phic)
    double m_dObliqueB;      // B = sqrt(1 + e^2 cos^4 phic / (1 - e^2))
    double m_dGamma0;        // azimuth of the initial line at the natural origin
    double m_dLon0;          // longitude of the natural origin
    double m_dObliqueH;      // H = t0^B F
};

// EPSG method 9815, Hotine oblique Mercator (variant B): easting and northing at the
// projection centre. Angles in radians.
class GEOXFORM_API CObliqueMercator : public CMapProjection {
public:
    CObliqueMercator(int nEllipsoid, double dLonC, double dLatC, double dKC, double dEastingC,
                     double dNorthingC, double dAlphaC, double dGammaC);
    CObliqueMercator(const CObliqueMercator&) = default;
    CObliqueMercator& operator=(const CObliqueMercator&) = default;
    ~CObliqueMercator() override = default;

    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

protected:
    double m_dLonC;
    double m_dLatC;
    double m_dKC;
    double m_dAlphaC;
    double m_dGammaC;
    double m_dFalseEasting;  // easting at the projection centre
    double m_dFalseNorthing; // northing at the projection centre
    double m_dObliqueA;
    double m_dObliqueB;
    double m_dGamma0;
    double m_dLon0;
    double m_dObliqueH;
    double m_dUc; // u coordinate of the projection centre
};

#endif
