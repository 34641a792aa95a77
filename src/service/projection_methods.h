// The registry of projection methods: one row per projection method number with its EPSG
// method code, name, required parameter groups, listed EPSG parameter codes and the builder of
// its projection object; and the parameter groups that sort EPSG parameter codes by their role
// in the formulas. Validation, the data file loader and the factory all read the methods from
// here. The rows are constant-initialised, so a static initialiser anywhere may read them.
// This header pulls in no projection class.
#ifndef GEOXFORM_PROJECTION_METHODS_H
#define GEOXFORM_PROJECTION_METHODS_H

#include <cstdint>

#include "geoxform/defs.h"

class CProjection;

namespace gx {

// Parameter groups; each feeds at most one projection constructor argument and has the mask
// bit 1 << group in MethodRow::iGroups.
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

constexpr int32_t GroupMaskBit(ParameterGroup group) {
    return int32_t{1} << group;
}

// The mask of the named groups.
template <class... Groups>
constexpr int32_t Bits(Groups... groups) {
    return (int32_t{0} | ... | GroupMaskBit(groups));
}

// A record's parameter values by group, as the factory hands them to a builder.
struct GroupValues {
    double value[kNumParameterGroups];
    double operator[](ParameterGroup group) const { return value[group]; }
};

// A new projection object for an ellipsoid row and the group values, owned by the caller;
// null when memory is short.
using ProjectionBuilder = CProjection* (*)(int iEllipsoid, const GroupValues& groups);

const int kMaxMethodParams = 7;

struct MethodRow {
    int32_t iNumber;                    // projection method number, KQCRSystem::iProjection
    int32_t iCode;                      // EPSG coordinate operation method code
    const KQWCHAR* pszName;             // as validation writes it into KQCRSystem::szMethodName
    int32_t iGroups;                    // the parameter groups a record of the method must give
    int32_t aiParams[kMaxMethodParams]; // the EPSG parameter codes it lists; 0 after the last
    bool bByCode;         // records select it by its EPSG code (validation, the data loader)
    bool bNeedsEllipsoid; // the factory builds it only for an existing ellipsoid row
    ProjectionBuilder build;

    constexpr int NumParams() const {
        int n = 0;
        while (n < kMaxMethodParams && aiParams[n] != 0)
            ++n;
        return n;
    }
};

struct MethodList {
    const MethodRow* pBegin;
    const MethodRow* pEnd;
    const MethodRow* begin() const { return pBegin; }
    const MethodRow* end() const { return pEnd; }
};

// Every method, by number from 1 up; the numbers have no gaps.
MethodList Methods();

// The method with this number, or null (0, negative and unknown numbers).
const MethodRow* MethodByNumber(int iNumber);

// The method that records select by this EPSG method code, or null; methods selected by
// number only are not found.
const MethodRow* MethodByCode(int iCode);

} // namespace gx

#endif
