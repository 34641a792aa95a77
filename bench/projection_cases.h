// The projection cases measured beside PROJ: a predefined system of the shipped data (or a
// hand-made record on its ellipsoid) per method, the area its points spread over, and the
// PROJ definitions of the same projection.
#ifndef GEOXFORM_PROJECTION_CASES_H
#define GEOXFORM_PROJECTION_CASES_H

#include <memory>
#include <string>
#include <vector>

#include "geoxform.h"

namespace bench {

struct Case {
    const char* name;
    int code;                        // EPSG code of the predefined system
    double west, south, east, north; // point area in degrees
    std::vector<std::string> proj;   // PROJ definitions to compare with
};

// Every projection method measured.
const std::vector<Case>& Cases();

struct Points {
    std::vector<double> lon, lat, x, y;
};

// A fixed pseudo-random spread of n points over the case's area (the same for every library),
// in radians, with their projected coordinates.
Points MakePoints(const Case& c, const CProjection& projection, int n);

// True for a case whose method has no predefined system: a hand-made record of that method on
// the ellipsoid of the case's system.
bool IsHandMade(const Case& c);

// The case's validated record (with the hand-made method and parameters where the case has
// them); false when the system does not validate.
bool BuildRecord(const Case& c, KQCRSystem& record);

// The case's projection built the way the library builds it: a validated record through the
// projection factory. Null when it does not build.
std::shared_ptr<CProjection> BuildProjection(const Case& c);

} // namespace bench

#endif
