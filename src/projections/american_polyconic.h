// EPSG method 9818, American Polyconic: each parallel drawn as the arc of its own tangent
// cone. Internal to the library.
#ifndef GEOXFORM_AMERICAN_POLYCONIC_H
#define GEOXFORM_AMERICAN_POLYCONIC_H

#include "projections/origin_projection.h"

class CAmericanPolyconic : public COriginProjection {
public:
    using COriginProjection::COriginProjection;
    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;
};

#endif
