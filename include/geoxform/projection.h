// The projection interface: forward and inverse projection and the ellipsoidal distance.
#ifndef GEOXFORM_PROJECTION_H
#define GEOXFORM_PROJECTION_H

#include "geoxform/defs.h"

// Angles in radians (longitude before latitude), lengths in metres. Project and UnProject
// return 1 for every input; a point a projection cannot represent yields whatever its
// formulas give. Projection objects are immutable after construction and may be shared
// between threads.
class GEOXFORM_API CProjection {
public:
    CProjection() = default;
    CProjection(const CProjection&) = default;
    CProjection& operator=(const CProjection&) = default;

    virtual int Project(double dLongitude, double dLatitude, double& dX, double& dY) const = 0;
    virtual int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const = 0;
    virtual double GeodesicDistance(double dLon1, double dLat1, double dLon2,
                                    double dLat2) const = 0;
    // The destructor takes the fourth slot, after the three operations, so that an owner
    // holding the interface pointer deletes the whole object.
    virtual ~CProjection() = default;
};

#endif
