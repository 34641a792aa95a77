// EPSG method 9811, New Zealand Map Grid: a latitude series followed by a complex polynomial.
// The coefficients are those of the grid's definition whatever the ellipsoid; only its
// semi-major axis is read. Internal to the library.
#ifndef GEOXFORM_NEW_ZEALAND_MAP_GRID_H
#define GEOXFORM_NEW_ZEALAND_MAP_GRID_H

#include "projections/origin_projection.h"

class CNewZealandMapGrid : public COriginProjection {
public:
    using COriginProjection::COriginProjection;
    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

    // Reads the members for the formulas of the member functions and the array kernels
    // (projections/array_kernels.h); defined beside them.
    struct View;
};

#endif
