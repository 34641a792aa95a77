// What a C++ host computes for the C interface's forward and inverse: an object in the
// system's own unit at scale 1, User2World then World2User, angles in degrees.
#ifndef GEOXFORM_CPP_CHAIN_H
#define GEOXFORM_CPP_CHAIN_H

#include "geoxform.h"

namespace chain {

const double kDegree = 3.14159265358979323846 / 180;

// The predefined system in its own unit (the length table row of its EPSG unit), or null.
inline CCoordSystem* Make(int code) {
    int units = -1;
    for (int i = 0; i < pdaEPSGSystem->GetCount(); ++i)
        if ((*pdaEPSGSystem)[i].iCode == code)
            for (int k = 0; units < 0 && k < iNumUnitsDefined; ++k)
                if (csKQCSLengthUnits[k].iEPSGCode == (*pdaEPSGSystem)[i].iUnitCode) units = k;
    KQCRSystem r{};
    r.iVersion = KQCRSYSTEM_VERSION;
    r.iSize = sizeof r;
    r.iUnits = units;
    r.dScale = 1;
    r.iSystemCode = code;
    CCoordSystem* p = CreateCoordSystem(units, 1);
    if (p != nullptr && p->SetParameters(&r) == 1) return p;
    DeleteCoordSystem(p);
    return nullptr;
}

inline void Forward(CCoordSystem& s, double lon, double lat, double& x, double& y) {
    double wx, wy;
    s.User2World(lon * kDegree, lat * kDegree, wx, wy, 1);
    s.World2User(wx, wy, x, y, 0);
}

inline void Inverse(CCoordSystem& s, double x, double y, double& lon, double& lat) {
    double wx, wy;
    s.User2World(x, y, wx, wy, 0);
    s.World2User(wx, wy, lon, lat, 1);
    lon /= kDegree;
    lat /= kDegree;
}

} // namespace chain

#endif
