// World coordinates (millimetres on the sheet) to user coordinates (plane coordinates in the
// user unit, or longitude and latitude in radians) and back: a scaling about a fixed point,
// the unit factor and, in geographic mode, the projection.
#include <cmath>

#include "geoxform/coordsystem.h"
#include "projections/geodesy.h"

namespace {

// Prime meridians closer to Greenwich than this are Greenwich.
const double kPrimeMeridianTolerance = 1e-8;

} // namespace

int CCoordSystem::World2User(double dWorldX, double dWorldY, double& dUserX, double& dUserY,
                             int iMode) {
    const int mode = iMode == -1 ? m_CRSystem.iUnProject : iMode;
    const double s = m_dScale;
    const double realX = (1 - s) * m_dOffsetX + s * dWorldX;
    const double realY = (1 - s) * m_dOffsetY + s * dWorldY;
    if (mode == 1 && m_pProjection != nullptr) {
        m_pProjection->UnProject(realX / 1000, realY / 1000, dUserX, dUserY);
        const double p = m_CRSystem.dPrimeMeridian;
        if (std::fabs(p) > kPrimeMeridianTolerance) dUserX = gx::FoldLongitude(dUserX + p);
        return 1;
    }
    dUserX = realX / m_dUnitsFac;
    dUserY = realY / m_dUnitsFac;
    if (mode == 1) { // no projection: the user unit is taken to be the degree
        dUserX *= gx::kDegree;
        dUserY *= gx::kDegree;
    }
    return 1;
}

int CCoordSystem::User2World(double dUserX, double dUserY, double& dWorldX, double& dWorldY,
                             int iMode) {
    const int mode = iMode == -1 ? m_CRSystem.iUnProject : iMode;
    const double s = m_dScale;
    double realX, realY; // real millimetres
    if (mode == 1 && m_pProjection != nullptr) {
        const double p = m_CRSystem.dPrimeMeridian;
        const double lon =
            std::fabs(p) > kPrimeMeridianTolerance ? gx::FoldLongitude(dUserX - p) : dUserX;
        double easting = 0, northing = 0;
        m_pProjection->Project(lon, dUserY, easting, northing);
        realX = 1000 * easting;
        realY = 1000 * northing;
    } else {
        if (mode == 1) {
            dUserX *= gx::kDegreesPerRadian;
            dUserY *= gx::kDegreesPerRadian;
        }
        realX = dUserX * m_dUnitsFac;
        realY = dUserY * m_dUnitsFac;
    }
    if (s == 0) { // a zero scale maps every world point onto the fixed point: return that
        dWorldX = m_dOffsetX;
        dWorldY = m_dOffsetY;
        return 1;
    }
    dWorldX = (realX + (s - 1) * m_dOffsetX) / s;
    dWorldY = (realY + (s - 1) * m_dOffsetY) / s;
    return 1;
}

double CCoordSystem::Scale2UserUnits(double dWorldLength) {
    return dWorldLength * m_dScale / m_dUnitsFac;
}
