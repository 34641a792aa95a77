// The common ground of the internal projections defined by a natural origin and false
// easting and northing. Internal to the library (built by the factory only, never exported).
#ifndef GEOXFORM_ORIGIN_PROJECTION_H
#define GEOXFORM_ORIGIN_PROJECTION_H

#include "geoxform/map_projection.h"

class COriginProjection : public CMapProjection {
public:
    COriginProjection(const COriginProjection&) = delete;
    COriginProjection& operator=(const COriginProjection&) = delete;

protected:
    COriginProjection(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                      double dFalseNorthing)
        : CMapProjection(nEllipsoid), m_dLon0(dLon0), m_dLat0(dLat0),
          m_dFalseEasting(dFalseEasting), m_dFalseNorthing(dFalseNorthing) {}

    double m_dLon0; // longitude of natural origin
    double m_dLat0; // latitude of natural origin
    double m_dFalseEasting;
    double m_dFalseNorthing;
};

#endif
