// The common ground of the internal projections defined by a natural origin and a false
// easting and northing. Internal to the library (built by the factory only, never exported).
#ifndef GEOXFORM_ORIGIN_PROJECTION_H
#define GEOXFORM_ORIGIN_PROJECTION_H

#include "geoxform/map_projection.h"

// Angles in radians.
class COriginProjection : public CMapProjection {
public:
    COriginProjection(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                      double dFalseNorthing)
        : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0),
          m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing),
          m_dM0(dLat0 == 0 ? 0 : MDist(dLat0)) {}
    COriginProjection(const COriginProjection&) = delete;
    COriginProjection& operator=(const COriginProjection&) = delete;

protected:
    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
    double m_dM0; // meridian arc of the latitude of origin; exactly 0 when it is 0
};

#endif
