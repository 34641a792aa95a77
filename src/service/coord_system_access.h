// The coordinate system object's one friend: creation and deletion for CreateCoordSystem and
// DeleteCoordSystem, and read access to the members the C interface's point arrays use.
#ifndef GEOXFORM_COORD_SYSTEM_ACCESS_H
#define GEOXFORM_COORD_SYSTEM_ACCESS_H

#include <new>

#include "geoxform/coordsystem.h"

struct CCoordSystemLifetime {
    static CCoordSystem* Create(int iUnits, double dScale) {
        return new (std::nothrow) CCoordSystem(iUnits, dScale);
    }
    static void Delete(CCoordSystem* pSystem) { delete pSystem; }

    // The projection the object owns (null without one), valid until its next SetParameters.
    static const CProjection* Projection(const CCoordSystem& system) {
        return system.m_pProjection;
    }
    // Millimetres per user unit.
    static double UnitsFactor(const CCoordSystem& system) { return system.m_dUnitsFac; }
    static const KQCRSystem& Record(const CCoordSystem& system) { return system.m_CRSystem; }
};

#endif
