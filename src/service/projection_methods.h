// The supported projection methods and the parameter groups that sort EPSG parameter codes
// by their role in the formulas.
#ifndef GEOXFORM_PROJECTION_METHODS_H
#define GEOXFORM_PROJECTION_METHODS_H

#include <cstdint>

#include "geoxform/defs.h"

namespace gx {

// Parameter groups; each feeds at most one projection constructor argument and has the mask
// bit 1 << group in CS_PROJECTION::iMask.
enum ParameterGroup {
    kGroupNone = -1,
    kGroupOriginLongitude = 0,
    kGroupOriginLatitude,
    kGroupFirstParallel,
    kGroupSecondParallel,
    kGroupScaleFactor,
    kGroupFalseEasting,
    kGroupFalseNorthing,
    kGroupAzimuth,
    kGroupRectifiedGridAngle,
    kGroupZoneWidth,
    kNumParameterGroups
};

// The group of an EPSG parameter code, or kGroupNone for codes outside every group.
ParameterGroup ParameterGroupOf(int iParameterCode);

inline int32_t GroupMaskBit(ParameterGroup group) {
    return int32_t{1} << group;
}

} // namespace gx

// One supported projection method.
struct CS_PROJECTION {
    int32_t iNumber; // projection method number (KQCRSystem::iProjection)
    int32_t iMask;   // mask bits of the required parameter groups
    KQWCHAR szName[256];
    int32_t iCode; // EPSG coordinate operation method code
    int32_t iNumParams;
    int32_t aiParams[10]; // EPSG parameter codes the method lists
};

const int kNumProjectionMethodRows = 23;
// Row 0 is the empty method "None" (code -1); rows 1 to 22 are the supported methods.
extern const CS_PROJECTION csProjectionMethods[kNumProjectionMethodRows];

namespace gx {

// The first row of rows 1 to 22 with this EPSG method code, or null.
const CS_PROJECTION* FindProjectionMethod(int iMethodCode);

} // namespace gx

#endif
