// The language file: localised length unit names and degree/minute/second strings read from
// the section "LengthUnits_<language>" of Support/units.ini beside the library. Each read
// takes the current value as its default, so a language that lacks a key keeps what is there.
#include "refdata/language.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/number_text.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/wide_string.h"
#include "refdata/dms_format.h"
#include "refdata/unit_tables.h"

namespace gx {

const KQWCHAR kDefaultDmsUnitString[kDmsUnitStringCap] = KQ_T("%.f\u00B0%02.f'%0*.*f\"%s");
const KQWCHAR kDefaultDmsStrTok[kDmsStrTokCap] = KQ_T("NSWEnswe\u00B0'\":");

KQWCHAR g_szDmsUnitString[kDmsUnitStringCap] = KQ_T("%.f\u00B0%02.f'%0*.*f\"%s");
KQWCHAR g_szDmsStrTok[kDmsStrTokCap] = KQ_T("NSWEnswe\u00B0'\":");
KQWCHAR g_szDmsStrTokNS[kDmsStrTokCap] = KQ_T("NSns\u00B0'\":");
KQWCHAR g_szDmsStrTokWE[kDmsStrTokCap] = KQ_T("WEwe\u00B0'\":");

namespace {

const size_t kUnitNameCap = sizeof(CS_UNITS::szName) / sizeof(KQWCHAR);
const size_t kAcpCap = 32;

// The four DMS keys with their buffers, in the order GetDmsStrings hands them out.
struct DmsKey {
    const char* pszKey;
    KQWCHAR* pBuffer;
    size_t nCap;
};
const DmsKey kDmsKeys[] = {
    {"DMSUnitString", g_szDmsUnitString, kDmsUnitStringCap},
    {"DMSStrTok", g_szDmsStrTok, kDmsStrTokCap},
    {"DMSStrTokNS", g_szDmsStrTokNS, kDmsStrTokCap},
    {"DMSStrTokWE", g_szDmsStrTokWE, kDmsStrTokCap},
};

void StoreDms(const DmsKey& key, const KQWCHAR* pszValue) {
    // An output format that does not take exactly the six values (an empty one included) is
    // refused and the previous format kept: it could not print an angle.
    if (key.pBuffer == g_szDmsUnitString && !IsValidDmsFormat(pszValue)) return;
    KqCopy(key.pBuffer, key.nCap, pszValue);
}

// Decimal key of a unit row ("0" to "52").
void RowKey(int iRow, char (&key)[16]) {
    FormatInt(iRow, key, sizeof(key));
}

// Wide path: every value is read as UTF-16.
void ApplyWide(const KQWCHAR* pszFile, const KQWCHAR* pszSection) {
    KQWCHAR key[16];
    KQWCHAR value[kDmsUnitStringCap];
    for (int i = 0; i < kNumLocalisedLengthUnits; ++i) {
        char row[16];
        RowKey(i, row);
        KqFromAscii(key, 16, row);
        KQWCHAR* pszName = csKQCSLengthUnits[i].szName;
        GetProfileStringKq(pszSection, key, pszName, value, kUnitNameCap, pszFile);
        KqCopy(pszName, kUnitNameCap, value);
    }
    for (const DmsKey& dms : kDmsKeys) {
        KqFromAscii(key, 16, dms.pszKey);
        GetProfileStringKq(pszSection, key, dms.pBuffer, value, dms.nCap, pszFile);
        StoreDms(dms, value);
    }
}

// 8-bit text of a UTF-16 string in the system code page, or null when memory is short.
std::unique_ptr<char[]> ToAnsi(const KQWCHAR* psz) {
    const size_t nCap = 4 * KqLen(psz) + 1;
    std::unique_ptr<char[]> pText(new (std::nothrow) char[nCap]);
    if (pText) KqToMultiByte(kAnsiCodePage, psz, pText.get(), nCap);
    return pText;
}

// Reads one value on the 8-bit path: the current value in the code page as the default, the
// result back from the code page into the buffer. A result equal to the default leaves the
// buffer alone, so that characters the code page lacks survive a missing key.
bool ReadAnsi(unsigned uCodePage, const char* pszFile, const char* pszSection, const char* pszKey,
              const KQWCHAR* pszCurrent, size_t nCap, KQWCHAR* pszValue) {
    char current[kDmsUnitStringCap];
    char value[kDmsUnitStringCap];
    KqToMultiByte(uCodePage, pszCurrent, current, nCap);
    GetProfileStringAnsi(pszSection, pszKey, current, value, nCap, pszFile);
    if (std::strcmp(value, current) == 0) return false;
    MultiByteToKq(uCodePage, value, -1, pszValue, nCap);
    return true;
}

// 8-bit path: file, section and keys in the system code page, values in the file's code page.
void ApplyCodePage(unsigned uCodePage, const KQWCHAR* pszFile, const KQWCHAR* pszSection) {
    const std::unique_ptr<char[]> pFile = ToAnsi(pszFile);
    const std::unique_ptr<char[]> pSection = ToAnsi(pszSection);
    if (!pFile || !pSection) return;
    KQWCHAR value[kDmsUnitStringCap];
    for (int i = 0; i < kNumLocalisedLengthUnits; ++i) {
        char key[16];
        RowKey(i, key);
        KQWCHAR* pszName = csKQCSLengthUnits[i].szName;
        if (ReadAnsi(uCodePage, pFile.get(), pSection.get(), key, pszName, kUnitNameCap, value))
            KqCopy(pszName, kUnitNameCap, value);
    }
    for (const DmsKey& dms : kDmsKeys)
        if (ReadAnsi(uCodePage, pFile.get(), pSection.get(), dms.pszKey, dms.pBuffer, dms.nCap,
                     value))
            StoreDms(dms, value);
}

// Whether the platform converts text in the code page: the digit 0 must make the round trip.
bool CodePageUsable(unsigned uCodePage) {
    const KQWCHAR zero[2] = {'0', 0};
    char narrow[8];
    KQWCHAR wide[4];
    return KqToMultiByte(uCodePage, zero, narrow, sizeof(narrow)) > 0 &&
           MultiByteToKq(uCodePage, narrow, -1, wide, 4) == 1 && wide[0] == '0';
}

} // namespace

void ApplyLanguageFile(const KQWCHAR* pszFile, const KQWCHAR* pszLanguage) {
    if (pszFile == nullptr || pszLanguage == nullptr || pszLanguage[0] == 0) return;
    const char kPrefix[] = "LengthUnits_";
    const size_t nSection = sizeof(kPrefix) + KqLen(pszLanguage);
    const std::unique_ptr<KQWCHAR[]> pSection(new (std::nothrow) KQWCHAR[nSection]);
    if (!pSection) return;
    KqTextBuilder section(pSection.get(), nSection);
    section.AppendAscii(kPrefix);
    section.Append(pszLanguage);

    KQWCHAR acp[kAcpCap];
    GetProfileStringKq(pSection.get(), KQ_T("ACP"), KQ_T("0"), acp, kAcpCap, pszFile);
    const int32_t iCodePage = KqToInt(acp);
    // A code page the platform cannot convert (negative, unknown) reads the file as "ACP" 0
    // does: converting through it would turn every name into nothing.
    if (iCodePage == 0 || !CodePageUsable(static_cast<unsigned>(iCodePage)))
        ApplyWide(pszFile, pSection.get());
    else
        ApplyCodePage(static_cast<unsigned>(iCodePage), pszFile, pSection.get());
}

} // namespace gx

void GetDmsStrings(KQWCHAR*& pszUnitString, KQWCHAR*& pszStrTok, KQWCHAR*& pszStrTokNS,
                   KQWCHAR*& pszStrTokWE) {
    pszUnitString = gx::g_szDmsUnitString;
    pszStrTok = gx::g_szDmsStrTok;
    pszStrTokNS = gx::g_szDmsStrTokNS;
    pszStrTokWE = gx::g_szDmsStrTokWE;
}

void InitCoordSystemLanguage(const KQWCHAR* pszLanguage) {
    if (pszLanguage == nullptr || pszLanguage[0] == 0) return;
    const size_t kPathCap = 4096;
    KQWCHAR directory[kPathCap];
    const size_t nDirectory = gx::LibraryDirectory(directory, kPathCap);
    // An unknown or overlong library directory leaves everything as it is, like a missing file.
    if (nDirectory == 0 || nDirectory + 1 >= kPathCap) return;
    KQWCHAR path[kPathCap];
    gx::KqTextBuilder builder(path, kPathCap);
    builder.Append(directory);
    builder.AppendChar(gx::kPathSeparator);
    builder.AppendAscii("Support");
    builder.AppendChar(gx::kPathSeparator);
    builder.AppendAscii("units.ini");
    if (builder.Overflowed()) return;
    gx::ApplyLanguageFile(path, pszLanguage);
}
