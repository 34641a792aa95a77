#include "platform/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace gx {

namespace {

const int kMaxPrecision = 350;

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool StartsWithNoCase(const char* psz, const char* pPrefix) {
    for (; *pPrefix != 0; ++psz, ++pPrefix)
        if ((*psz | 0x20) != *pPrefix) return false;
    return true;
}

// Copies the bytes of the result into the caller's buffer, cut to fit.
size_t Deliver(const char* pText, size_t nLength, char* pOut, size_t nCap) {
    if (nCap > 0) {
        const size_t n = nLength < nCap ? nLength : nCap - 1;
        std::memcpy(pOut, pText, n);
        pOut[n] = 0;
    }
    return nLength;
}

// Reads "inf", "infinity", "nan" or "nan(chars)" after the sign.
const char* ParseSpecial(const char* p, double& dValue) {
    if (StartsWithNoCase(p, "inf")) {
        dValue = HUGE_VAL;
        return p + (StartsWithNoCase(p, "infinity") ? 8 : 3);
    }
    if (StartsWithNoCase(p, "nan")) {
        dValue = std::nan("");
        p += 3;
        if (*p == '(') {
            const char* q = p + 1;
            while ((*q >= '0' && *q <= '9') || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z') ||
                   *q == '_')
                ++q;
            if (*q == ')') p = q + 1;
        }
        return p;
    }
    return nullptr;
}

// End of the mantissa of printed digits: the exponent's 'e', or the end.
size_t MantissaEnd(const char* p, size_t n) {
    const char* pE = static_cast<const char*>(std::memchr(p, 'e', n));
    return pE != nullptr ? static_cast<size_t>(pE - p) : n;
}

// Puts a point at the end of the mantissa when it has none ('#' flag); p has room for it.
size_t KeepPoint(char* p, size_t n) {
    const size_t nMantissa = MantissaEnd(p, n);
    if (std::memchr(p, '.', nMantissa) != nullptr) return n;
    std::memmove(p + nMantissa + 1, p + nMantissa, n - nMantissa);
    p[nMantissa] = '.';
    return n + 1;
}

// Drops the trailing zeros of the mantissa's decimals, and the point when none remain.
size_t StripZeros(char* p, size_t n) {
    const size_t nMantissa = MantissaEnd(p, n);
    if (std::memchr(p, '.', nMantissa) == nullptr) return n;
    size_t nKeep = nMantissa;
    while (p[nKeep - 1] == '0')
        --nKeep;
    if (p[nKeep - 1] == '.') --nKeep;
    std::memmove(p + nKeep, p + nMantissa, n - nMantissa);
    return n - (nMantissa - nKeep);
}

// The digits of a finite magnitude for the conversion 'f', 'e' or 'g' (lower case), as printf
// writes them; p holds at least kMaxPrecision + 330 bytes.
size_t FormatMagnitude(double a, char conversion, int precision, bool bPoint, char* p,
                       size_t nCap) {
    char* const pLimit = p + nCap - 2; // room for the point of the '#' flag
    auto print = [&](std::chars_format style, int digits) {
        return static_cast<size_t>(std::to_chars(p, pLimit, a, style, digits).ptr - p);
    };
    size_t n = 0;
    if (conversion == 'g') {
        // printf's choice: scientific unless the exponent of the value rounded to P
        // significant digits lies in [-4, P).
        const int significant = precision == 0 ? 1 : precision;
        n = print(std::chars_format::scientific, significant - 1);
        const size_t nMantissa = MantissaEnd(p, n);
        const char* pExponent = p + nMantissa + 1;
        const bool bNegative = *pExponent == '-';
        int exponent = 0;
        for (++pExponent; pExponent < p + n; ++pExponent)
            exponent = 10 * exponent + (*pExponent - '0');
        if (bNegative) exponent = -exponent;
        if (exponent >= -4 && exponent < significant)
            n = print(std::chars_format::fixed, significant - 1 - exponent);
        return bPoint ? KeepPoint(p, n) : StripZeros(p, n);
    }
    n = print(conversion == 'e' ? std::chars_format::scientific : std::chars_format::fixed,
              precision);
    return bPoint ? KeepPoint(p, n) : n;
}

} // namespace

size_t FormatFloat(double v, const FloatFormat& format, char* pOut, size_t nCap) {
    const int precision = format.iPrecision < 0               ? 6
                          : format.iPrecision > kMaxPrecision ? kMaxPrecision
                                                              : format.iPrecision;
    const bool bUpper = format.cConversion >= 'A' && format.cConversion <= 'Z';
    const char conversion = static_cast<char>(format.cConversion | 0x20);
    char digits[kMaxPrecision + 330];
    size_t nDigits = 0;
    const bool bFinite = std::isfinite(v);
    if (!bFinite) {
        const char* pWord = std::isnan(v) ? "nan" : "inf";
        std::memcpy(digits, pWord, 3);
        nDigits = 3;
    } else {
        nDigits = FormatMagnitude(std::fabs(v), conversion, precision, format.bPoint, digits,
                                  sizeof(digits));
    }
    if (bUpper)
        for (size_t i = 0; i < nDigits; ++i)
            if (digits[i] >= 'a' && digits[i] <= 'z') digits[i] = static_cast<char>(digits[i] - 32);
    const char sign = std::signbit(v) ? '-' : format.bPlus ? '+' : format.bSpace ? ' ' : 0;
    const size_t nBody = nDigits + (sign != 0 ? 1 : 0);
    const size_t nWidth = format.iWidth > 0 ? static_cast<size_t>(format.iWidth) : 0;
    const size_t nPad = nWidth > nBody ? nWidth - nBody : 0;

    char text[sizeof(digits) + 8];
    char* pText = text;
    const size_t nShownPad = nPad < 2 * sizeof(digits) ? nPad : 0; // widths this large never fit
    const bool bZeros = format.bZeroPad && !format.bLeft && bFinite;
    size_t n = 0;
    auto put = [&](char c) {
        if (n < sizeof(text)) pText[n] = c;
        ++n;
    };
    if (!format.bLeft && !bZeros)
        for (size_t i = 0; i < nShownPad; ++i)
            put(' ');
    if (sign != 0) put(sign);
    if (bZeros)
        for (size_t i = 0; i < nShownPad; ++i)
            put('0');
    for (size_t i = 0; i < nDigits; ++i)
        put(digits[i]);
    if (format.bLeft)
        for (size_t i = 0; i < nShownPad; ++i)
            put(' ');
    const size_t nLength = nBody + nPad;
    Deliver(text, n < sizeof(text) ? n : sizeof(text), pOut, nCap);
    return nLength;
}

size_t FormatInt(long long v, char* pOut, size_t nCap) {
    char text[24];
    auto result = std::to_chars(text, text + sizeof(text), v);
    return Deliver(text, static_cast<size_t>(result.ptr - text), pOut, nCap);
}

// Reads hexadecimal digits with an optional point and a binary exponent "p[+-]digits", as
// strtod does; the first 16 significant digits count (64 bits, more than a double holds).
const char* ParseHexFloat(const char* p, double& dValue) {
    uint64_t mantissa = 0;
    long long exponent = 0;
    int nSignificant = 0;
    bool bDigits = false, bPoint = false;
    for (;; ++p) {
        const int c = *p | 0x20;
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (*p == '.' && !bPoint) {
            bPoint = true;
            continue;
        } else
            break;
        bDigits = true;
        if (nSignificant < 16) {
            mantissa = mantissa * 16 + static_cast<uint64_t>(digit);
            if (mantissa != 0) ++nSignificant;
            if (bPoint) exponent -= 4;
        } else if (!bPoint) {
            exponent += 4; // a digit beyond the 64 bits only scales
        }
    }
    if (!bDigits) return nullptr;
    if ((*p | 0x20) == 'p') {
        const char* q = p + 1;
        const bool bNegative = *q == '-';
        if (*q == '-' || *q == '+') ++q;
        if (*q >= '0' && *q <= '9') {
            long long e = 0;
            for (; *q >= '0' && *q <= '9'; ++q)
                if (e < 100000) e = e * 10 + (*q - '0');
            exponent += bNegative ? -e : e;
            p = q;
        }
    }
    const long long clamped = exponent > 100000 ? 100000 : exponent < -100000 ? -100000 : exponent;
    dValue = std::ldexp(static_cast<double>(mantissa), static_cast<int>(clamped));
    return p;
}

// A decimal number out of the double's range: true when it is too large (infinite), false when
// too small (zero). Its order of magnitude is the position of the first non-zero digit plus
// the exponent.
bool DecimalOverflows(const char* p, const char* pEnd) {
    long long magnitude = 0;
    bool bLeading = true, bPoint = false;
    for (; p < pEnd && ((*p >= '0' && *p <= '9') || *p == '.'); ++p) {
        if (*p == '.') {
            bPoint = true;
        } else if (bLeading && *p == '0') {
            if (bPoint) --magnitude;
        } else {
            if (bLeading && bPoint) --magnitude;
            bLeading = false;
            if (!bPoint) ++magnitude;
        }
    }
    if (p < pEnd && (*p | 0x20) == 'e') {
        ++p;
        const bool bNegative = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        long long e = 0;
        for (; p < pEnd && *p >= '0' && *p <= '9'; ++p)
            if (e < 1000000) e = e * 10 + (*p - '0');
        magnitude += bNegative ? -e : e;
    }
    return magnitude > 0;
}

bool ParseDouble(const char* psz, double& dValue, const char** ppEnd) {
    const char* p = psz;
    while (IsSpace(*p))
        ++p;
    const bool bNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    double v = 0;
    const char* pEnd = ParseSpecial(p, v);
    if (pEnd == nullptr) {
        if (p[0] == '0' && (p[1] | 0x20) == 'x') {
            pEnd = ParseHexFloat(p + 2, v);
            if (pEnd == nullptr) {
                v = 0; // "0x" without hexadecimal digits reads as the 0 before the x
                pEnd = p + 1;
            }
        } else {
            auto result = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
            if (result.ec == std::errc::invalid_argument) return false;
            pEnd = result.ptr;
            if (result.ec == std::errc::result_out_of_range)
                v = DecimalOverflows(p, pEnd) ? HUGE_VAL : 0.0; // as scanf gives
        }
    }
    dValue = bNegative ? -v : v;
    if (ppEnd != nullptr) *ppEnd = pEnd;
    return true;
}

bool ParseInt(const char* psz, int32_t& iValue, const char** ppEnd) {
    const char* p = psz;
    while (IsSpace(*p))
        ++p;
    const bool bNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int base = 10;
    if (p[0] == '0' && (p[1] | 0x20) == 'x' && std::isxdigit(static_cast<unsigned char>(p[2]))) {
        base = 16;
        p += 2;
    } else if (p[0] == '0') {
        base = 8;
    }
    const char* pStart = p;
    long long v = 0;
    for (;; ++p) {
        int digit;
        const char c = *p;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            digit = (c | 0x20) - 'a' + 10;
        else
            break;
        if (digit >= base) break;
        if (v < (1LL << 40)) v = v * base + digit; // saturates below
    }
    if (p == pStart) return false;
    if (bNegative) v = -v;
    iValue = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
    if (ppEnd != nullptr) *ppEnd = p;
    return true;
}

namespace {

// The ASCII prefix of a UTF-16 text as 8-bit text: enough for any number, which never holds
// other characters.
size_t NarrowPrefix(const KQWCHAR* psz, char* pOut, size_t nCap) {
    size_t n = 0;
    for (; n + 1 < nCap && psz[n] != 0 && psz[n] < 0x80; ++n)
        pOut[n] = static_cast<char>(psz[n]);
    pOut[n] = 0;
    return n;
}

} // namespace

bool KqParseDouble(const KQWCHAR* psz, double& dValue, const KQWCHAR** ppEnd) {
    char text[512];
    NarrowPrefix(psz, text, sizeof(text));
    const char* pEnd = nullptr;
    if (!ParseDouble(text, dValue, &pEnd)) return false;
    if (ppEnd != nullptr) *ppEnd = psz + (pEnd - text);
    return true;
}

int32_t KqToInt(const KQWCHAR* psz) {
    char text[64];
    NarrowPrefix(psz, text, sizeof(text));
    const char* p = text;
    while (IsSpace(*p))
        ++p;
    const bool bNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (v < (1LL << 40)) v = v * 10 + (*p - '0');
    if (bNegative) v = -v;
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

double KqToDouble(const KQWCHAR* psz) {
    double v = 0;
    return KqParseDouble(psz, v) ? v : 0.0;
}

KqTextBuilder::KqTextBuilder(KQWCHAR* pBuffer, size_t nCap) : m_pBuffer(pBuffer), m_nCap(nCap) {
    if (m_nCap > 0) m_pBuffer[0] = 0;
}

void KqTextBuilder::AppendChar(KQWCHAR c) {
    if (m_nLength + 1 < m_nCap) {
        m_pBuffer[m_nLength++] = c;
        m_pBuffer[m_nLength] = 0;
    } else {
        m_bOverflow = true;
    }
}

void KqTextBuilder::Append(const KQWCHAR* psz) {
    for (; *psz != 0; ++psz)
        AppendChar(*psz);
}

void KqTextBuilder::AppendAscii(const char* psz) {
    for (; *psz != 0; ++psz)
        AppendChar(static_cast<KQWCHAR>(static_cast<unsigned char>(*psz)));
}

void KqTextBuilder::AppendInt(long long v) {
    char text[24];
    FormatInt(v, text, sizeof(text));
    AppendAscii(text);
}

void KqTextBuilder::AppendFixed(double v, int iPrecision) {
    char text[kMaxPrecision + 340];
    FloatFormat format;
    format.iPrecision = iPrecision;
    FormatFloat(v, format, text, sizeof(text));
    AppendAscii(text);
}

} // namespace gx
