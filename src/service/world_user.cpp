// World coordinates (millimetres on the sheet) to user coordinates (plane coordinates in the
// user unit, or longitude and latitude in radians) and back: a scaling about a fixed point,
// the unit factor and, in geographic mode, the projection.
#include "service/world_user.h"

#include "geoxform/coordsystem.h"
#include "projections/geodesy.h"

int CCoordSystem::World2User(double dWorldX, double dWorldY, double& dUserX, double& dUserY,
                             int iMode) {
    const int mode = iMode == -1 ? m_CRSystem.iUnProject : iMode;
    const double realX = gx::RealFromWorld(dWorldX, m_dScale, m_dOffsetX);
    const double realY = gx::RealFromWorld(dWorldY, m_dScale, m_dOffsetY);
    if (mode == 1 && m_pProjection != nullptr) {
        m_pProjection->UnProject(gx::MetresFromReal(realX), gx::MetresFromReal(realY), dUserX,
                                 dUserY);
        dUserX = gx::LongitudeToGreenwich(dUserX, m_CRSystem.dPrimeMeridian);
        return 1;
    }
    dUserX = gx::UserFromReal(realX, m_dUnitsFac);
    dUserY = gx::UserFromReal(realY, m_dUnitsFac);
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
        const double lon = gx::LongitudeFromGreenwich(dUserX, m_CRSystem.dPrimeMeridian);
        double easting = 0, northing = 0;
        m_pProjection->Project(lon, dUserY, easting, northing);
        realX = gx::RealFromMetres(easting);
        realY = gx::RealFromMetres(northing);
    } else {
        if (mode == 1) {
            dUserX *= gx::kDegreesPerRadian;
            dUserY *= gx::kDegreesPerRadian;
        }
        realX = gx::RealFromUser(dUserX, m_dUnitsFac);
        realY = gx::RealFromUser(dUserY, m_dUnitsFac);
    }
    if (s == 0) { // a zero scale maps every world point onto the fixed point: return that
        dWorldX = m_dOffsetX;
        dWorldY = m_dOffsetY;
        return 1;
    }
    dWorldX = gx::WorldFromReal(realX, s, m_dOffsetX);
    dWorldY = gx::WorldFromReal(realY, s, m_dOffsetY);
    return 1;
}

double CCoordSystem::Scale2UserUnits(double dWorldLength) {
    return dWorldLength * m_dScale / m_dUnitsFac;
}
