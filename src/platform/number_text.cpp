#include "platform/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

// The digits come from std::to_chars and std::from_chars, which print and read correctly
// rounded, independent of the C locale, as printf and strtod do in the "C" locale. What is
// left here is what the C library adds around them: blanks, signs, the "0x" prefix, padding,
// the '#' and 'g' rules, and the values of numbers out of range.

namespace gx {

namespace {

const int kMaxPrecision = 350;

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips leading white space and one sign, as scanf does.
const char* SkipBlanksAndSign(const char* p, bool& bNegative) {
    while (IsSpace(*p))
        ++p;
    bNegative = *p == '-';
    return *p == '-' || *p == '+' ? p + 1 : p;
}

// "0x" or "0X" followed by a hexadecimal digit (or by a point, bPoint).
bool HexPrefix(const char* p, bool bPoint) {
    return p[0] == '0' && (p[1] | 0x20) == 'x' &&
           (std::isxdigit(static_cast<unsigned char>(p[2])) || (bPoint && p[2] == '.'));
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
        // C standard, fprintf: scientific unless the exponent X of the value rounded to P
        // significant digits lies in [-4, P); then fixed with P - 1 - X decimals.
        const int significant = precision == 0 ? 1 : precision;
        n = print(std::chars_format::scientific, significant - 1);
        const char* pExponent = p + MantissaEnd(p, n) + 1;
        if (*pExponent == '+') ++pExponent;
        int exponent = 0;
        std::from_chars(pExponent, p + n, exponent);
        if (exponent >= -4 && exponent < significant)
            n = print(std::chars_format::fixed, significant - 1 - exponent);
        return bPoint ? KeepPoint(p, n) : StripZeros(p, n);
    }
    n = print(conversion == 'e' ? std::chars_format::scientific : std::chars_format::fixed,
              precision);
    return bPoint ? KeepPoint(p, n) : n;
}

// A number std::from_chars found out of the double's range: true when it is too large
// (strtod gives infinity), false when too small (zero). Its order of magnitude, in units of
// its exponent's base, is the place of its first non-zero digit plus the exponent; every
// number out of range lies far enough from 1 for this count to decide.
bool TooLarge(const char* p, const char* pEnd, bool bHex) {
    const long long digitScale = bHex ? 4 : 1; // a hexadecimal digit is 4 binary places
    const char exponentMark = bHex ? 'p' : 'e';
    long long magnitude = 0;
    bool bPoint = false, bLeading = true;
    for (; p < pEnd && (*p | 0x20) != exponentMark; ++p) {
        if (*p == '.')
            bPoint = true;
        else if (*p != '0')
            bLeading = false;
        if (!bPoint && !bLeading)
            magnitude += digitScale; // a digit before the point
        else if (bPoint && bLeading)
            magnitude -= digitScale; // a zero after the point, before the first other digit
    }
    if (p < pEnd) {
        const char* pDigits = p[1] == '+' ? p + 2 : p + 1;
        long long exponent = 0;
        if (std::from_chars(pDigits, pEnd, exponent).ec == std::errc::result_out_of_range)
            exponent = *pDigits == '-' ? LLONG_MIN : LLONG_MAX;
        magnitude += std::clamp(exponent, -(1LL << 40), 1LL << 40);
    }
    return magnitude > 0;
}

// Reads unsigned digits in the base after the blanks and the sign, base 0 choosing it by the
// prefix as "%i" does: hexadecimal after "0x" followed by a digit, octal after "0". Values
// beyond 32 bits saturate. Returns the end, or nullptr when there are no digits.
const char* ReadInteger(const char* psz, int base, int32_t& iValue) {
    bool bNegative = false;
    const char* p = SkipBlanksAndSign(psz, bNegative);
    const bool bHex = base == 0 && HexPrefix(p, false);
    if (base == 0) base = bHex ? 16 : p[0] == '0' ? 8 : 10;
    if (bHex) p += 2;
    unsigned long long magnitude = 0;
    const auto result = std::from_chars(p, p + std::strlen(p), magnitude, base);
    if (result.ec == std::errc::invalid_argument) return nullptr;
    const unsigned long long limit = bNegative ? 1ULL << 31 : INT32_MAX;
    if (result.ec == std::errc::result_out_of_range || magnitude > limit) magnitude = limit;
    iValue = bNegative ? static_cast<int32_t>(-static_cast<long long>(magnitude))
                       : static_cast<int32_t>(magnitude);
    return result.ptr;
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
    const size_t nShownPad = nPad < sizeof(text) ? nPad : sizeof(text); // the rest is cut anyway
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

bool ParseDouble(const char* psz, double& dValue, const char** ppEnd) {
    bool bNegative = false;
    const char* p = SkipBlanksAndSign(psz, bNegative);
    if (*p == '-') return false; // std::from_chars would take a second sign
    const char* const pLast = p + std::strlen(p);
    double v = 0;
    // "0x" and a hexadecimal digit or point start a hexadecimal number, which std::from_chars
    // reads without its prefix; otherwise "0x" reads as the 0 before the x.
    const char* pDigits = p;
    std::from_chars_result result{p, std::errc::invalid_argument};
    if (HexPrefix(p, true)) {
        pDigits = p + 2;
        result = std::from_chars(pDigits, pLast, v, std::chars_format::hex);
    }
    if (result.ec == std::errc::invalid_argument) {
        pDigits = p;
        result = std::from_chars(p, pLast, v, std::chars_format::general);
        if (result.ec == std::errc::invalid_argument) return false;
    }
    if (result.ec == std::errc::result_out_of_range)
        v = TooLarge(pDigits, result.ptr, pDigits != p) ? HUGE_VAL : 0.0;
    dValue = bNegative ? -v : v;
    if (ppEnd != nullptr) *ppEnd = result.ptr;
    return true;
}

bool ParseInt(const char* psz, int32_t& iValue, const char** ppEnd) {
    const char* pEnd = ReadInteger(psz, 0, iValue);
    if (pEnd != nullptr && ppEnd != nullptr) *ppEnd = pEnd;
    return pEnd != nullptr;
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
    int32_t v = 0;
    return ReadInteger(text, 10, v) != nullptr ? v : 0;
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
