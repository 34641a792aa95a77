#include "refdata/dms_format.h"

#include <climits>

#include "platform/number_text.h"
#include "platform/wide_string.h"

namespace gx {

namespace {

// Widths and precisions written in a format above this can never fit a 255-character result.
const int kMaxFieldNumber = 255;
const int kNumValues = 4; // conversions: degrees, minutes, seconds, hemisphere

// One conversion of the format: flags, width, precision and type.
struct Conversion {
    bool bLeft = false;
    bool bPlus = false;
    bool bSpace = false;
    bool bZero = false;
    bool bAlternate = false;
    bool bStarWidth = false;
    bool bStarPrecision = false;
    int iWidth = 0;
    int iPrecision = -1; // -1: none written
    char cType = 0;      // 'f', 'F', 'e', 'E', 'g', 'G' or 's'
};

bool IsDigit(KQWCHAR c) {
    return c >= '0' && c <= '9';
}

// Reads decimal digits; false when the number exceeds kMaxFieldNumber.
bool ReadFieldNumber(const KQWCHAR*& p, int& iValue) {
    iValue = 0;
    for (; IsDigit(*p); ++p) {
        iValue = 10 * iValue + (*p - '0');
        if (iValue > kMaxFieldNumber) return false;
    }
    return true;
}

// Reads one conversion after its '%'. Null when it is malformed or of a kind never accepted.
const KQWCHAR* ReadConversion(const KQWCHAR* p, Conversion& c) {
    for (;; ++p) {
        if (*p == '-')
            c.bLeft = true;
        else if (*p == '+')
            c.bPlus = true;
        else if (*p == ' ')
            c.bSpace = true;
        else if (*p == '0')
            c.bZero = true;
        else if (*p == '#')
            c.bAlternate = true;
        else
            break;
    }
    if (*p == '*') {
        c.bStarWidth = true;
        ++p;
    } else if (!ReadFieldNumber(p, c.iWidth)) {
        return nullptr;
    }
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            c.bStarPrecision = true;
            ++p;
        } else if (!ReadFieldNumber(p, c.iPrecision)) { // "." alone is precision 0
            return nullptr;
        }
    }
    if (*p == 'l') ++p; // "%lf" is "%f"; "%ls" is the wide string the values carry
    switch (*p) {
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 's':
        c.cType = static_cast<char>(*p);
        return p + 1;
    case 'S': // the wide string as well: the values hold no other kind of string
        c.cType = 's';
        return p + 1;
    default: // %n, %d, %c, %p, positional "%1$", "ll", "L", "h"...: refused
        return nullptr;
    }
}

// Whether a conversion takes the value at the position: doubles for the degrees and minutes,
// a double with '*' width and '*' precision for the seconds, a string for the hemisphere.
bool TakesValue(const Conversion& c, int iPosition) {
    const bool bDouble = c.cType != 's';
    const bool bStar = c.bStarWidth || c.bStarPrecision;
    switch (iPosition) {
    case 0:
    case 1:
        return bDouble && !bStar;
    case 2:
        return bDouble && c.bStarWidth && c.bStarPrecision;
    case 3: // a string takes only '-', a width and a precision
        return !bDouble && !bStar && !c.bPlus && !c.bSpace && !c.bZero && !c.bAlternate;
    default:
        return false;
    }
}

// Walks the format, handing literal characters to onText and each accepted conversion with
// its position to onConversion. False, after handing out a prefix, when the format is refused.
template <class OnText, class OnConversion>
bool WalkFormat(const KQWCHAR* pszFormat, OnText onText, OnConversion onConversion) {
    if (pszFormat == nullptr) return false;
    int iPosition = 0;
    for (const KQWCHAR* p = pszFormat; *p != 0;) {
        if (*p != '%') {
            onText(*p++);
        } else if (p[1] == '%') {
            onText(KQWCHAR('%'));
            p += 2;
        } else {
            Conversion c;
            p = ReadConversion(p + 1, c);
            if (p == nullptr || !TakesValue(c, iPosition)) return false;
            onConversion(c, iPosition++);
        }
    }
    return iPosition == kNumValues;
}

// Output cut to the buffer that still counts the full length.
class Output {
public:
    Output(KQWCHAR* pBuffer, size_t nCap) : m_pBuffer(pBuffer), m_nCap(nCap) {}
    void Put(KQWCHAR c) {
        if (m_nLength + 1 < m_nCap) m_pBuffer[m_nLength] = c;
        ++m_nLength;
    }
    void PutSpaces(size_t n) {
        for (size_t i = 0; i < n; ++i)
            Put(' ');
    }
    // nLength characters of which the first nShown are in pText.
    void PutAscii(const char* pText, size_t nShown, size_t nLength) {
        for (size_t i = 0; i < nShown; ++i)
            Put(static_cast<KQWCHAR>(static_cast<unsigned char>(pText[i])));
        m_nLength += nLength - nShown;
    }
    size_t Finish() {
        if (m_nCap > 0) m_pBuffer[m_nLength < m_nCap ? m_nLength : m_nCap - 1] = 0;
        return m_nLength;
    }

private:
    KQWCHAR* m_pBuffer;
    size_t m_nCap;
    size_t m_nLength = 0;
};

void PutDouble(Output& out, const Conversion& c, double v, int iWidth, int iPrecision) {
    FloatFormat format;
    format.bLeft = c.bLeft;
    format.bPlus = c.bPlus;
    format.bSpace = c.bSpace;
    format.bZeroPad = c.bZero;
    format.bPoint = c.bAlternate;
    format.cConversion = c.cType;
    // printf's rules for '*' values: a negative width is the '-' flag with the width's
    // magnitude, a negative precision counts as none written (6).
    if (iWidth < 0) {
        format.bLeft = true;
        iWidth = iWidth == INT_MIN ? INT_MAX : -iWidth;
    }
    format.iWidth = iWidth;
    format.iPrecision = iPrecision;
    char text[1024];
    const size_t nLength = FormatFloat(v, format, text, sizeof(text));
    out.PutAscii(text, nLength < sizeof(text) ? nLength : sizeof(text) - 1, nLength);
}

void PutString(Output& out, const Conversion& c, const KQWCHAR* psz) {
    static const KQWCHAR s_empty[1] = {0};
    if (psz == nullptr) psz = s_empty;
    size_t n = KqLen(psz);
    if (c.iPrecision >= 0 && static_cast<size_t>(c.iPrecision) < n)
        n = static_cast<size_t>(c.iPrecision);
    const size_t nWidth = static_cast<size_t>(c.iWidth);
    const size_t nPad = nWidth > n ? nWidth - n : 0;
    if (!c.bLeft) out.PutSpaces(nPad);
    for (size_t i = 0; i < n; ++i)
        out.Put(psz[i]);
    if (c.bLeft) out.PutSpaces(nPad);
}

} // namespace

bool IsValidDmsFormat(const KQWCHAR* pszFormat) {
    return WalkFormat(
        pszFormat, [](KQWCHAR) {}, [](const Conversion&, int) {});
}

bool FormatDms(const KQWCHAR* pszFormat, const DmsValues& values, KQWCHAR* pOut, size_t nCap,
               size_t& nLength) {
    Output out(pOut, nCap);
    nLength = 0;
    if (!IsValidDmsFormat(pszFormat)) {
        out.Finish();
        return false;
    }
    WalkFormat(
        pszFormat, [&](KQWCHAR c) { out.Put(c); },
        [&](const Conversion& c, int iPosition) {
            switch (iPosition) {
            case 0:
                PutDouble(out, c, values.dDegrees, c.iWidth, c.iPrecision);
                break;
            case 1:
                PutDouble(out, c, values.dMinutes, c.iWidth, c.iPrecision);
                break;
            case 2:
                PutDouble(out, c, values.dSeconds, values.iSecondsWidth, values.iSecondsPrecision);
                break;
            default:
                PutString(out, c, values.pszHemisphere);
                break;
            }
        });
    nLength = out.Finish();
    return true;
}

} // namespace gx
