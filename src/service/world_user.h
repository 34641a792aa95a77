// The arithmetic between world millimetres, user units and the projection's metres and
// radians, in one place for CCoordSystem's World2User and User2World and for the C
// interface's point arrays, so that both compute exactly the same.
#ifndef GEOXFORM_WORLD_USER_H
#define GEOXFORM_WORLD_USER_H

#include <cmath>

#include "projections/geodesy.h"

namespace gx {

// Prime meridians closer to Greenwich than this are Greenwich.
const double kPrimeMeridianTolerance = 1e-8;

// A longitude east of Greenwich as one east of the prime meridian p (radians), and back.
inline double LongitudeFromGreenwich(double dLongitude, double p) {
    return std::fabs(p) > kPrimeMeridianTolerance ? FoldLongitude(dLongitude - p) : dLongitude;
}
inline double LongitudeToGreenwich(double dLongitude, double p) {
    return std::fabs(p) > kPrimeMeridianTolerance ? FoldLongitude(dLongitude + p) : dLongitude;
}

// Real millimetres from world millimetres scaled by s about the fixed point, and back.
inline double RealFromWorld(double dWorld, double s, double dFixed) {
    return (1 - s) * dFixed + s * dWorld;
}
inline double WorldFromReal(double dReal, double s, double dFixed) {
    return (dReal + (s - 1) * dFixed) / s;
}

// Real millimetres from the projection's metres, and back.
inline double RealFromMetres(double dMetres) {
    return 1000 * dMetres;
}
inline double MetresFromReal(double dReal) {
    return dReal / 1000;
}

// User units from real millimetres for a unit of dUnitsFac millimetres, and back.
inline double UserFromReal(double dReal, double dUnitsFac) {
    return dReal / dUnitsFac;
}
inline double RealFromUser(double dUser, double dUnitsFac) {
    return dUser * dUnitsFac;
}

} // namespace gx

#endif
