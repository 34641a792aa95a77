// Validation and completion of a coordinate reference system record against the reference
// data: predefined systems by code, user-defined ones by datum, ellipsoid and prime meridian,
// registration of unknown user ellipsoids, and recognition of user-defined systems that equal
// a predefined one.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "geoxform/crsystem.h"
#include "geoxform/refdata.h"
#include "platform/wide_string.h"
#include "refdata/reference_lookup.h"
#include "refdata/unit_tables.h"
#include "service/parameter_slots.h"
#include "service/projection_methods.h"

namespace {

enum Result {
    kValid = 0,
    kNoSystem = 1,
    kBadMethod = 2,
    kNoParameters = 3,
    kBadDatum = 4,
    kBadEllipsoid = 5,
    kBadParameters = 6,
    kBadUnits = 7,
    kOldVersion = 8
};

const int kFirstMethodCode = 9800;
const int kFirstUserEllipsoidCode = 32767; // user ellipsoids are numbered above this
const double kParameterTolerance = 1e-6;

// x is close to y when |x - y|, relative to y unless y is 0, is below 1e-10.
bool IsClose(double x, double y) {
    const double d = std::fabs(x - y);
    return (y != 0 ? d / std::fabs(y) : d) < 1e-10;
}

void ClearName(KQWCHAR* psz) {
    psz[0] = 0;
}

// Step: a predefined system's row and its parameters into the record.
int CompletePredefinedSystem(KQCRSystem& r) {
    if (pdaEPSGSystem->GetCount() == 0) return kNoSystem;
    const int row = gx::FindByCode(pdaEPSGSystem, r.iSystemCode);
    if (row < 0) return kNoSystem;
    const EPSGSystem& system = (*pdaEPSGSystem)[row];
    gx::KqCopy(r.szSystemName, system.szName);
    r.iAuxCode1 = system.iAuxCode1;
    r.iAuxCode2 = system.iAuxCode2;
    gx::KqCopy(r.szAuxName, system.szAuxName);
    r.iOperationCode = system.iOperationCode;
    r.iMethodCode = system.iMethodCode;
    r.iDatumCode = system.iDatumCode;
    r.iEllipsoidCode = system.iEllipsoidCode;
    r.iSystemIndex = row;

    r.iNumParameters = 0;
    const gx::ParameterRun run = gx::FindParameterRun(r.iOperationCode);
    if (run.nCount == 0) return kNoParameters;
    // The record holds 14 slots: rows of a longer run beyond the 14th are left out.
    const int n = run.nCount < gx::kMaxParameters ? run.nCount : gx::kMaxParameters;
    for (int k = 0; k < n; ++k) {
        const EPSGParams& param = (*pdaEPSGParams)[run.iFirst + k];
        r.aiParameterCodes[k] = param.iParameterCode;
        r.adParameterValues[k] = param.dParameterValue;
    }
    r.iNumParameters = n;
    return kValid;
}

// Step: a new ellipsoid row for the record's own a, b and 1/f.
int RegisterUserEllipsoid(KQCRSystem& r) {
    double& a = r.dSemiMajorAxis;
    double& b = r.dSemiMinorAxis;
    double& invf = r.dInverseFlattening;
    if (b > a) return kBadEllipsoid;
    if (b <= 1 && invf <= 0) return kBadEllipsoid;
    int maxCode = kFirstUserEllipsoidCode;
    const int n = pdaEPSGEllipsoid->GetCount();
    for (int i = 0; i < n; ++i)
        if ((*pdaEPSGEllipsoid)[i].iCode > maxCode) maxCode = (*pdaEPSGEllipsoid)[i].iCode;
    // m + 1 would overflow after a row with the largest code: the new row then takes the
    // smallest code above the user range that no row carries (rows are far fewer than codes).
    int code = maxCode < INT32_MAX ? maxCode + 1 : kFirstUserEllipsoidCode + 1;
    while (gx::FindByCode(pdaEPSGEllipsoid, code) >= 0)
        ++code;
    // A sphere (a equal to b) keeps 1/f = 0, as the reference data writes spheres, instead of
    // the infinite a / (a - b).
    if (invf <= 0 && a != b) invf = a / (a - b);
    if (b <= 1) b = a - a / invf;
    EPSGEllipsoid* pRow = pdaEPSGEllipsoid->TryGetAt(n);
    if (pRow == nullptr) return kBadEllipsoid; // no memory for the row: no usable ellipsoid
    *pRow = EPSGEllipsoid{};
    pRow->iCode = code;
    gx::KqCopy(pRow->szName, r.szEllipsoidName);
    if (pRow->szName[0] == 0) gx::KqFromAscii(pRow->szName, 100, "User Defined");
    pRow->dSemiMajorAxis = a;
    pRow->dInverseFlattening = invf;
    pRow->dSemiMinorAxis = b;
    r.iEllipsoidCode = code;
    return kValid;
}

// Step: a user-defined system's datum or ellipsoid. Returns kValid to go on to the method.
int CompleteUserDefinedSystem(KQCRSystem& r) {
    r.iSystemCode = r.iAuxCode1 = r.iAuxCode2 = r.iOperationCode = -1;
    ClearName(r.szSystemName);
    ClearName(r.szAuxName);
    if (r.iMethodCode < 1) {
        r.iDatumCode = r.iMethodCode = r.iEllipsoidCode = -1;
        ClearName(r.szDatumName);
        ClearName(r.szMethodName);
        ClearName(r.szEllipsoidName);
        return kValid;
    }
    if (r.iMethodCode < kFirstMethodCode) return kBadMethod;
    if (r.iDatumCode > 0) {
        r.iEllipsoidCode = -1;
        const int datum = gx::FindByCode(pdaEPSGDatum, r.iDatumCode);
        if (datum >= 0) r.iEllipsoidCode = (*pdaEPSGDatum)[datum].iEllipsoidCode;
        return r.iEllipsoidCode == -1 ? kBadDatum : kValid;
    }
    r.iDatumCode = -1;
    if (r.iEllipsoidCode > 0 && gx::FindByCode(pdaEPSGEllipsoid, r.iEllipsoidCode) < 0)
        r.iEllipsoidCode = -1;
    if (r.iEllipsoidCode > 0) return kValid;

    r.iEllipsoidCode = -1;
    const double a = r.dSemiMajorAxis;
    if (r.dInverseFlattening == 0) {
        if (std::fabs(a - r.dSemiMinorAxis) > 1e-6)
            r.dInverseFlattening = a / (a - r.dSemiMinorAxis);
    } else if (r.dSemiMinorAxis == 0) {
        r.dSemiMinorAxis = a * (1 - 1 / r.dInverseFlattening);
    }
    const int n = pdaEPSGEllipsoid->GetCount();
    for (int i = 0; i < n; ++i) {
        const EPSGEllipsoid& e = (*pdaEPSGEllipsoid)[i];
        if (IsClose(a, e.dSemiMajorAxis) && IsClose(r.dSemiMinorAxis, e.dSemiMinorAxis) &&
            IsClose(r.dInverseFlattening, e.dInverseFlattening)) {
            r.iEllipsoidCode = e.iCode;
            return kValid;
        }
    }
    return RegisterUserEllipsoid(r);
}

// Step: datum name, prime meridian and the datum's ellipsoid.
void CompleteDatum(KQCRSystem& r) {
    if (r.iDatumCode < 1) {
        r.dPrimeMeridian = 0;
        r.iPrimeMeridianCode = -1;
        ClearName(r.szDatumName);
        ClearName(r.szPrimeMeridianName);
        r.iPrimeMeridianIndex = -1;
        return;
    }
    const int datum = gx::FindByCode(pdaEPSGDatum, r.iDatumCode);
    if (datum < 0) return; // datum and prime meridian fields stay as they are
    const EPSGDatum& row = (*pdaEPSGDatum)[datum];
    gx::KqCopy(r.szDatumName, row.szName);
    r.iPrimeMeridianCode = row.iPrimeMeridianCode;
    r.iEllipsoidCode = row.iEllipsoidCode; // the datum's ellipsoid takes precedence
    r.dPrimeMeridian = 0;
    ClearName(r.szPrimeMeridianName);
    r.iPrimeMeridianIndex = -1;
    const int meridian = gx::FindByCode(pdaEPSGPrimeMeridian, r.iPrimeMeridianCode);
    if (meridian >= 0) {
        const EPSGPrimeMeridian& pm = (*pdaEPSGPrimeMeridian)[meridian];
        gx::KqCopy(r.szPrimeMeridianName, pm.szName);
        r.dPrimeMeridian = pm.dLongitude;
        r.iPrimeMeridianIndex = meridian;
    }
    r.iDatumIndex = datum;
}

// Step: the ellipsoid row into the record.
int CompleteEllipsoid(KQCRSystem& r) {
    if (r.iEllipsoidCode > 0) {
        const int row = gx::FindByCode(pdaEPSGEllipsoid, r.iEllipsoidCode);
        if (row < 0) return kBadEllipsoid;
        const EPSGEllipsoid& e = (*pdaEPSGEllipsoid)[row];
        gx::KqCopy(r.szEllipsoidName, e.szName);
        r.dSemiMajorAxis = e.dSemiMajorAxis;
        r.dSemiMinorAxis = e.dSemiMinorAxis;
        r.dInverseFlattening = e.dInverseFlattening;
        r.iEllipsoidIndex = row;
    }
    return r.iEllipsoidIndex == -1 ? kBadEllipsoid : kValid;
}

// Step: each required parameter group once. Every group code flips its bit; once the mask has
// reached 0 the rest is not looked at.
bool HasRequiredParameters(const KQCRSystem& r, int32_t mask) {
    const int n = gx::UsedParameterSlots(r);
    for (int i = 0; i < n && mask != 0; ++i) {
        const gx::ParameterGroup group = gx::ParameterGroupOf(r.aiParameterCodes[i]);
        if (group != gx::kGroupNone) mask ^= gx::GroupMaskBit(group);
    }
    return mask == 0;
}

// Pairs (record parameter, row parameter) with equal codes and values closer than 1e-6; with
// bSwapParallels the first and second standard parallels also pair with each other.
int CountMatchingPairs(const KQCRSystem& r, const gx::ParameterRun& run, bool bSwapParallels) {
    int count = 0;
    const int n = gx::UsedParameterSlots(r);
    for (int i = 0; i < n; ++i) {
        const int code = r.aiParameterCodes[i];
        for (int k = 0; k < run.nCount; ++k) {
            const EPSGParams& p = (*pdaEPSGParams)[run.iFirst + k];
            const bool bSameCode = p.iParameterCode == code ||
                                   (bSwapParallels && ((code == 8823 && p.iParameterCode == 8824) ||
                                                       (code == 8824 && p.iParameterCode == 8823)));
            if (bSameCode &&
                std::fabs(r.adParameterValues[i] - p.dParameterValue) < kParameterTolerance)
                ++count;
        }
    }
    return count;
}

bool ParametersMatch(const KQCRSystem& r, const gx::ParameterRun& run) {
    if (run.nCount != r.iNumParameters) return false;
    const int count = CountMatchingPairs(r, run, false);
    if (count == r.iNumParameters) return true;
    // Methods with two standard parallels: they may be given in either order.
    const gx::MethodRow* pMethod = gx::MethodByCode(r.iMethodCode);
    const bool bTwoParallels =
        pMethod != nullptr && (pMethod->iGroups & gx::GroupMaskBit(gx::kGroupSecondParallel)) != 0;
    return bTwoParallels && count == r.iNumParameters - 2 &&
           CountMatchingPairs(r, run, true) == r.iNumParameters;
}

// Step: a user-defined system that equals a predefined one takes its code and names.
void RecognisePredefinedSystem(KQCRSystem& r) {
    const CS_UNITS* pUnit = gx::LengthUnitRow(r.iUnits);
    if (pUnit == nullptr) return; // units outside the table match no row
    const int n = pdaEPSGSystem->GetCount();
    for (int i = 0; i < n; ++i) {
        const EPSGSystem& s = (*pdaEPSGSystem)[i];
        if (s.iMethodCode != r.iMethodCode || s.iEllipsoidCode != r.iEllipsoidCode ||
            s.iDatumCode != r.iDatumCode || s.iUnitCode != pUnit->iEPSGCode)
            continue;
        if (!ParametersMatch(r, gx::FindParameterRun(s.iOperationCode))) continue;
        r.iSystemCode = s.iCode;
        gx::KqCopy(r.szSystemName, s.szName);
        r.iAuxCode1 = s.iAuxCode1;
        r.iAuxCode2 = s.iAuxCode2;
        gx::KqCopy(r.szAuxName, s.szAuxName);
        r.iOperationCode = s.iOperationCode;
        r.iSystemIndex = i;
        return;
    }
}

// Step: the projected part (method, datum, ellipsoid, parameters, recognition).
int CompleteProjection(KQCRSystem& r) {
    const gx::MethodRow* pMethod = gx::MethodByCode(r.iMethodCode);
    if (pMethod == nullptr) return kBadMethod;
    gx::KqCopy(r.szMethodName, pMethod->pszName);
    r.iProjection = pMethod->iNumber;
    CompleteDatum(r);
    const int ellipsoid = CompleteEllipsoid(r);
    if (ellipsoid != kValid) return ellipsoid;
    if (!HasRequiredParameters(r, pMethod->iGroups)) return kBadParameters;
    if (r.iSystemCode < 1 && r.iDatumCode >= 1) RecognisePredefinedSystem(r);
    return kValid;
}

} // namespace

int ValidateCRSystem(KQCRSystem* pRecord) {
    if (pRecord == nullptr || pdaEPSGSystem == nullptr) return kNoSystem;
    ReadEPSGData(nullptr);
    KQCRSystem& r = *pRecord;
    if (r.iVersion < 0x200) return kOldVersion;
    r.iSystemIndex = r.iDatumIndex = r.iPrimeMeridianIndex = r.iEllipsoidIndex = -1;
    r.iProjection = -1;

    const int system =
        r.iSystemCode >= 1 ? CompletePredefinedSystem(r) : CompleteUserDefinedSystem(r);
    if (system != kValid) return system;
    if (r.iMethodCode >= 0) {
        const int projection = CompleteProjection(r);
        if (projection != kValid) return projection;
    }
    // A scale below 1e-9 fails, and so does one that is not finite (NaN would pass the bound).
    if (!(r.dScale >= 1e-9) || std::isinf(r.dScale)) return kBadParameters;
    const CS_UNITS* pUnit = gx::LengthUnitRow(r.iUnits);
    if (pUnit == nullptr) return kBadUnits;
    gx::KqCopy(r.szUnitsName, pUnit->szName);
    return kValid;
}
