// The projection factory: the one place that knows which class serves which projection method
// number and which parameter group feeds which constructor argument.
#include "service/projection_factory.h"

#include <new>

#include "geoxform/albers_equal_area.h"
#include "geoxform/lambert_azimuthal_equal_area.h"
#include "geoxform/lambert_conic.h"
#include "geoxform/mercator.h"
#include "geoxform/oblique_mercator.h"
#include "geoxform/refdata.h"
#include "geoxform/stereographic.h"
#include "geoxform/transverse_mercator.h"
#include "projections/american_polyconic.h"
#include "projections/bonne.h"
#include "projections/cassini_soldner.h"
#include "projections/modified_azimuthal_equidistant.h"
#include "projections/new_zealand_map_grid.h"
#include "service/parameter_slots.h"
#include "service/projection_methods.h"

namespace gx {

namespace {

const int kPseudoPlateCarree = 18;
const int kMaxMethodNumber = 25;

// The record's parameter values sorted into their groups; a later slot overwrites an earlier
// one of the same group. A group the record lacks gets 0, except the scale factor (1, so that
// the inverse never divides by zero) and the zone width (6 degrees, the UTM width).
struct GroupValues {
    double value[kNumParameterGroups];

    explicit GroupValues(const KQCRSystem& record) {
        for (double& v : value)
            v = 0;
        value[kGroupScaleFactor] = 1.0;
        value[kGroupZoneWidth] = 6 * 0.017453292519943295;
        const int n = UsedParameterSlots(record);
        for (int i = 0; i < n; ++i) {
            const ParameterGroup group = ParameterGroupOf(record.aiParameterCodes[i]);
            if (group != kGroupNone) value[group] = record.adParameterValues[i];
        }
    }
    double operator[](ParameterGroup group) const { return value[group]; }
};

// Constructs the class of a method number; null for numbers without a class.
CProjection* Construct(int number, int e, const GroupValues& g) {
    const double lon0 = g[kGroupOriginLongitude], lat0 = g[kGroupOriginLatitude];
    const double k0 = g[kGroupScaleFactor];
    const double fe = g[kGroupFalseEasting], fn = g[kGroupFalseNorthing];
    const double lat1 = g[kGroupFirstParallel], lat2 = g[kGroupSecondParallel];
    switch (number) {
    case 1:
        return new (std::nothrow) CMercator(e, 1, lon0, k0, fe, fn);
    case 2:
        return new (std::nothrow) CMercator(e, 2, lon0, lat1, fe, fn);
    case 3:
        return new (std::nothrow) CCassiniSoldner(e, lon0, lat0, fe, fn);
    case 4:
        return new (std::nothrow) CTransverseMercator(e, lon0, lat0, k0, fe, fn);
    case 5:
        return new (std::nothrow) CObliqueMercator(e, lon0, lat0, k0, fe, fn, g[kGroupAzimuth],
                                                   g[kGroupRectifiedGridAngle]);
    case 6:
        return new (std::nothrow) CHotineObliqueMercator(
            e, lon0, lat0, k0, fe, fn, g[kGroupAzimuth], g[kGroupRectifiedGridAngle]);
    case 7:
        return new (std::nothrow) CLambertConicalSP1(e, lon0, lat0, k0, fe, fn);
    case 8:
        return new (std::nothrow) CLambertConicalSP2(e, lon0, lat0, lat1, lat2, fe, fn);
    case 9:
        return new (std::nothrow) CLambertConicalSP2Belgium(e, lon0, lat0, lat1, lat2, fe, fn);
    case 10:
        return new (std::nothrow) CLambertConicNearConformal(e, lon0, lat0, k0, fe, fn);
    case 11:
        return new (std::nothrow) CLambertAzimuthalEqualArea(e, lon0, lat0, fe, fn);
    case 12:
        return new (std::nothrow) CObliqueStereographic(e, lon0, lat0, k0, fe, fn);
    case 13:
        return new (std::nothrow) CPolarStereographicA(e, lon0, lat0, k0, fe, fn);
    case 14:
        return new (std::nothrow) CPolarStereographicB(e, lon0, g[kGroupFirstParallel], fe, fn);
    case 15:
        return new (std::nothrow) CPolarStereographicC(e, lon0, g[kGroupFirstParallel], fe, fn);
    case 16:
        return new (std::nothrow) CAlbersEqualArea(e, lon0, lat0, lat1, lat2, fe, fn);
    case 17:
        return new (std::nothrow) CEquidistantCylindrical(e, lon0, lat0);
    case 18:
        return new (std::nothrow) CPseudoPlateCarree();
    case 19:
        return new (std::nothrow) CBonne(e, lon0, lat0, fe, fn);
    case 20:
        return new (std::nothrow) CModifiedAzimuthalEquidistant(e, lon0, lat0, fe, fn);
    case 21:
        return new (std::nothrow) CNewZealandMapGrid(e, lon0, lat0, fe, fn);
    case 22:
        return new (std::nothrow) CAmericanPolyconic(e, lon0, lat0, fe, fn);
    case 23:
        return new (std::nothrow) CTransverseMercatorSouthOriented(e, lon0, lat0, k0, fe, fn);
    case 24:
        return new (std::nothrow) CBonneSouth(e, lon0, lat0, fe, fn);
    case 25:
        return new (std::nothrow)
            CUniversalTransverseMercator(e, lon0, lat0, k0, fe, fn, g[kGroupZoneWidth]);
    default:
        return nullptr;
    }
}

} // namespace

CProjection* CreateProjection(const KQCRSystem* pRecord) {
    if (pRecord == nullptr) return nullptr;
    ReadEPSGData(nullptr);
    const int number = pRecord->iProjection;
    if (number < 0 || number > kMaxMethodNumber) return nullptr;
    // Outside InitEPSGDataBase .. FreeEPSGDataBase there is no ellipsoid array, so only the
    // method that needs no ellipsoid can be built.
    const int nEllipsoids = pdaEPSGEllipsoid != nullptr ? pdaEPSGEllipsoid->GetCount() : 0;
    const int e = pRecord->iEllipsoidIndex;
    if ((e < 0 || e >= nEllipsoids) && number != kPseudoPlateCarree) return nullptr;
    const GroupValues groups(*pRecord);
    if (number == 0) return nullptr;
    return Construct(number, e, groups);
}

} // namespace gx
