// The projection factory: the record's parameter values sorted into their groups, handed to
// the builder of the record's method in the registry.
#include "service/projection_factory.h"

#include "geoxform/refdata.h"
#include "projections/geodesy.h"
#include "service/parameter_slots.h"
#include "service/projection_methods.h"

namespace gx {

namespace {

// A later slot overwrites an earlier one of the same group. A group the record lacks gets 0,
// except the scale factor (1, so that the inverse never divides by zero) and the zone width
// (6 degrees, the UTM width).
GroupValues GroupValuesOf(const KQCRSystem& record) {
    GroupValues values{};
    values.value[kGroupScaleFactor] = 1.0;
    values.value[kGroupZoneWidth] = 6 * kDegree;
    const int n = UsedParameterSlots(record);
    for (int i = 0; i < n; ++i) {
        const ParameterGroup group = ParameterGroupOf(record.aiParameterCodes[i]);
        if (group != kGroupNone) values.value[group] = record.adParameterValues[i];
    }
    return values;
}

} // namespace

CProjection* CreateProjection(const KQCRSystem* pRecord) {
    if (pRecord == nullptr) return nullptr;
    ReadEPSGData(nullptr);
    const MethodRow* pMethod = MethodByNumber(pRecord->iProjection);
    if (pMethod == nullptr) return nullptr;
    // Outside InitEPSGDataBase .. FreeEPSGDataBase there is no ellipsoid array, so only a
    // method that needs no ellipsoid can be built.
    const int nEllipsoids = pdaEPSGEllipsoid != nullptr ? pdaEPSGEllipsoid->GetCount() : 0;
    const int e = pRecord->iEllipsoidIndex;
    if ((e < 0 || e >= nEllipsoids) && pMethod->bNeedsEllipsoid) return nullptr;
    return pMethod->build(e, GroupValuesOf(*pRecord));
}

} // namespace gx
