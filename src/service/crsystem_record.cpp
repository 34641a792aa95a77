// The coordinate reference system record: its fixed layout, initialisation and the upgrade
// of the previous 8-bit layout.
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "service/crsystem_init.h"

// Hosts exchange the record byte for byte: pin the layout down.
#define GX_AT(type, field, offset) static_assert(offsetof(type, field) == (offset), #field)
static_assert(sizeof(KQCRSystem) == 1720, "KQCRSystem must stay 1720 bytes");
GX_AT(KQCRSystem, iVersion, 0);
GX_AT(KQCRSystem, iSize, 4);
GX_AT(KQCRSystem, iUnits, 8);
GX_AT(KQCRSystem, szUnitsName, 12);
GX_AT(KQCRSystem, iPadding1, 212);
GX_AT(KQCRSystem, dScale, 216);
GX_AT(KQCRSystem, dOffsetX, 224);
GX_AT(KQCRSystem, dOffsetY, 232);
GX_AT(KQCRSystem, iSystemCode, 240);
GX_AT(KQCRSystem, szSystemName, 244);
GX_AT(KQCRSystem, iAuxCode1, 444);
GX_AT(KQCRSystem, iAuxCode2, 448);
GX_AT(KQCRSystem, szAuxName, 452);
GX_AT(KQCRSystem, iOperationCode, 652);
GX_AT(KQCRSystem, iMethodCode, 656);
GX_AT(KQCRSystem, szMethodName, 660);
GX_AT(KQCRSystem, iDatumCode, 860);
GX_AT(KQCRSystem, szDatumName, 864);
GX_AT(KQCRSystem, iEllipsoidCode, 1064);
GX_AT(KQCRSystem, szEllipsoidName, 1068);
GX_AT(KQCRSystem, iPadding2, 1268);
GX_AT(KQCRSystem, dSemiMajorAxis, 1272);
GX_AT(KQCRSystem, dInverseFlattening, 1280);
GX_AT(KQCRSystem, dSemiMinorAxis, 1288);
GX_AT(KQCRSystem, iPrimeMeridianCode, 1296);
GX_AT(KQCRSystem, szPrimeMeridianName, 1300);
GX_AT(KQCRSystem, iPadding3, 1500);
GX_AT(KQCRSystem, dPrimeMeridian, 1504);
GX_AT(KQCRSystem, iNumParameters, 1512);
GX_AT(KQCRSystem, aiParameterCodes, 1516);
GX_AT(KQCRSystem, iPadding4, 1572);
GX_AT(KQCRSystem, adParameterValues, 1576);
GX_AT(KQCRSystem, iUnProject, 1688);
GX_AT(KQCRSystem, iSystemIndex, 1692);
GX_AT(KQCRSystem, iDatumIndex, 1696);
GX_AT(KQCRSystem, iPrimeMeridianIndex, 1700);
GX_AT(KQCRSystem, iEllipsoidIndex, 1704);
GX_AT(KQCRSystem, iProjection, 1708);
GX_AT(KQCRSystem, iPrecision, 1712);
GX_AT(KQCRSystem, iReserved, 1716);

static_assert(sizeof(KQCRSystemOld) == 1000, "KQCRSystemOld must stay 1000 bytes");
GX_AT(KQCRSystemOld, iUnits, 8);
GX_AT(KQCRSystemOld, szUnitsName, 12);
GX_AT(KQCRSystemOld, dScale, 112);
GX_AT(KQCRSystemOld, dOffsetX, 120);
GX_AT(KQCRSystemOld, dOffsetY, 128);
GX_AT(KQCRSystemOld, iSystemCode, 136);
GX_AT(KQCRSystemOld, szSystemName, 140);
GX_AT(KQCRSystemOld, iAuxCode1, 240);
GX_AT(KQCRSystemOld, iAuxCode2, 244);
GX_AT(KQCRSystemOld, szAuxName, 248);
GX_AT(KQCRSystemOld, iOperationCode, 348);
GX_AT(KQCRSystemOld, iMethodCode, 352);
GX_AT(KQCRSystemOld, szMethodName, 356);
GX_AT(KQCRSystemOld, iDatumCode, 456);
GX_AT(KQCRSystemOld, szDatumName, 460);
GX_AT(KQCRSystemOld, iEllipsoidCode, 560);
GX_AT(KQCRSystemOld, szEllipsoidName, 564);
GX_AT(KQCRSystemOld, dSemiMajorAxis, 664);
GX_AT(KQCRSystemOld, dInverseFlattening, 672);
GX_AT(KQCRSystemOld, dSemiMinorAxis, 680);
GX_AT(KQCRSystemOld, iPrimeMeridianCode, 688);
GX_AT(KQCRSystemOld, szPrimeMeridianName, 692);
GX_AT(KQCRSystemOld, dPrimeMeridian, 792);
GX_AT(KQCRSystemOld, iNumParameters, 800);
GX_AT(KQCRSystemOld, aiParameterCodes, 804);
GX_AT(KQCRSystemOld, adParameterValues, 864);
GX_AT(KQCRSystemOld, iUnProject, 976);
GX_AT(KQCRSystemOld, iSystemIndex, 980);
GX_AT(KQCRSystemOld, iDatumIndex, 984);
GX_AT(KQCRSystemOld, iPrimeMeridianIndex, 988);
GX_AT(KQCRSystemOld, iEllipsoidIndex, 992);
GX_AT(KQCRSystemOld, iProjection, 996);
#undef GX_AT

namespace gx {

void InitCRSystem(KQCRSystem* pRecord, int iUnits, double dScale) {
    if (pRecord == nullptr) return;
    std::memset(pRecord, 0, sizeof(KQCRSystem));
    pRecord->iVersion = KQCRSYSTEM_VERSION;
    pRecord->iSize = sizeof(KQCRSystem);
    pRecord->iUnits = iUnits;
    pRecord->dScale = dScale;
    pRecord->iSystemCode = -1;
    pRecord->iMethodCode = -1;
    pRecord->iDatumCode = -1;
    pRecord->iEllipsoidCode = -1;
    pRecord->iPrimeMeridianCode = -1;
    pRecord->iSystemIndex = -1;
    pRecord->iDatumIndex = -1;
    pRecord->iPrimeMeridianIndex = -1;
    pRecord->iEllipsoidIndex = -1;
    pRecord->iProjection = -1;
    pRecord->iPrecision = 2;
}

} // namespace gx

namespace {

// Widens an old 100-byte name; a name without a terminator inside its array ends at the
// array's end, and the new array keeps at most 99 characters.
template <size_t N, size_t M>
void WidenName(KQWCHAR (&dst)[N], const char (&src)[M]) {
    gx::MultiByteToKq(gx::kAnsiCodePage, src, static_cast<ptrdiff_t>(strnlen(src, M)), dst, N);
}

} // namespace

KQCRSystem* GetCRSystemFromOld(const KQCRSystemOld* pOld) {
    if (pOld == nullptr) return nullptr; // nothing to upgrade
    // Allocated with the ordinary allocator; the host releases it with delete. Exhausted
    // memory gives null.
    KQCRSystem* pNew = new (std::nothrow) KQCRSystem;
    if (pNew == nullptr) return nullptr;
    gx::InitCRSystem(pNew, 1, 1.0);
    pNew->iUnits = pOld->iUnits;
    WidenName(pNew->szUnitsName, pOld->szUnitsName);
    pNew->dScale = pOld->dScale;
    pNew->dOffsetX = pOld->dOffsetX;
    pNew->dOffsetY = pOld->dOffsetY;
    pNew->iSystemCode = pOld->iSystemCode;
    WidenName(pNew->szSystemName, pOld->szSystemName);
    pNew->iAuxCode1 = pOld->iAuxCode1;
    pNew->iAuxCode2 = pOld->iAuxCode2;
    WidenName(pNew->szAuxName, pOld->szAuxName);
    pNew->iOperationCode = pOld->iOperationCode;
    pNew->iMethodCode = pOld->iMethodCode;
    WidenName(pNew->szMethodName, pOld->szMethodName);
    pNew->iDatumCode = pOld->iDatumCode;
    WidenName(pNew->szDatumName, pOld->szDatumName);
    pNew->iEllipsoidCode = pOld->iEllipsoidCode;
    WidenName(pNew->szEllipsoidName, pOld->szEllipsoidName);
    pNew->dSemiMajorAxis = pOld->dSemiMajorAxis;
    pNew->dInverseFlattening = pOld->dInverseFlattening;
    pNew->dSemiMinorAxis = pOld->dSemiMinorAxis;
    pNew->iPrimeMeridianCode = pOld->iPrimeMeridianCode;
    WidenName(pNew->szPrimeMeridianName, pOld->szPrimeMeridianName);
    pNew->dPrimeMeridian = pOld->dPrimeMeridian;
    pNew->iNumParameters = pOld->iNumParameters;
    std::memcpy(pNew->aiParameterCodes, pOld->aiParameterCodes, sizeof(pNew->aiParameterCodes));
    std::memcpy(pNew->adParameterValues, pOld->adParameterValues, sizeof(pNew->adParameterValues));
    pNew->iUnProject = pOld->iUnProject;
    pNew->iSystemIndex = pOld->iSystemIndex;
    pNew->iDatumIndex = pOld->iDatumIndex;
    pNew->iPrimeMeridianIndex = pOld->iPrimeMeridianIndex;
    pNew->iEllipsoidIndex = pOld->iEllipsoidIndex;
    pNew->iProjection = pOld->iProjection;
    return pNew;
}
