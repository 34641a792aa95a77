// NUL-terminated UTF-16 strings in fixed arrays: length, copy with cut, comparison.
#ifndef GEOXFORM_WIDE_STRING_H
#define GEOXFORM_WIDE_STRING_H

#include <cstddef>

#include "geoxform/defs.h"

namespace gx {

inline size_t KqLen(const KQWCHAR* psz) {
    size_t n = 0;
    while (psz[n] != 0)
        ++n;
    return n;
}

// Copies up to the source's NUL into an array of nCap units, cutting at nCap - 1 units so
// that the terminator always fits. A null source gives an empty string.
inline void KqCopy(KQWCHAR* pDst, size_t nCap, const KQWCHAR* pSrc) {
    if (nCap == 0) return;
    size_t n = 0;
    if (pSrc != nullptr)
        for (; n + 1 < nCap && pSrc[n] != 0; ++n)
            pDst[n] = pSrc[n];
    pDst[n] = 0;
}

template <size_t N>
inline void KqCopy(KQWCHAR (&dst)[N], const KQWCHAR* pSrc) {
    KqCopy(dst, N, pSrc);
}

inline bool KqEqual(const KQWCHAR* a, const KQWCHAR* b) {
    while (*a != 0 && *a == *b)
        ++a, ++b;
    return *a == *b;
}

// Copies an ASCII string into a UTF-16 array, cut to fit.
inline void KqFromAscii(KQWCHAR* pDst, size_t nCap, const char* pSrc) {
    if (nCap == 0) return;
    size_t n = 0;
    for (; n + 1 < nCap && pSrc[n] != 0; ++n)
        pDst[n] = static_cast<KQWCHAR>(static_cast<unsigned char>(pSrc[n]));
    pDst[n] = 0;
}

} // namespace gx

#endif
