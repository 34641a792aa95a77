// Value text: plane values as decimal numbers, angles as degrees, minutes and seconds with
// hemisphere letters, written with the live DMS format and read with the live delimiter set.
// Numbers are written and read with a point as decimal separator whatever the host's locale,
// so that text written on one machine reads the same on another.
#include <cmath>

#include "geoxform/coordsystem.h"
#include "platform/number_text.h"
#include "platform/wide_string.h"
#include "projections/geodesy.h"
#include "refdata/language.h"
#include "refdata/dms_format.h"

namespace {

// The result is built in a buffer of this many characters (255 and the terminator).
const size_t kTextCap = 256;
// Decimals beyond these bounds give the same result as the bounds: more than 255 characters.
const int kMaxDecimals = 1000;
const int kMaxRoundingDecimals = 300; // 10^300 stays finite; beyond 17 the rounding is moot

// Hands the result to the caller. A result longer than 255 characters is not delivered cut
// (a cut number reads as another value): the caller gets an empty text and 0.
int Deliver(const KQWCHAR* pszResult, size_t nLength, KQWCHAR* pszText) {
    const bool bFits = nLength < kTextCap;
    if (pszText != nullptr) gx::KqCopy(pszText, kTextCap, bFits ? pszResult : nullptr);
    return bFits ? 1 : 0;
}

int PlainToText(double v, int iDecimals, KQWCHAR* pszText) {
    gx::FloatFormat format; // "%.*f": a negative precision counts as none (6 decimals)
    format.iPrecision = iDecimals;
    char narrow[kTextCap];
    const size_t nLength = gx::FormatFloat(v, format, narrow, sizeof(narrow));
    KQWCHAR result[kTextCap];
    gx::KqFromAscii(result, kTextCap, narrow);
    return Deliver(result, nLength, pszText);
}

int AngleToText(double v, int iFlags, int iDecimals, KQWCHAR* pszText) {
    const double m =
        iDecimals > 0
            ? std::pow(10.0, iDecimals < kMaxRoundingDecimals ? iDecimals : kMaxRoundingDecimals)
            : 1;
    const double d =
        gx::FoldDegrees(v * gx::kDegreesPerRadian, (iFlags & (CS_LONGITUDE | CS_LATITUDE)) != 0);
    // Rounding once, on the total seconds, carries into minutes and degrees.
    const double t = std::floor(std::fabs(d) * 3600 * m + 0.5) / m;
    // An infinite angle has no degrees, minutes and seconds (the wrap makes it not a number),
    // nor has one too large for the seconds to be counted: both fail like a value that is
    // not a number.
    if (!std::isfinite(t)) return 0;
    double degrees = std::floor(t / 3600);
    const double minutes = std::floor(t / 60) - 60 * degrees;
    const double seconds = t - (60 * degrees + minutes) * 60;
    const KQWCHAR* pszHemisphere = KQ_T("");
    if (iFlags & CS_LONGITUDE)
        pszHemisphere = d >= 0 ? KQ_T("E") : KQ_T("W");
    else if (iFlags & CS_LATITUDE)
        pszHemisphere = d >= 0 ? KQ_T("N") : KQ_T("S");
    else if (d < 0)
        degrees = -degrees;

    gx::DmsValues values;
    values.dDegrees = degrees;
    values.dMinutes = minutes;
    values.iSecondsWidth = iDecimals + 3;
    values.iSecondsPrecision = iDecimals;
    values.dSeconds = seconds;
    values.pszHemisphere = pszHemisphere;
    KQWCHAR result[kTextCap];
    size_t nLength = 0;
    // A format the host wrote into the live buffer that does not take the six values is not
    // used; the built-in one is.
    if (!gx::FormatDms(gx::g_szDmsUnitString, values, result, kTextCap, nLength))
        gx::FormatDms(gx::kDefaultDmsUnitString, values, result, kTextCap, nLength);
    return Deliver(result, nLength, pszText);
}

bool IsSpace(KQWCHAR c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsSeparator(KQWCHAR c, const KQWCHAR* pszSeparators) {
    for (; *pszSeparators != 0; ++pszSeparators)
        if (*pszSeparators == c) return true;
    return false;
}

// Reads "%lf" from the start of a token that ends at pEnd.
bool ReadNumber(const KQWCHAR* p, const KQWCHAR* pEnd, double& dValue) {
    KQWCHAR token[kTextCap];
    size_t n = 0;
    for (; p < pEnd; ++p)
        token[n++] = *p;
    token[n] = 0;
    return gx::KqParseDouble(token, dValue);
}

int TextToPlain(const KQWCHAR* pszText, double& dValue) {
    while (IsSpace(*pszText))
        ++pszText;
    if (*pszText == 0) return 1; // "%lf" meets the end of the input: no failure, value 0
    double v = 0;
    if (!gx::KqParseDouble(pszText, v)) return 0;
    dValue = v;
    return 1;
}

int TextToAngle(const KQWCHAR* pszText, double& dValue, int iFlags) {
    const size_t nText = gx::KqLen(pszText);
    if (nText >= kTextCap) return 0;
    KQWCHAR text[kTextCap];
    for (size_t i = 0; i <= nText; ++i) { // upper case as the "C" locale has it: ASCII only
        const KQWCHAR c = pszText[i];
        text[i] = (c >= 'a' && c <= 'z') ? static_cast<KQWCHAR>(c - 32) : c;
    }
    double sign = 1;
    if (text[0] == '-') {
        text[0] = ' ';
        sign = -1;
    }
    bool bSouthOrWest = false;
    for (size_t i = 0; i < nText; ++i)
        bSouthOrWest = bSouthOrWest || text[i] == 'S' || text[i] == 'W';
    if (bSouthOrWest) sign = -sign;

    double parts[3] = {0, 0, 0}; // degrees, minutes, seconds
    int nParts = 0;
    const KQWCHAR* p = text;
    while (*p != 0) {
        while (*p != 0 && IsSeparator(*p, gx::g_szDmsStrTok))
            ++p;
        const KQWCHAR* pToken = p;
        while (*p != 0 && !IsSeparator(*p, gx::g_szDmsStrTok))
            ++p;
        if (p == pToken) break;
        double v = 0;
        if (nParts == 3 || !ReadNumber(pToken, p, v)) return 0; // a blank token reads nothing
        parts[nParts++] = v;
    }
    double a = ((parts[2] / 60 + parts[1]) / 60 + parts[0]) * sign;
    a = gx::FoldDegrees(a, (iFlags & (CS_LONGITUDE | CS_LATITUDE)) != 0);
    // Numbers beyond the doubles ("0x1p9999") make no angle: the text fails, the value stays 0.
    if (!std::isfinite(a)) return 0;
    dValue = (iFlags & CS_DEGREES) ? a : a * gx::kDegree;
    return 1;
}

} // namespace

int CCoordSystem::Value2String(double dValue, KQWCHAR* pszText, int iFlags, int iDecimals) {
    if (std::isnan(dValue)) return 0;
    if (iDecimals == -1) iDecimals = m_iPrecision;
    // Beyond these bounds every result is longer than 255 characters anyway; the bounds keep
    // the width decimals + 3 from overflowing.
    if (iDecimals > kMaxDecimals) iDecimals = kMaxDecimals;
    if (iDecimals < -kMaxDecimals) iDecimals = -kMaxDecimals;
    if (iFlags & CS_DMS) return AngleToText(dValue, iFlags, iDecimals, pszText);
    return PlainToText(dValue, iDecimals, pszText);
}

int CCoordSystem::String2Value(const KQWCHAR* pszText, double& dValue, int iFlags) {
    dValue = 0;
    if (pszText == nullptr) return 0; // no text is no number
    if (iFlags & CS_DMS) return TextToAngle(pszText, dValue, iFlags);
    return TextToPlain(pszText, dValue);
}

int CCoordSystem::XY2String(double dX, double dY, KQWCHAR* pszX, KQWCHAR* pszY, int iMode) {
    const int mode = iMode == -1 ? m_CRSystem.iUnProject : iMode;
    const int iExtra = mode == 1 ? CS_DMS : 0;
    const int iResultX = Value2String(dX, pszX, iExtra | CS_LONGITUDE, -1);
    const int iResultY = Value2String(dY, pszY, iExtra | CS_LATITUDE, -1);
    return iResultX * iResultY;
}

int CCoordSystem::String2XY(const KQWCHAR* pszX, const KQWCHAR* pszY, double& dX, double& dY,
                            int iMode) {
    const int mode = iMode == -1 ? m_CRSystem.iUnProject : iMode;
    const int iExtra = mode == 1 ? CS_DMS : 0;
    const int iResultX = String2Value(pszX, dX, iExtra | CS_LONGITUDE);
    const int iResultY = String2Value(pszY, dY, iExtra | CS_LATITUDE);
    return iResultX * iResultY;
}
