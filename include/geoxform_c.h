/* geoxform's C interface: plain C names in the same shared library as the C++ interface, for
 * hosts built with any compiler and for other languages (ctypes, P/Invoke, Delphi, ...).
 *
 * Compiles as C99 and as C++. Every function returns a status code (GEOXFORM_OK is 0) and
 * never throws; geoxform_status_message() names each code.
 *
 * Units: longitudes and latitudes in degrees east of Greenwich and north; plane coordinates
 * in the system's own unit (metres, feet, ... as its EPSG definition says); sheet coordinates
 * in millimetres on the sheet. Value text keeps the C++ members' conventions and flags:
 * angles in radians unless GEOXFORM_CS_DEGREES asks for degrees when parsing.
 *
 * Text is UTF-8. An output text goes to a caller's buffer of `size` bytes: the call writes at
 * most `size` bytes including the terminating zero, stores the size it needs (terminator
 * included) in `*needed` when `needed` is not null, and returns GEOXFORM_E_BUFFER when the
 * text did not fit (the buffer then holds nothing: its first byte is 0 when size > 0).
 *
 * Arrays: n points, each array given by its first element and a stride in bytes between
 * consecutive elements, so that separate arrays (stride 8) and interleaved ones (stride 16,
 * the second array starting 8 bytes later) both work. A stride is a non-zero multiple of 8
 * and may be negative. The outputs may be the inputs themselves (same pointers and strides).
 * A point that cannot be converted (a non-finite input, or a result that is not finite)
 * gives NaN in both of its outputs; the call then returns GEOXFORM_E_POINTS and stores the
 * number of such points in `*failed` (when not null; 0 when every point converted).
 *
 * Threads: geoxform_init and geoxform_free must not run while any other call of the library
 * runs. A system may be used by several threads at once for every call that takes it as
 * `const geoxform_system*`; geoxform_system_set_sheet and geoxform_system_free need it to
 * themselves. Separate systems are independent.
 */
#ifndef GEOXFORM_C_H
#define GEOXFORM_C_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(GEOXFORM_STATIC)
#define GEOXFORM_C_API
#elif defined(GEOXFORM_BUILDING)
#define GEOXFORM_C_API __declspec(dllexport)
#else
#define GEOXFORM_C_API __declspec(dllimport)
#endif
#else
#define GEOXFORM_C_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. */
enum {
    GEOXFORM_OK = 0,
    GEOXFORM_E_NULL = 1,        /* a required handle or pointer is null */
    GEOXFORM_E_ARGUMENT = 2,    /* a count, stride, flag or selector is out of range */
    GEOXFORM_E_NO_DATA = 3,     /* the reference data is not loaded (geoxform_init) */
    GEOXFORM_E_DATA = 4,        /* the reference data could not be loaded */
    GEOXFORM_E_UNKNOWN_CODE = 5, /* no predefined system has this EPSG code */
    GEOXFORM_E_INVALID = 6,     /* the record or text form does not validate */
    GEOXFORM_E_NO_PROJECTION = 7, /* the system has no map projection */
    GEOXFORM_E_TEXT = 8,        /* malformed text, or text that is not UTF-8 */
    GEOXFORM_E_BUFFER = 9,      /* the output buffer is too small (see `needed`) */
    GEOXFORM_E_POINTS = 10,     /* some points could not be converted (NaN in their output) */
    GEOXFORM_E_MEMORY = 11      /* memory is exhausted */
};

/* Flags of the value text calls: the values of the C++ interface's CS_* flags. */
enum {
    GEOXFORM_CS_LONGITUDE = 0x200,
    GEOXFORM_CS_LATITUDE = 0x400,
    GEOXFORM_CS_DEGREES = 0x2000000,
    GEOXFORM_CS_DMS = 0x8000000
};

/* Selectors of geoxform_system_name. */
enum {
    GEOXFORM_NAME_SYSTEM = 0,
    GEOXFORM_NAME_METHOD = 1,
    GEOXFORM_NAME_DATUM = 2,
    GEOXFORM_NAME_ELLIPSOID = 3,
    GEOXFORM_NAME_PRIME_MERIDIAN = 4,
    GEOXFORM_NAME_UNITS = 5,
    GEOXFORM_NAME_AREA = 6 /* the area of use */
};

/* A coordinate system: a predefined or user-defined projected system with its projection. */
typedef struct geoxform_system geoxform_system;

/* Numbers describing a system. */
typedef struct geoxform_system_info {
    int32_t code;           /* EPSG code; below 1 for a user-defined system */
    int32_t method_code;    /* EPSG conversion method code */
    int32_t projection;     /* projection method number 1 to 25 */
    int32_t datum_code;
    int32_t ellipsoid_code;
    int32_t area_code;      /* EPSG area of use code, 0 when unknown */
    double metres_per_unit; /* the system's unit of plane coordinates */
    double semi_major_axis; /* metres */
    double inverse_flattening;
    double prime_meridian;  /* degrees east of Greenwich */
} geoxform_system_info;

/* ---- Library and reference data ---------------------------------------------------------- */

/* The library's version, "MAJOR.MINOR.PATCH"; never null. */
GEOXFORM_C_API const char* geoxform_version(void);
/* A short English message for a status code; never null (unknown codes have one too). */
GEOXFORM_C_API const char* geoxform_status_message(int status);

/* Loads the reference data from a directory (UTF-8), or from Support/ beside the library when
 * `directory` is null; replaces data loaded before. GEOXFORM_E_DATA when none could be read. */
GEOXFORM_C_API int geoxform_init(const char* directory);
/* Releases the reference data. Systems made before must be freed first. */
GEOXFORM_C_API int geoxform_free(void);

/* The number of predefined systems, and the EPSG code (`code` is required) and name of the one
 * at an index from 0. */
GEOXFORM_C_API int geoxform_predefined_count(int64_t* count);
GEOXFORM_C_API int geoxform_predefined(int64_t index, int32_t* code, char* name, size_t size,
                                       size_t* needed);

/* ---- Systems ------------------------------------------------------------------------------ */

/* A predefined system by its EPSG code. */
GEOXFORM_C_API int geoxform_system_from_epsg(int32_t code, geoxform_system** system);
/* A system from its one-line text form (UTF-8), validated and completed. */
GEOXFORM_C_API int geoxform_system_from_text(const char* text, geoxform_system** system);
/* A system from a filled KQCRSystem record of the C++ interface (`size` bytes, its iSize). */
GEOXFORM_C_API int geoxform_system_from_record(const void* record, size_t size,
                                               geoxform_system** system);
/* Frees a system; null is ignored. */
GEOXFORM_C_API void geoxform_system_free(geoxform_system* system);

/* The completed record's one-line text form, and its names. */
GEOXFORM_C_API int geoxform_system_text_form(const geoxform_system* system, char* text,
                                             size_t size, size_t* needed);
GEOXFORM_C_API int geoxform_system_name(const geoxform_system* system, int which, char* text,
                                        size_t size, size_t* needed);
GEOXFORM_C_API int geoxform_system_get_info(const geoxform_system* system,
                                            geoxform_system_info* info);

/* ---- Points ------------------------------------------------------------------------------- */

/* Longitude and latitude in degrees to plane coordinates in the system's unit. */
GEOXFORM_C_API int geoxform_forward(const geoxform_system* system, int64_t n, const double* lon,
                                    int64_t lon_stride, const double* lat, int64_t lat_stride,
                                    double* x, int64_t x_stride, double* y, int64_t y_stride,
                                    int64_t* failed);
/* Plane coordinates in the system's unit to longitude and latitude in degrees. */
GEOXFORM_C_API int geoxform_inverse(const geoxform_system* system, int64_t n, const double* x,
                                    int64_t x_stride, const double* y, int64_t y_stride,
                                    double* lon, int64_t lon_stride, double* lat,
                                    int64_t lat_stride, int64_t* failed);

/* The sheet: a drawing scale (real length per sheet length, > 0) and the fixed point of the
 * scaling in sheet millimetres. A new system has scale 1 and fixed point (0, 0). */
GEOXFORM_C_API int geoxform_system_set_sheet(geoxform_system* system, double scale,
                                             double fixed_x, double fixed_y);
/* Sheet millimetres to user coordinates and back: plane coordinates in the system's unit,
 * or longitude and latitude in degrees when `geographic` is 1. */
GEOXFORM_C_API int geoxform_sheet_to_user(const geoxform_system* system, int geographic,
                                          int64_t n, const double* sx, int64_t sx_stride,
                                          const double* sy, int64_t sy_stride, double* ux,
                                          int64_t ux_stride, double* uy, int64_t uy_stride,
                                          int64_t* failed);
GEOXFORM_C_API int geoxform_user_to_sheet(const geoxform_system* system, int geographic,
                                          int64_t n, const double* ux, int64_t ux_stride,
                                          const double* uy, int64_t uy_stride, double* sx,
                                          int64_t sx_stride, double* sy, int64_t sy_stride,
                                          int64_t* failed);

/* ---- Text --------------------------------------------------------------------------------- */

/* A value as text (CCoordSystem::Value2String), with `decimals` decimals. */
GEOXFORM_C_API int geoxform_value_to_text(const geoxform_system* system, double value,
                                          int flags, int decimals, char* text, size_t size,
                                          size_t* needed);
/* Text to a value (CCoordSystem::String2Value, which reads a plain number as far as it goes). */
GEOXFORM_C_API int geoxform_text_to_value(const geoxform_system* system, const char* text,
                                          int flags, double* value);

/* ---- Measurement -------------------------------------------------------------------------- */

/* Length of a polyline and area of a polygon (even-odd fill) of n (x, y) pairs of sheet
 * millimetres, packed x0 y0 x1 y1 ..., measured in the plane of the system's unit after the
 * sheet scaling (CCoordSystem::Distance and Area): lengths in that unit, areas in its square.
 * n is at most INT_MAX / 2; xy may be null when n is 0. */
GEOXFORM_C_API int geoxform_distance(const geoxform_system* system, int64_t n, const double* xy,
                                     double* length);
GEOXFORM_C_API int geoxform_area(const geoxform_system* system, int64_t n, const double* xy,
                                 double* area);

#ifdef __cplusplus
}
#endif

#endif
