// The profile reader on Windows: the system's private-profile functions, which follow the
// rules of profile.h themselves.
#include "platform/profile.h"

#include <windows.h>

namespace gx {

namespace {

// The functions take a DWORD size; larger buffers are used only up to that.
DWORD SizeArgument(size_t nCap) {
    return nCap > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(nCap);
}

// The default, cut to fit, when there is nothing to look up: a null section, key or file
// would make the system functions enumerate names or read win.ini instead.
template <class Char>
size_t CopyDefault(const Char* pszDefault, Char* pszOut, size_t nCap) {
    size_t n = 0;
    if (pszDefault != nullptr)
        for (; n + 1 < nCap && pszDefault[n] != 0; ++n)
            pszOut[n] = pszDefault[n];
    while (n > 0 && pszOut[n - 1] == ' ')
        --n;
    pszOut[n] = 0;
    return n;
}

} // namespace

size_t GetProfileStringKq(const KQWCHAR* pszSection, const KQWCHAR* pszKey,
                          const KQWCHAR* pszDefault, KQWCHAR* pszOut, size_t nCap,
                          const KQWCHAR* pszFile) {
    if (nCap == 0) return 0;
    if (pszSection == nullptr || pszKey == nullptr || pszFile == nullptr)
        return CopyDefault(pszDefault, pszOut, nCap);
    return GetPrivateProfileStringW(pszSection, pszKey, pszDefault != nullptr ? pszDefault : L"",
                                    pszOut, SizeArgument(nCap), pszFile);
}

size_t GetProfileStringAnsi(const char* pszSection, const char* pszKey, const char* pszDefault,
                            char* pszOut, size_t nCap, const char* pszFile) {
    if (nCap == 0) return 0;
    if (pszSection == nullptr || pszKey == nullptr || pszFile == nullptr)
        return CopyDefault(pszDefault, pszOut, nCap);
    return GetPrivateProfileStringA(pszSection, pszKey, pszDefault != nullptr ? pszDefault : "",
                                    pszOut, SizeArgument(nCap), pszFile);
}

} // namespace gx
