// Windows-1252, the ANSI code page assumed where the system has none.
#ifndef GEOXFORM_CODEPAGE_1252_H
#define GEOXFORM_CODEPAGE_1252_H

#include <cstdint>

namespace gx {

// UTF-16 of the bytes 0x80 to 0x9F; the five bytes Windows leaves undefined map to the C1
// control of the same value, as the system conversion does.
extern const uint16_t kCp1252High[32];

inline uint16_t Cp1252ToUtf16(unsigned char c) {
    return (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : c;
}

// The byte of a UTF-16 unit in Windows-1252, or -1 when the code page lacks it.
int Utf16ToCp1252(uint16_t u);

} // namespace gx

#endif
