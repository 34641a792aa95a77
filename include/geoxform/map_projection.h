// The ellipsoid base of every projection: the ellipsoid's constants and series, derived once
// at construction, and the routines the projections share.
#ifndef GEOXFORM_MAP_PROJECTION_H
#define GEOXFORM_MAP_PROJECTION_H

#include <cstdint>

#include "geoxform/defs.h"
#include "geoxform/projection.h"

class GEOXFORM_API CMapProjection : public CProjection {
public:
    // The ellipsoid is the row of pdaEPSGEllipsoid at this index.
    explicit CMapProjection(int nEllipsoid);
    CMapProjection(const CMapProjection&) = default;
    CMapProjection& operator=(const CMapProjection&) = default;
    ~CMapProjection() override = default;

    // Distance in metres between two points on the ellipsoid by Vincenty's inverse formula;
    // 0 for coincident points and when the iteration does not converge (nearly antipodal).
    double GeodesicDistance(double dLon1, double dLat1, double dLon2, double dLat2) const override;

protected:
    // Latitude folded towards [-pi/2, pi/2] and longitude folded into [-pi, pi].
    double SavePhi(double dPhi) const;
    double SaveLambda(double dLambda) const;
    int IsSphere() const { return m_bSphere; }
    // Radii of curvature in the meridian and the prime vertical, from sin(phi).
    double Rho(double dSinPhi) const;
    double Theta(double dSinPhi) const;
    // Geodetic latitude of a conformal latitude.
    double MeridianPhi(double dChi) const;
    // Meridian arc from the equator to phi, and its inverse for mu = m / (a * d0).
    double MDist(double dPhi) const;
    double MDistInv(double dMu, double dArc) const;

    int32_t m_nEllipsoid;
    double m_dA;             // semi-major axis a
    double m_dB;             // semi-minor axis b
    double m_dE;             // first eccentricity e
    double m_dE2;            // e^2 = 2f - f^2
    double m_dE4;            // e^4
    double m_dEp;            // second eccentricity e'
    double m_dEp2;           // e'^2 = e^2 / (1 - e^2)
    double m_dF;             // flattening f
    double m_adConfLat[10];  // c0..c3: conformal to geodetic latitude, polynomial in cos 2chi
    double m_adMDist[10];    // d0..d7: meridian arc, d0 * phi + sin 2phi * poly(cos 2phi)
    double m_adMDistInv[10]; // g0..g6: footpoint latitude, polynomial in cos 2mu
    int32_t m_bSphere;       // 1 when b equals a
};

#endif
