// The C interface: status codes, UTF-8 text, the reference data, and the system handle made
// of two coordinate system objects (service/c_system.h). The point arrays are in c_arrays.cpp.
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "geoxform/coordsystem.h"
#include "geoxform/crsystem.h"
#include "geoxform/refdata.h"
#include "geoxform/units.h"
#include "geoxform_c.h"
#include "platform/wide_string.h"
#include "projections/geodesy.h"
#include "refdata/reference_lookup.h"
#include "refdata/unit_tables.h"
#include "service/c_system.h"
#include "service/coord_system_access.h"
#include "service/crsystem_init.h"
#include "service/parameter_text.h"

#ifndef GEOXFORM_VERSION
#error "GEOXFORM_VERSION (the project version) is defined by the build"
#endif

namespace {

using KqString = std::basic_string<KQWCHAR>;

// Systems are made one at a time: validation may add a user ellipsoid to the reference data.
std::mutex g_creation;

// UTF-16 of NUL-terminated UTF-8 text; false for malformed UTF-8 (overlong forms, surrogates,
// code points above U+10FFFF, cut sequences).
bool FromUtf8(const char* psz, KqString& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(psz);
    while (*p != 0) {
        const unsigned c = *p++;
        int nMore = 0;
        uint32_t code = c, lowest = 0;
        if (c >= 0xF0 && c <= 0xF4) {
            nMore = 3, code = c & 0x07, lowest = 0x10000;
        } else if (c >= 0xE0 && c <= 0xEF) {
            nMore = 2, code = c & 0x0F, lowest = 0x800;
        } else if (c >= 0xC2 && c <= 0xDF) {
            nMore = 1, code = c & 0x1F, lowest = 0x80;
        } else if (c >= 0x80) {
            return false;
        }
        for (; nMore > 0; --nMore, ++p) {
            if ((*p & 0xC0) != 0x80) return false; // also the terminator
            code = code << 6 | (*p & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code >= 0x10000) {
            out.push_back(static_cast<KQWCHAR>(0xD800 + ((code - 0x10000) >> 10)));
            code = 0xDC00 + (code & 0x3FF);
        }
        out.push_back(static_cast<KQWCHAR>(code));
    }
    return true;
}

// UTF-8 of NUL-terminated UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const KQWCHAR* psz) {
    std::string out;
    for (; *psz != 0; ++psz) {
        uint32_t code = static_cast<uint16_t>(*psz);
        const uint32_t next = static_cast<uint16_t>(psz[1]);
        if (code >= 0xD800 && code <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
            ++psz;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        const int nMore = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        const uint32_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
        out.push_back(static_cast<char>(kLead[nMore] | (code >> (6 * nMore))));
        for (int k = nMore - 1; k >= 0; --k)
            out.push_back(static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F)));
    }
    return out;
}

// An output text into the caller's buffer, as the header's buffer rules say.
int Deliver(const std::string& text, char* pBuffer, size_t size, size_t* pNeeded) {
    if (pBuffer == nullptr && size > 0) return GEOXFORM_E_NULL;
    const size_t need = text.size() + 1;
    if (pNeeded != nullptr) *pNeeded = need;
    if (size < need) {
        if (size > 0) pBuffer[0] = 0;
        return GEOXFORM_E_BUFFER;
    }
    std::memcpy(pBuffer, text.c_str(), need);
    return GEOXFORM_OK;
}

bool HasData() {
    return pdaEPSGSystem != nullptr && pdaEPSGSystem->GetCount() > 0;
}

int StatusOfValidation(int result) {
    return result == 0 ? GEOXFORM_OK : result == 1 ? GEOXFORM_E_UNKNOWN_CODE : GEOXFORM_E_INVALID;
}

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};

// The sheet object's text form, printed once for each sheet (the reading fills its cache).
void PrintTextForm(geoxform_system& s) {
    KQWCHAR text[gx::kMaxParameterText + 1];
    s.bHasTextForm = s.pSheet->GetParameters(text) == 1;
    s.textForm = s.bHasTextForm ? ToUtf8(text) : std::string();
}

// A handle for a validated record, with scale 1 and no fixed point; the caller holds the
// creation lock.
int MakeSystem(KQCRSystem record, geoxform_system** ppSystem) {
    record.dScale = 1;
    record.dOffsetX = record.dOffsetY = 0;
    record.iUnProject = 0; // the calls say themselves whether they want longitudes
    std::unique_ptr<geoxform_system> s(new geoxform_system);
    s->pPlane = CreateCoordSystem(record.iUnits, 1);
    s->pSheet = CreateCoordSystem(record.iUnits, 1);
    if (s->pPlane == nullptr || s->pSheet == nullptr) return GEOXFORM_E_MEMORY;
    for (CCoordSystem* pObject : {s->pPlane, s->pSheet}) {
        KQCRSystem copy = record;
        if (pObject->SetParameters(&copy) != 1) return GEOXFORM_E_INVALID;
    }
    s->pProjection = CCoordSystemLifetime::Projection(*s->pPlane);
    if (s->pProjection == nullptr) return GEOXFORM_E_NO_PROJECTION;
    s->kernels = gx::FindArrayKernels(*s->pProjection);
    s->dUnitsFac = CCoordSystemLifetime::UnitsFactor(*s->pPlane);
    s->dPrimeMeridian = CCoordSystemLifetime::Record(*s->pPlane).dPrimeMeridian;
    PrintTextForm(*s);
    *ppSystem = s.release();
    return GEOXFORM_OK;
}

// The length table row of an EPSG unit code, or -1.
int LengthUnitOfEpsg(int unitCode) {
    for (int i = 0; i < gx::kNumLengthUnits; ++i)
        if (csKQCSLengthUnits[i].iEPSGCode == unitCode) return i;
    return -1;
}

const KQWCHAR* NameOf(const KQCRSystem& r, int which) {
    switch (which) {
    case GEOXFORM_NAME_SYSTEM:
        return r.szSystemName;
    case GEOXFORM_NAME_METHOD:
        return r.szMethodName;
    case GEOXFORM_NAME_DATUM:
        return r.szDatumName;
    case GEOXFORM_NAME_ELLIPSOID:
        return r.szEllipsoidName;
    case GEOXFORM_NAME_PRIME_MERIDIAN:
        return r.szPrimeMeridianName;
    case GEOXFORM_NAME_UNITS:
        return r.szUnitsName;
    case GEOXFORM_NAME_AREA:
        return r.szAuxName;
    default:
        return nullptr;
    }
}

// The measurements' common checks; GEOXFORM_OK to go on.
int CheckMeasure(const geoxform_system* system, int64_t n, const double* xy, double* pResult) {
    if (system == nullptr || pResult == nullptr) return GEOXFORM_E_NULL;
    *pResult = 0;
    // Distance indexes the 2 n values with an int.
    if (n < 0 || n > INT_MAX / 2) return GEOXFORM_E_ARGUMENT;
    if (xy == nullptr && n > 0) return GEOXFORM_E_NULL;
    return GEOXFORM_OK;
}

} // namespace

extern "C" {

const char* geoxform_version(void) {
    return GEOXFORM_VERSION;
}

const char* geoxform_status_message(int status) {
    static const char* const kMessages[] = {
        "no error",
        "a required handle or pointer is null",
        "a count, stride, flag or selector is out of range",
        "the reference data is not loaded",
        "the reference data could not be loaded",
        "no predefined system has this EPSG code",
        "the record or text form does not validate",
        "the system has no map projection",
        "malformed text, or text that is not UTF-8",
        "the output buffer is too small",
        "some points could not be converted",
        "memory is exhausted",
    };
    const int n = static_cast<int>(sizeof kMessages / sizeof kMessages[0]);
    return status >= 0 && status < n ? kMessages[status] : "unknown status code";
}

int geoxform_init(const char* directory) {
    return gx::Guarded([&]() -> int {
        KqString path;
        if (directory != nullptr && !FromUtf8(directory, path)) return GEOXFORM_E_TEXT;
        FreeEPSGDataBase(); // InitEPSGDataBase keeps data loaded before
        InitEPSGDataBase(directory != nullptr ? path.c_str() : nullptr);
        return HasData() ? GEOXFORM_OK : GEOXFORM_E_DATA;
    });
}

int geoxform_free(void) {
    return gx::Guarded([]() -> int {
        FreeEPSGDataBase();
        return GEOXFORM_OK;
    });
}

int geoxform_predefined_count(int64_t* count) {
    if (count == nullptr) return GEOXFORM_E_NULL;
    *count = HasData() ? pdaEPSGSystem->GetCount() : 0;
    return HasData() ? GEOXFORM_OK : GEOXFORM_E_NO_DATA;
}

int geoxform_predefined(int64_t index, int32_t* code, char* name, size_t size, size_t* needed) {
    return gx::Guarded([&]() -> int {
        if (code == nullptr) return GEOXFORM_E_NULL;
        if (!HasData()) return GEOXFORM_E_NO_DATA;
        if (index < 0 || index >= pdaEPSGSystem->GetCount()) return GEOXFORM_E_ARGUMENT;
        const EPSGSystem& row = (*pdaEPSGSystem)[static_cast<int>(index)];
        *code = row.iCode;
        return Deliver(ToUtf8(row.szName), name, size, needed);
    });
}

int geoxform_system_from_epsg(int32_t code, geoxform_system** system) {
    return gx::Guarded([&]() -> int {
        if (system == nullptr) return GEOXFORM_E_NULL;
        *system = nullptr;
        if (!HasData()) return GEOXFORM_E_NO_DATA;
        const std::lock_guard<std::mutex> lock(g_creation);
        const int row = code < 1 ? -1 : gx::FindByCode(pdaEPSGSystem, code);
        if (row < 0) return GEOXFORM_E_UNKNOWN_CODE;
        // The plane coordinates in the system's own unit.
        const int units = LengthUnitOfEpsg((*pdaEPSGSystem)[row].iUnitCode);
        if (units < 0) return GEOXFORM_E_INVALID;
        KQCRSystem record;
        gx::InitCRSystem(&record, units, 1.0);
        record.iSystemCode = code;
        const int status = StatusOfValidation(ValidateCRSystem(&record));
        return status != GEOXFORM_OK ? status : MakeSystem(record, system);
    });
}

int geoxform_system_from_text(const char* text, geoxform_system** system) {
    return gx::Guarded([&]() -> int {
        if (text == nullptr || system == nullptr) return GEOXFORM_E_NULL;
        *system = nullptr;
        KqString text16;
        if (!FromUtf8(text, text16)) return GEOXFORM_E_TEXT;
        if (!HasData()) return GEOXFORM_E_NO_DATA;
        const std::lock_guard<std::mutex> lock(g_creation);
        const std::unique_ptr<CCoordSystem, SystemDeleter> reader(CreateCoordSystem());
        if (!reader) return GEOXFORM_E_MEMORY;
        if (reader->SetParameters(text16.c_str()) != 1) return GEOXFORM_E_TEXT;
        // The text carries codes and values; validation completes the rows it leaves out.
        KQCRSystem record;
        reader->GetParameters(&record);
        const int status = StatusOfValidation(ValidateCRSystem(&record));
        return status != GEOXFORM_OK ? status : MakeSystem(record, system);
    });
}

int geoxform_system_from_record(const void* record, size_t size, geoxform_system** system) {
    return gx::Guarded([&]() -> int {
        if (record == nullptr || system == nullptr) return GEOXFORM_E_NULL;
        *system = nullptr;
        KQCRSystem r;
        if (size != sizeof r) return GEOXFORM_E_ARGUMENT;
        std::memcpy(&r, record, sizeof r);
        if (r.iSize != static_cast<int32_t>(sizeof r)) return GEOXFORM_E_ARGUMENT;
        if (!HasData()) return GEOXFORM_E_NO_DATA;
        const std::lock_guard<std::mutex> lock(g_creation);
        const int status = StatusOfValidation(ValidateCRSystem(&r));
        return status != GEOXFORM_OK ? status : MakeSystem(r, system);
    });
}

void geoxform_system_free(geoxform_system* system) {
    delete system;
}

int geoxform_system_text_form(const geoxform_system* system, char* text, size_t size,
                              size_t* needed) {
    return gx::Guarded([&]() -> int {
        if (system == nullptr) return GEOXFORM_E_NULL;
        if (!system->bHasTextForm) return GEOXFORM_E_INVALID;
        return Deliver(system->textForm, text, size, needed);
    });
}

int geoxform_system_name(const geoxform_system* system, int which, char* text, size_t size,
                         size_t* needed) {
    return gx::Guarded([&]() -> int {
        if (system == nullptr) return GEOXFORM_E_NULL;
        const KQWCHAR* pszName = NameOf(CCoordSystemLifetime::Record(*system->pPlane), which);
        if (pszName == nullptr) return GEOXFORM_E_ARGUMENT;
        return Deliver(ToUtf8(pszName), text, size, needed);
    });
}

int geoxform_system_get_info(const geoxform_system* system, geoxform_system_info* info) {
    if (system == nullptr || info == nullptr) return GEOXFORM_E_NULL;
    const KQCRSystem& r = CCoordSystemLifetime::Record(*system->pPlane);
    info->code = r.iSystemCode;
    info->method_code = r.iMethodCode;
    info->projection = r.iProjection;
    info->datum_code = r.iDatumCode;
    info->ellipsoid_code = r.iEllipsoidCode;
    info->area_code = r.iAuxCode2 > 0 ? r.iAuxCode2 : 0;
    info->metres_per_unit = system->dUnitsFac / 1000;
    info->semi_major_axis = r.dSemiMajorAxis;
    info->inverse_flattening = r.dInverseFlattening;
    info->prime_meridian = r.dPrimeMeridian * gx::kDegreesPerRadian;
    return GEOXFORM_OK;
}

int geoxform_system_set_sheet(geoxform_system* system, double scale, double fixed_x,
                              double fixed_y) {
    return gx::Guarded([&]() -> int {
        if (system == nullptr) return GEOXFORM_E_NULL;
        if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(fixed_x) ||
            !std::isfinite(fixed_y))
            return GEOXFORM_E_ARGUMENT;
        KQCRSystem record = CCoordSystemLifetime::Record(*system->pPlane);
        record.dScale = scale;
        record.dOffsetX = fixed_x;
        record.dOffsetY = fixed_y;
        // Validation refuses scales below 1e-9; the sheet then stays as it was.
        if (system->pSheet->SetParameters(&record) != 1) return GEOXFORM_E_ARGUMENT;
        PrintTextForm(*system);
        return GEOXFORM_OK;
    });
}

int geoxform_value_to_text(const geoxform_system* system, double value, int flags, int decimals,
                           char* text, size_t size, size_t* needed) {
    return gx::Guarded([&]() -> int {
        if (system == nullptr) return GEOXFORM_E_NULL;
        KQWCHAR result[256];
        if (system->pSheet->Value2String(value, result, flags, decimals) != 1)
            return GEOXFORM_E_ARGUMENT; // not a number, or more than 255 characters
        return Deliver(ToUtf8(result), text, size, needed);
    });
}

int geoxform_text_to_value(const geoxform_system* system, const char* text, int flags,
                           double* value) {
    return gx::Guarded([&]() -> int {
        if (system == nullptr || text == nullptr || value == nullptr) return GEOXFORM_E_NULL;
        *value = 0;
        KqString text16;
        if (!FromUtf8(text, text16)) return GEOXFORM_E_TEXT;
        double v = 0;
        if (system->pSheet->String2Value(text16.c_str(), v, flags) != 1) return GEOXFORM_E_TEXT;
        *value = v;
        return GEOXFORM_OK;
    });
}

int geoxform_distance(const geoxform_system* system, int64_t n, const double* xy, double* length) {
    const int status = CheckMeasure(system, n, xy, length);
    if (status != GEOXFORM_OK) return status;
    *length = system->pSheet->Distance(static_cast<int>(n), const_cast<double*>(xy), 0);
    return GEOXFORM_OK;
}

int geoxform_area(const geoxform_system* system, int64_t n, const double* xy, double* area) {
    const int status = CheckMeasure(system, n, xy, area);
    if (status != GEOXFORM_OK) return status;
    *area = system->pSheet->Area(static_cast<int>(n), const_cast<double*>(xy), 0);
    return GEOXFORM_OK;
}

} // extern "C"
