// Reading one value from an INI-style file by section and key (a "private profile").
//
// Rules, the same on every platform: sections and keys compare without regard to the case of
// ASCII letters; blanks
// around section names, keys and values are trimmed; a value enclosed in a matching pair of
// double or single quotes loses them; the first matching section and key win. A key that is
// missing (or a file or section that is missing) gives the default, with its trailing spaces
// dropped; a key present with an empty value gives an empty result. The result is cut to
// nCap - 1 units and NUL-terminated. The file may be ANSI (the system code page), UTF-8 with
// a byte-order mark, or UTF-16LE with one.
#ifndef GEOXFORM_PROFILE_H
#define GEOXFORM_PROFILE_H

#include <cstddef>

#include "geoxform/defs.h"

namespace gx {

// Wide reader: the file's text is decoded to UTF-16 (an ANSI file from the system code page).
// A null default counts as empty. Returns the number of units written without the NUL.
size_t GetProfileStringKq(const KQWCHAR* pszSection, const KQWCHAR* pszKey,
                          const KQWCHAR* pszDefault, KQWCHAR* pszOut, size_t nCap,
                          const KQWCHAR* pszFile);

// 8-bit reader: section, key, default and file name are in the system code page; values of
// an ANSI file come back as the file's bytes, those of a UTF-8 or UTF-16 file (with their
// marks) converted to the system code page.
size_t GetProfileStringAnsi(const char* pszSection, const char* pszKey, const char* pszDefault,
                            char* pszOut, size_t nCap, const char* pszFile);

} // namespace gx

#endif
