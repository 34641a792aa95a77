// Internal access to the live degree/minute/second strings and to the loader of a language
// file at a given path.
#ifndef GEOXFORM_LANGUAGE_H
#define GEOXFORM_LANGUAGE_H

#include <cstddef>

#include "geoxform/units.h"

namespace gx {

const size_t kDmsUnitStringCap = 64; // wide characters with the NUL
const size_t kDmsStrTokCap = 32;

// The built-in output format and delimiter sets.
extern const KQWCHAR kDefaultDmsUnitString[kDmsUnitStringCap];
extern const KQWCHAR kDefaultDmsStrTok[kDmsStrTokCap];

// The live buffers that GetDmsStrings hands out: output format of an angle, delimiters that
// split angle text, and the delimiter sets for latitudes and longitudes.
extern KQWCHAR g_szDmsUnitString[kDmsUnitStringCap];
extern KQWCHAR g_szDmsStrTok[kDmsStrTokCap];
extern KQWCHAR g_szDmsStrTokNS[kDmsStrTokCap];
extern KQWCHAR g_szDmsStrTokWE[kDmsStrTokCap];

// Applies the section "LengthUnits_" + language of the language file at the path to the
// length unit names 0 to 52 and the four DMS strings. InitCoordSystemLanguage calls it with
// Support/units.ini beside the library.
void ApplyLanguageFile(const KQWCHAR* pszFile, const KQWCHAR* pszLanguage);

} // namespace gx

#endif
