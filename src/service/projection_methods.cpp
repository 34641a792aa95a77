// The registry rows. The builders are the only part that needs the projection classes.
#include "service/projection_methods.h"

#include <iterator>
#include <new>

#include "geoxform/albers_equal_area.h"
#include "geoxform/lambert_azimuthal_equal_area.h"
#include "geoxform/lambert_conic.h"
#include "geoxform/mercator.h"
#include "geoxform/oblique_mercator.h"
#include "geoxform/stereographic.h"
#include "geoxform/transverse_mercator.h"
#include "projections/american_polyconic.h"
#include "projections/bonne.h"
#include "projections/cassini_soldner.h"
#include "projections/modified_azimuthal_equidistant.h"
#include "projections/new_zealand_map_grid.h"

namespace gx {

namespace {

struct ParameterRow {
    int32_t iCode; // EPSG parameter code
    ParameterGroup group;
};

constexpr ParameterRow kParameters[] = {
    {8802, kGroupOriginLongitude},    // Longitude of natural origin
    {8812, kGroupOriginLongitude},    // Longitude of projection centre
    {8822, kGroupOriginLongitude},    // Longitude of false origin
    {8829, kGroupOriginLongitude},    // Spherical longitude of origin
    {8830, kGroupOriginLongitude},    // Initial longitude
    {8833, kGroupOriginLongitude},    // Longitude of origin
    {8801, kGroupOriginLatitude},     // Latitude of natural origin
    {8811, kGroupOriginLatitude},     // Latitude of projection centre
    {8821, kGroupOriginLatitude},     // Latitude of false origin
    {8828, kGroupOriginLatitude},     // Spherical latitude of origin
    {8818, kGroupFirstParallel},      // Latitude of pseudo standard parallel
    {8823, kGroupFirstParallel},      // Latitude of 1st standard parallel
    {8832, kGroupFirstParallel},      // Latitude of standard parallel
    {8824, kGroupSecondParallel},     // Latitude of 2nd standard parallel
    {8805, kGroupScaleFactor},        // Scale factor at natural origin
    {8815, kGroupScaleFactor},        // Scale factor on initial line
    {8819, kGroupScaleFactor},        // Scale factor on pseudo standard parallel
    {8806, kGroupFalseEasting},       // False easting
    {8816, kGroupFalseEasting},       // Easting at projection centre
    {8826, kGroupFalseEasting},       // Easting at false origin
    {8807, kGroupFalseNorthing},      // False northing
    {8817, kGroupFalseNorthing},      // Northing at projection centre
    {8827, kGroupFalseNorthing},      // Northing at false origin
    {8813, kGroupAzimuth},            // Azimuth of initial line
    {8814, kGroupRectifiedGridAngle}, // Angle from Rectified to Skew Grid
    {8831, kGroupZoneWidth},          // Zone width
};

constexpr ParameterGroup GroupOfCode(int iParameterCode) {
    for (const ParameterRow& row : kParameters)
        if (row.iCode == iParameterCode) return row.group;
    return kGroupNone;
}

// A constructor's arguments after the ellipsoid row, as groups: the groups the methods of the
// shape require, and the order in which Build hands their values to the class.
template <ParameterGroup... kArgs>
struct Shape {
    static constexpr int32_t kBits = Bits(kArgs...);
    template <class T>
    static CProjection* Build(int e, const GroupValues& g) {
        return new (std::nothrow) T(e, g[kArgs]...);
    }
};

using Origin = Shape<kGroupOriginLongitude, kGroupOriginLatitude>;
using OriginFalse =
    Shape<kGroupOriginLongitude, kGroupOriginLatitude, kGroupFalseEasting, kGroupFalseNorthing>;
using OriginScaleFalse = Shape<kGroupOriginLongitude, kGroupOriginLatitude, kGroupScaleFactor,
                               kGroupFalseEasting, kGroupFalseNorthing>;
using ParallelFalse =
    Shape<kGroupOriginLongitude, kGroupFirstParallel, kGroupFalseEasting, kGroupFalseNorthing>;
using TwoParallels = Shape<kGroupOriginLongitude, kGroupOriginLatitude, kGroupFirstParallel,
                           kGroupSecondParallel, kGroupFalseEasting, kGroupFalseNorthing>;
using Oblique =
    Shape<kGroupOriginLongitude, kGroupOriginLatitude, kGroupScaleFactor, kGroupFalseEasting,
          kGroupFalseNorthing, kGroupAzimuth, kGroupRectifiedGridAngle>;
using Zoned = Shape<kGroupOriginLongitude, kGroupOriginLatitude, kGroupScaleFactor,
                    kGroupFalseEasting, kGroupFalseNorthing, kGroupZoneWidth>;

// Mercator takes its variant before the parameters and no latitude of origin.
CProjection* Mercator1SP(int e, const GroupValues& g) {
    return new (std::nothrow) CMercator(e, 1, g[kGroupOriginLongitude], g[kGroupScaleFactor],
                                        g[kGroupFalseEasting], g[kGroupFalseNorthing]);
}

CProjection* Mercator2SP(int e, const GroupValues& g) {
    return new (std::nothrow) CMercator(e, 2, g[kGroupOriginLongitude], g[kGroupFirstParallel],
                                        g[kGroupFalseEasting], g[kGroupFalseNorthing]);
}

CProjection* PseudoPlateCarree(int, const GroupValues&) {
    return new (std::nothrow) CPseudoPlateCarree();
}

const bool kByCode = true;    // records select the method by its EPSG code
const bool kByNumber = false; // only by its number
const bool kEllipsoid = true; // built only for an existing ellipsoid row
const bool kNoEllipsoid = false;

// By method number. Numbers 23 to 25 are never assigned by validation: no system of the
// reference data uses them, and their EPSG codes only document what they are.
// clang-format off
constexpr MethodRow kMethods[] = {
    // number, EPSG code, name, groups, EPSG parameters, selection, ellipsoid, builder
    {1, 9804, KQ_T("Mercator (1SP)"), OriginScaleFalse::kBits, {8802, 8801, 8805, 8806, 8807},
        kByCode, kEllipsoid, Mercator1SP},
    {2, 9805, KQ_T("Mercator (2SP)"), ParallelFalse::kBits, {8802, 8823, 8806, 8807}, kByCode,
        kEllipsoid, Mercator2SP},
    {3, 9806, KQ_T("Cassini-Soldner"), OriginFalse::kBits, {8802, 8801, 8806, 8807}, kByCode,
        kEllipsoid, OriginFalse::Build<CCassiniSoldner>},
    {4, 9807, KQ_T("Transverse Mercator"), OriginScaleFalse::kBits, {8802, 8801, 8805, 8806, 8807},
        kByCode, kEllipsoid, OriginScaleFalse::Build<CTransverseMercator>},
    {5, 9815, KQ_T("Oblique Mercator"), Oblique::kBits, {8812, 8811, 8813, 8814, 8815, 8816, 8817},
        kByCode, kEllipsoid, Oblique::Build<CObliqueMercator>},
    {6, 9812, KQ_T("Hotine Oblique Mercator"), Oblique::kBits,
        {8812, 8811, 8813, 8815, 8806, 8807, 8814}, kByCode, kEllipsoid,
        Oblique::Build<CHotineObliqueMercator>},
    {7, 9801, KQ_T("Lambert Conic Conformal (1SP)"), OriginScaleFalse::kBits,
        {8802, 8801, 8805, 8806, 8807}, kByCode, kEllipsoid,
        OriginScaleFalse::Build<CLambertConicalSP1>},
    {8, 9802, KQ_T("Lambert Conic Conformal (2SP)"), TwoParallels::kBits,
        {8822, 8821, 8823, 8824, 8826, 8827}, kByCode, kEllipsoid,
        TwoParallels::Build<CLambertConicalSP2>},
    {9, 9803, KQ_T("Lambert Conic Conformal Modified Belgium (2SP)"), TwoParallels::kBits,
        {8822, 8821, 8823, 8824, 8826, 8827}, kByCode, kEllipsoid,
        TwoParallels::Build<CLambertConicalSP2Belgium>},
    {10, 9817, KQ_T("Lambert Conic Near Conformal"), OriginScaleFalse::kBits,
        {8802, 8801, 8805, 8806, 8807}, kByCode, kEllipsoid,
        OriginScaleFalse::Build<CLambertConicNearConformal>},
    {11, 9820, KQ_T("Lambert Azimuthal Equal Area"), OriginFalse::kBits, {8802, 8801, 8806, 8807},
        kByCode, kEllipsoid, OriginFalse::Build<CLambertAzimuthalEqualArea>},
    {12, 9809, KQ_T("Oblique Stereographic"), OriginScaleFalse::kBits,
        {8802, 8801, 8805, 8806, 8807}, kByCode, kEllipsoid,
        OriginScaleFalse::Build<CObliqueStereographic>},
    {13, 9810, KQ_T("Polar Stereographic (variant A)"), OriginScaleFalse::kBits,
        {8802, 8801, 8805, 8806, 8807}, kByCode, kEllipsoid,
        OriginScaleFalse::Build<CPolarStereographicA>},
    {14, 9829, KQ_T("Polar Stereographic (variant B)"), ParallelFalse::kBits,
        {8833, 8832, 8806, 8807}, kByCode, kEllipsoid, ParallelFalse::Build<CPolarStereographicB>},
    {15, 9830, KQ_T("Polar Stereographic (variant C)"), ParallelFalse::kBits,
        {8833, 8832, 8806, 8807}, kByCode, kEllipsoid, ParallelFalse::Build<CPolarStereographicC>},
    {16, 9822, KQ_T("Albers Equal Area"), TwoParallels::kBits, {8822, 8821, 8823, 8824, 8826, 8827},
        kByCode, kEllipsoid, TwoParallels::Build<CAlbersEqualArea>},
    {17, 9823, KQ_T("Equidistant Cylindrical"), Origin::kBits, {8802, 8801}, kByCode, kEllipsoid,
        Origin::Build<CEquidistantCylindrical>},
    {18, 9825, KQ_T("Pseudo Plate Carree"), Bits(), {}, kByCode, kNoEllipsoid, PseudoPlateCarree},
    {19, 9827, KQ_T("Bonne"), OriginFalse::kBits, {8802, 8801, 8806, 8807}, kByCode, kEllipsoid,
        OriginFalse::Build<CBonne>},
    {20, 9832, KQ_T("Modified Azimuthal Equidistant"), OriginFalse::kBits, {8802, 8801, 8806, 8807},
        kByCode, kEllipsoid, OriginFalse::Build<CModifiedAzimuthalEquidistant>},
    {21, 9811, KQ_T("New Zealand Map Grid"), OriginFalse::kBits, {8802, 8801, 8806, 8807}, kByCode,
        kEllipsoid, OriginFalse::Build<CNewZealandMapGrid>},
    {22, 9818, KQ_T("American Polyconic"), OriginFalse::kBits, {8802, 8801, 8806, 8807}, kByCode,
        kEllipsoid, OriginFalse::Build<CAmericanPolyconic>},
    {23, 9808, KQ_T("Transverse Mercator (South Orientated)"), OriginScaleFalse::kBits,
        {8802, 8801, 8805, 8806, 8807}, kByNumber, kEllipsoid,
        OriginScaleFalse::Build<CTransverseMercatorSouthOriented>},
    {24, 9828, KQ_T("Bonne (South Orientated)"), OriginFalse::kBits, {8802, 8801, 8806, 8807},
        kByNumber, kEllipsoid, OriginFalse::Build<CBonneSouth>},
    {25, 9824, KQ_T("Transverse Mercator Zoned Grid System"), Zoned::kBits,
        {8830, 8801, 8831, 8805, 8806, 8807}, kByNumber, kEllipsoid,
        Zoned::Build<CUniversalTransverseMercator>},
};
// clang-format on

const int kNumMethods = static_cast<int>(std::size(kMethods));

// Numbers 1, 2, 3 ... in order (MethodByNumber indexes by them); each method's groups are
// exactly those of the parameters it lists; no two methods selected by code share a code.
constexpr bool RowsAreConsistent() {
    for (int i = 0; i < kNumMethods; ++i) {
        const MethodRow& m = kMethods[i];
        int32_t listed = 0;
        for (int k = 0; k < m.NumParams(); ++k) {
            const ParameterGroup group = GroupOfCode(m.aiParams[k]);
            if (group == kGroupNone) return false;
            listed |= GroupMaskBit(group);
        }
        if (m.iNumber != i + 1 || listed != m.iGroups) return false;
        for (int k = 0; k < i; ++k)
            if (m.bByCode && kMethods[k].bByCode && kMethods[k].iCode == m.iCode) return false;
    }
    return true;
}
static_assert(RowsAreConsistent(), "projection method rows out of order or inconsistent");

} // namespace

ParameterGroup ParameterGroupOf(int iParameterCode) {
    return GroupOfCode(iParameterCode);
}

MethodList Methods() {
    return {std::begin(kMethods), std::end(kMethods)};
}

const MethodRow* MethodByNumber(int iNumber) {
    return iNumber >= 1 && iNumber <= kNumMethods ? &kMethods[iNumber - 1] : nullptr;
}

const MethodRow* MethodByCode(int iCode) {
    for (const MethodRow& m : kMethods)
        if (m.bByCode && m.iCode == iCode) return &m;
    return nullptr;
}

} // namespace gx
