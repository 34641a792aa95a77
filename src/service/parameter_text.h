// The one-line text form of a coordinate system: the user part (units, unit name, scale,
// fixed point) and, after ";", the reference system with its parameters, as comma-separated
// fields.
#ifndef GEOXFORM_PARAMETER_TEXT_H
#define GEOXFORM_PARAMETER_TEXT_H

#include <cstddef>

#include "geoxform/crsystem.h"

namespace gx {

// The most characters of a text form, without the terminator.
const size_t kMaxParameterText = 1023;

// Applies the fields of a text form to the record: fields 0 to 4 to its user part (iUnits,
// szUnitsName, dScale with 0 read as 1, dOffsetX, dOffsetY), 5 to 23 to the reference system,
// then the parameter pairs. Fields the text does not reach leave the record as it was.
// Returns the number of fields.
int ReadParameterText(const KQWCHAR* pszText, KQCRSystem& record);

// Prints the text form of a record (its user part as the caller set it), with the reference
// system part when bWithSystem. False, with an empty text, when it would pass 1023 characters.
bool FormatParameterText(const KQCRSystem& record, bool bWithSystem,
                         KQWCHAR (&text)[kMaxParameterText + 1]);

} // namespace gx

#endif
