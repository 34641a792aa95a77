// What a C++ host computes for the C interface's forward and inverse: an object of the
// predefined system in the length table row of its unit at scale 1, User2World then
// World2User, angles in degrees.
#ifndef GEOXFORM_CPP_CHAIN_H
#define GEOXFORM_CPP_CHAIN_H

#include <memory>

#include "geoxform.h"

namespace chain {

const double kDegree = 3.14159265358979323846 / 180;
using Object = std::unique_ptr<CCoordSystem, decltype(&DeleteCoordSystem)>;

inline Object Make(int code, int units) {
    KQCRSystem r{};
    r.iVersion = KQCRSYSTEM_VERSION, r.iSize = sizeof r, r.iUnits = units, r.iSystemCode = code;
    r.dScale = 1;
    Object p(CreateCoordSystem(units, 1), DeleteCoordSystem);
    return Object(p && p->SetParameters(&r) == 1 ? p.release() : nullptr, DeleteCoordSystem);
}

inline void Forward(CCoordSystem& s, double lon, double lat, double& x, double& y) {
    s.User2World(lon * kDegree, lat * kDegree, x, y, 1);
    s.World2User(x, y, x, y, 0);
}

inline void Inverse(CCoordSystem& s, double x, double y, double& lon, double& lat) {
    s.User2World(x, y, lon, lat, 0);
    s.World2User(lon, lat, lon, lat, 1);
    lon /= kDegree, lat /= kDegree;
}

} // namespace chain

#endif
