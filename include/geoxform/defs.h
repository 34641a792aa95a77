// Common definitions of the geoxform public interface: the export macro, the 16-bit text
// type and the flags of the value text functions.
#ifndef GEOXFORM_DEFS_H
#define GEOXFORM_DEFS_H

#if defined(_WIN32)
#if defined(GEOXFORM_STATIC)
#define GEOXFORM_API
#elif defined(GEOXFORM_BUILDING)
#define GEOXFORM_API __declspec(dllexport)
#else
#define GEOXFORM_API __declspec(dllimport)
#endif
#else
#define GEOXFORM_API __attribute__((visibility("default")))
#endif

// Every character of the interface is one UTF-16 code unit. Windows' wchar_t is exactly that;
// elsewhere char16_t is.
#if defined(_WIN32)
typedef wchar_t KQWCHAR;
#define KQ_T(text) L##text
#else
typedef char16_t KQWCHAR;
#define KQ_T(text) u##text
#endif

static_assert(sizeof(KQWCHAR) == 2, "KQWCHAR must be a 16-bit code unit");

// Flags of CCoordSystem::Value2String and String2Value (other bits are ignored).
enum {
    CS_LONGITUDE = 0x200,   // x value or longitude: hemisphere letters E/W
    CS_LATITUDE = 0x400,    // y value or latitude: hemisphere letters N/S
    CS_DEGREES = 0x2000000, // parsing only: deliver the angle in degrees instead of radians
    CS_DMS = 0x8000000      // angle text as degrees, minutes and seconds; value in radians
};

#endif
