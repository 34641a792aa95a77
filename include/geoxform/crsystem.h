// The coordinate reference system record exchanged with hosts, its older 8-bit layout, and
// the record operations: upgrade, validation and comparison.
#ifndef GEOXFORM_CRSYSTEM_H
#define GEOXFORM_CRSYSTEM_H

#include <cstdint>

#include "geoxform/defs.h"

// Layout version of KQCRSystem; records below 0x200 are refused by ValidateCRSystem.
const int32_t KQCRSYSTEM_VERSION = 0x300;

// Binary description of one coordinate reference system: 1720 bytes, fixed layout (every
// offset is checked at compile time). Lengths in metres, angles in radians.
struct KQCRSystem {
    int32_t iVersion;
    int32_t iSize;
    int32_t iUnits; // index into csKQCSLengthUnits; 0 is "Pixel"
    KQWCHAR szUnitsName[100];
    int32_t iPadding1;
    double dScale;   // real length per world length
    double dOffsetX; // fixed point of the scaling, world millimetres
    double dOffsetY;
    int32_t iSystemCode; // EPSG code; below 1: user-defined
    KQWCHAR szSystemName[100];
    int32_t iAuxCode1; // carried, never interpreted
    int32_t iAuxCode2;
    KQWCHAR szAuxName[100];
    int32_t iOperationCode; // EPSG conversion code: key of the parameter rows
    int32_t iMethodCode;    // EPSG method code; below 1: no projection
    KQWCHAR szMethodName[100];
    int32_t iDatumCode;
    KQWCHAR szDatumName[100];
    int32_t iEllipsoidCode;
    KQWCHAR szEllipsoidName[100];
    int32_t iPadding2;
    double dSemiMajorAxis;
    double dInverseFlattening;
    double dSemiMinorAxis;
    int32_t iPrimeMeridianCode;
    KQWCHAR szPrimeMeridianName[100];
    int32_t iPadding3;
    double dPrimeMeridian;  // radians east of Greenwich
    int32_t iNumParameters; // used parameter slots, 0 to 14
    int32_t aiParameterCodes[14];
    int32_t iPadding4;
    double adParameterValues[14];
    int32_t iUnProject;   // 1: world/user conversion yields longitude and latitude
    int32_t iSystemIndex; // derived row indexes, valid for the loaded reference data
    int32_t iDatumIndex;
    int32_t iPrimeMeridianIndex;
    int32_t iEllipsoidIndex;
    int32_t iProjection; // projection method number 1 to 25, or -1
    int32_t iPrecision;  // decimals of value text
    int32_t iReserved;
};

// The previous layout, with 8-bit strings in the ANSI code page; 1000 bytes.
struct KQCRSystemOld {
    int32_t iHeader1;
    int32_t iHeader2;
    int32_t iUnits;
    char szUnitsName[100];
    double dScale;
    double dOffsetX;
    double dOffsetY;
    int32_t iSystemCode;
    char szSystemName[100];
    int32_t iAuxCode1;
    int32_t iAuxCode2;
    char szAuxName[100];
    int32_t iOperationCode;
    int32_t iMethodCode;
    char szMethodName[100];
    int32_t iDatumCode;
    char szDatumName[100];
    int32_t iEllipsoidCode;
    char szEllipsoidName[100];
    double dSemiMajorAxis;
    double dInverseFlattening;
    double dSemiMinorAxis;
    int32_t iPrimeMeridianCode;
    char szPrimeMeridianName[100];
    double dPrimeMeridian;
    int32_t iNumParameters;
    int32_t aiParameterCodes[14];
    int32_t iPadding;
    double adParameterValues[14];
    int32_t iUnProject;
    int32_t iSystemIndex;
    int32_t iDatumIndex;
    int32_t iPrimeMeridianIndex;
    int32_t iEllipsoidIndex;
    int32_t iProjection;
};

// Upgrades an old record into a new one allocated with operator new; the caller releases it
// with delete. Null for a null argument or when memory is exhausted.
GEOXFORM_API KQCRSystem* GetCRSystemFromOld(const KQCRSystemOld* pOld);

// Checks a record against the reference data and completes it in place: 0 when valid, else
// 1 to 8 for the first problem found.
GEOXFORM_API int ValidateCRSystem(KQCRSystem* pRecord);

// 0 to 7: 4 when the scaling differs, plus 1, 2 or 3 for the projection difference.
GEOXFORM_API int CompareCRSystemData(KQCRSystem* pFirst, KQCRSystem* pSecond);

#endif
