// The output format of angles as degrees, minutes and seconds: a printf-style format that a
// language file may replace, checked and applied here without ever reaching printf.
#ifndef GEOXFORM_DMS_FORMAT_H
#define GEOXFORM_DMS_FORMAT_H

#include <cstddef>

#include "geoxform/defs.h"

namespace gx {

// The six values the format takes, in this order.
struct DmsValues {
    double dDegrees = 0;
    double dMinutes = 0;
    int iSecondsWidth = 0;     // taken by the '*' width of the seconds
    int iSecondsPrecision = 0; // taken by the '*' precision of the seconds
    double dSeconds = 0;
    const KQWCHAR* pszHemisphere = nullptr; // null prints as empty
};

// True when the format's conversions take exactly the six values: a double (f, F, e, E, g, G),
// a double, a double with '*' width and '*' precision, and a wide string (s, ls or S), with
// "%%" anywhere. Positional arguments, '*' elsewhere, other conversions, length modifiers
// other than 'l', and widths or precisions above 255 (no result could hold them) are refused.
bool IsValidDmsFormat(const KQWCHAR* pszFormat);

// Applies a valid format to the values into pOut (nCap units, cut to fit, NUL-terminated) and
// stores the full length of the result in nLength. False, with pOut empty, when the format is
// not valid.
bool FormatDms(const KQWCHAR* pszFormat, const DmsValues& values, KQWCHAR* pOut, size_t nCap,
               size_t& nLength);

} // namespace gx

#endif
