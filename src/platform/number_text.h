// Numbers in text, independent of the C locale: printing in fixed notation and reading the
// way the C library's scanf and ato* functions read, on 8-bit and on UTF-16 text.
#ifndef GEOXFORM_NUMBER_TEXT_H
#define GEOXFORM_NUMBER_TEXT_H

#include <cstddef>
#include <cstdint>

#include "geoxform/defs.h"

namespace gx {

// Flags of one "%f" conversion.
struct FloatFormat {
    bool bLeft = false;    // '-'
    bool bPlus = false;    // '+'
    bool bSpace = false;   // ' '
    bool bZeroPad = false; // '0'
    bool bPoint = false;   // '#': keep the point when there are no decimals
    int iWidth = 0;
    int iPrecision = 6;
    char cConversion = 'f'; // 'f', 'F', 'e', 'E', 'g' or 'G'
};

// Prints v as printf's "%f" (or the conversion of the format) would with these flags, with a
// point as decimal separator, into pOut (nCap bytes, cut to fit and NUL-terminated). Returns
// the full length, which may exceed nCap - 1. Precisions above 350 print as 350: a longer
// text never fits any result anyway.
size_t FormatFloat(double v, const FloatFormat& format, char* pOut, size_t nCap);

// Prints an integer as "%i".
size_t FormatInt(long long v, char* pOut, size_t nCap);

// Reads a floating-point number as scanf's "%lf": leading white space, sign, decimal or
// hexadecimal digits, exponent, "inf", "nan". False when no number starts the text. *ppEnd
// (when given) receives the first character after the number.
bool ParseDouble(const char* psz, double& dValue, const char** ppEnd = nullptr);

// Reads an integer as scanf's "%i": sign, then hexadecimal after "0x", octal after a leading
// "0", else decimal. Values beyond 32 bits saturate.
bool ParseInt(const char* psz, int32_t& iValue, const char** ppEnd = nullptr);

// The same readers on UTF-16 text; characters outside ASCII end the number.
bool KqParseDouble(const KQWCHAR* psz, double& dValue, const KQWCHAR** ppEnd = nullptr);

// As the C library's _wtoi and _wtof: 0 when nothing can be read.
int32_t KqToInt(const KQWCHAR* psz);
double KqToDouble(const KQWCHAR* psz);

// Appends to a fixed UTF-16 buffer; text that does not fit is cut and remembered.
class KqTextBuilder {
public:
    KqTextBuilder(KQWCHAR* pBuffer, size_t nCap);
    void Append(const KQWCHAR* psz);
    void AppendAscii(const char* psz);
    void AppendChar(KQWCHAR c);
    void AppendInt(long long v);
    void AppendFixed(double v, int iPrecision);
    size_t Length() const { return m_nLength; }
    bool Overflowed() const { return m_bOverflow; }

private:
    KQWCHAR* m_pBuffer;
    size_t m_nCap;
    size_t m_nLength = 0;
    bool m_bOverflow = false;
};

} // namespace gx

#endif
