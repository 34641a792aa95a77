// EPSG method 9832, Modified Azimuthal Equidistant: distance and azimuth from the origin kept
// by a series in the arc length, for small areas. Internal to the library.
#ifndef GEOXFORM_MODIFIED_AZIMUTHAL_EQUIDISTANT_H
#define GEOXFORM_MODIFIED_AZIMUTHAL_EQUIDISTANT_H

#include "projections/origin_projection.h"

class CModifiedAzimuthalEquidistant : public COriginProjection {
public:
    CModifiedAzimuthalEquidistant(int nEllipsoid, double dLon0, double dLat0, double dFalseEasting,
                                  double dFalseNorthing);
    int Project(double dLongitude, double dLatitude, double& dX, double& dY) const override;
    int UnProject(double dX, double dY, double& dLongitude, double& dLatitude) const override;

    // Reads the members for the formulas of the member functions and the array kernels
    // (projections/array_kernels.h); defined beside them.
    struct View;

protected:
    double m_dNu0; // prime-vertical radius of curvature at the origin
    double m_dG;   // G = e sin phi0 / sqrt(1 - e^2)
};

#endif
