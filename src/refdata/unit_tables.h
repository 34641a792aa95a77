// Internal access to the built-in unit tables.
#ifndef GEOXFORM_UNIT_TABLES_H
#define GEOXFORM_UNIT_TABLES_H

#include "geoxform/units.h"

namespace gx {

const int kNumLengthUnits = 58;
const int kNumAngleUnits = 11;
// Rows 0 to 52 of the length table can carry localised names.
const int kNumLocalisedLengthUnits = 53;

// The length table row of a unit number, or null outside the table.
inline const CS_UNITS* LengthUnitRow(int iUnits) {
    return (iUnits >= 0 && iUnits < kNumLengthUnits) ? &csKQCSLengthUnits[iUnits] : nullptr;
}

// Factor (millimetres per unit) and name of a length unit. A unit number outside the table
// gets the factor 1 (millimetres) and an empty name, so that nothing reads outside the table.
inline double LengthUnitFactor(int iUnits) {
    const CS_UNITS* pRow = LengthUnitRow(iUnits);
    return pRow != nullptr ? pRow->dFactor : 1.0;
}
inline const KQWCHAR* LengthUnitName(int iUnits) {
    static const KQWCHAR s_empty[1] = {0};
    const CS_UNITS* pRow = LengthUnitRow(iUnits);
    return pRow != nullptr ? pRow->szName : s_empty;
}

} // namespace gx

#endif
