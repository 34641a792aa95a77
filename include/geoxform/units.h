// The built-in unit tables and the localisation of their names and of the
// degree/minute/second strings.
#ifndef GEOXFORM_UNITS_H
#define GEOXFORM_UNITS_H

#include <cstdint>

#include "geoxform/defs.h"

// One row of a built-in unit table.
struct CS_UNITS {
    int32_t iEPSGCode;  // EPSG unit code, -1 where the unit has none
    int32_t iAltCode;   // a second numbering for client programs, -1 where none
    KQWCHAR szName[50]; // display name; replaced in place by InitCoordSystemLanguage
    double dFactor;     // length table: millimetres per unit; angle table: radians per unit
};

// Length units; the row index is the unit number of KQCRSystem::iUnits and CreateCoordSystem.
extern GEOXFORM_API CS_UNITS csKQCSLengthUnits[];
extern GEOXFORM_API int32_t iNumUnitsDefined;
// Angle units.
extern GEOXFORM_API CS_UNITS csKQCSAngleUnits[];
extern GEOXFORM_API int32_t iNumAnglesDefined;

// Applies the language's section of Support/units.ini beside the library to the length unit
// names 0 to 52 and the four DMS strings. Null or empty does nothing.
GEOXFORM_API void InitCoordSystemLanguage(const KQWCHAR* pszLanguage);

// Hands out the four live DMS buffers: output format, delimiter set, and the delimiter sets
// for latitudes and longitudes. The buffers stay owned by the library.
GEOXFORM_API void GetDmsStrings(KQWCHAR*& pszUnitString, KQWCHAR*& pszStrTok, KQWCHAR*& pszStrTokNS,
                                KQWCHAR*& pszStrTokWE);

#endif
