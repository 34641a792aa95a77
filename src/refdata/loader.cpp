// Reading the reference data file into the record arrays: the sections of its text, the
// fields of each record line and the completion of each row.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "geoxform/refdata.h"
#include "platform/platform.h"
#include "projections/geodesy.h"
#include "refdata/data_file.h"
#include "refdata/data_text.h"
#include "refdata/reference_lookup.h"
#include "service/projection_methods.h"

namespace {

using gx::FieldReader;
using gx::TextField;

// Factors written as this value stand for pi; the file cannot hold more digits of it usefully.
const double kPiInFile = 3.141592654;
// A section keeps at most this many rows (the largest of the shipped data, its parameters,
// has 11,491), so that a crafted text of millions of tiny lines cannot make the arrays claim
// gigabytes; the lines beyond are ignored.
const int kMaxSectionRows = 1 << 16;

// Widens a text field of the file into a record's name; a field longer than 99 characters
// keeps its first 99. A field that was not matched leaves the cleared name empty.
void Widen(const TextField& field, KQWCHAR (&text)[100]) {
    if (field.n > 0)
        gx::MultiByteToKq(gx::kAnsiCodePage, field.p, static_cast<ptrdiff_t>(field.n), text, 100);
}

// "[Measure]": code, name, type, target code, factor B, factor C; at least four fields.
bool ReadRow(const char* pLine, EPSGUnits& row) {
    row.dFactorB = 1; // kept when the line ends before its factors
    row.dFactorC = 1;
    FieldReader fields(pLine);
    TextField name, type;
    fields.Int(row.iCode);
    fields.Text(name);
    fields.Text(type);
    fields.Int(row.iTargetCode);
    fields.Double(row.dFactorB);
    fields.Double(row.dFactorC);
    if (fields.Matched() < 4) return false;
    if (row.dFactorB == 0 || row.dFactorC == 0) row.dFactorB = row.dFactorC = 1;
    if (row.dFactorB == kPiInFile) row.dFactorB = gx::kPi;
    if (row.dFactorC == kPiInFile) row.dFactorC = gx::kPi;
    Widen(name, row.szName);
    Widen(type, row.szType);
    return true;
}

// "[Data]": all ten fields, and a method that the library projects.
bool ReadRow(const char* pLine, EPSGSystem& row) {
    FieldReader fields(pLine);
    TextField name, area;
    fields.Int(row.iCode);
    fields.Text(name);
    fields.Int(row.iOperationCode);
    fields.Int(row.iMethodCode);
    fields.Int(row.iAuxCode1);
    fields.Int(row.iUnitCode);
    fields.Int(row.iAuxCode2);
    fields.Text(area);
    fields.Int(row.iDatumCode);
    fields.Int(row.iEllipsoidCode);
    if (fields.Matched() != 10 || gx::MethodByCode(row.iMethodCode) == nullptr) return false;
    Widen(name, row.szName);
    Widen(area, row.szAuxName);
    return true;
}

// "[Datum]": code, name, ellipsoid code, prime meridian code; always a row.
bool ReadRow(const char* pLine, EPSGDatum& row) {
    FieldReader fields(pLine);
    TextField name;
    fields.Int(row.iCode);
    fields.Text(name);
    fields.Int(row.iEllipsoidCode);
    fields.Int(row.iPrimeMeridianCode);
    Widen(name, row.szName);
    return true;
}

// "[Prime Meridian]": code, name, longitude, unit code; always a row.
bool ReadRow(const char* pLine, EPSGPrimeMeridian& row) {
    FieldReader fields(pLine);
    TextField name;
    // A line without its unit field keeps unit 0, "no unit": the longitude is taken as radians.
    int32_t iUnitCode = 0;
    fields.Int(row.iCode);
    fields.Text(name);
    fields.Double(row.dLongitude);
    fields.Int(iUnitCode);
    Widen(name, row.szName);
    ConvertUnit(row.dLongitude, iUnitCode);
    return true;
}

// Derives whichever of 1/f and b the file leaves at 0 from the other; a sphere (a = b) keeps
// 1/f = 0.
void CompleteEllipsoid(EPSGEllipsoid& row) {
    const double a = row.dSemiMajorAxis;
    if (row.dInverseFlattening == 0) {
        if (std::fabs(a - row.dSemiMinorAxis) > 1e-6)
            row.dInverseFlattening = a / (a - row.dSemiMinorAxis);
    } else if (row.dSemiMinorAxis == 0) {
        row.dSemiMinorAxis = a * (1 - 1 / row.dInverseFlattening);
    }
}

// "[Ellipsoid]": code, name, a, 1/f, b, unit code of the axes; always a row.
bool ReadRow(const char* pLine, EPSGEllipsoid& row) {
    FieldReader fields(pLine);
    TextField name;
    // A line without its unit field keeps unit 0, "no unit": the axes are taken as metres.
    int32_t iUnitCode = 0;
    fields.Int(row.iCode);
    fields.Text(name);
    fields.Double(row.dSemiMajorAxis);
    fields.Double(row.dInverseFlattening);
    fields.Double(row.dSemiMinorAxis);
    fields.Int(iUnitCode);
    Widen(name, row.szName);
    CompleteEllipsoid(row);
    ConvertUnit(row.dSemiMajorAxis, iUnitCode);
    ConvertUnit(row.dSemiMinorAxis, iUnitCode);
    return true;
}

// "[Parameters]": conversion code, second code, parameter code, value, unit code; always a row.
bool ReadRow(const char* pLine, EPSGParams& row) {
    FieldReader fields(pLine);
    fields.Int(row.iOperationCode);
    fields.Int(row.iAuxCode);
    fields.Int(row.iParameterCode);
    fields.Double(row.dParameterValue);
    fields.Int(row.iUnitCode);
    ConvertUnit(row.dParameterValue, row.iUnitCode);
    return true;
}

// The accepted rows of the section being read. They go into their array in one piece when the
// section ends, so that the array grows once: growing it a step at a time would copy the
// thousands of rows read before over and over.
template <class T>
class SectionRows {
public:
    SectionRows() = default;
    ~SectionRows() { std::free(m_pRows); }
    SectionRows(const SectionRows&) = delete;
    SectionRows& operator=(const SectionRows&) = delete;

    void Read(const char* pLine) {
        T row;
        std::memset(static_cast<void*>(&row), 0, sizeof(T));
        if (ReadRow(pLine, row)) Add(row);
    }

    // Writes the rows over rows 0 .. n - 1 of the array, rows beyond them staying, and
    // releases the staging block, so that it never lives on beside the array.
    void MoveInto(DynamicClassArray<T>& array) {
        if (m_nCount > 0) {
            T* pLast = array.TryGetAt(m_nCount - 1);
            if (pLast != nullptr)
                std::memcpy(static_cast<void*>(pLast - (m_nCount - 1)), m_pRows,
                            static_cast<size_t>(m_nCount) * sizeof(T));
        }
        std::free(m_pRows);
        m_pRows = nullptr;
        m_nCount = m_nCapacity = 0;
    }

private:
    void Add(const T& row) {
        if (m_nCount == m_nCapacity) {
            if (m_nCapacity >= kMaxSectionRows) return;
            const int nCapacity = m_nCapacity == 0 ? 256 : 2 * m_nCapacity;
            void* pRows = std::realloc(m_pRows, static_cast<size_t>(nCapacity) * sizeof(T));
            if (pRows == nullptr) return; // no memory left: the row is dropped
            m_pRows = static_cast<T*>(pRows);
            m_nCapacity = nCapacity;
        }
        m_pRows[m_nCount++] = row;
    }

    T* m_pRows = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
};

// Reads the lines of the text, section by section, into the six arrays.
class TextLoader {
public:
    // False when the text holds no line at all.
    bool Load(char* pText);

private:
    void ReadRecord(const char* pLine);
    void EndSection();

    gx::DataSection m_section = gx::kSectionNone;
    SectionRows<EPSGUnits> m_units;
    SectionRows<EPSGSystem> m_systems;
    SectionRows<EPSGDatum> m_datums;
    SectionRows<EPSGPrimeMeridian> m_meridians;
    SectionRows<EPSGEllipsoid> m_ellipsoids;
    SectionRows<EPSGParams> m_params;
};

bool TextLoader::Load(char* pText) {
    gx::LineSplitter lines(pText);
    bool bAnyLine = false;
    for (char* pLine = lines.Next(); pLine != nullptr; pLine = lines.Next()) {
        bAnyLine = true;
        if (*pLine == ';') continue;
        if (*pLine == '[') {
            EndSection();
            m_section = gx::SectionOfHeader(pLine);
            if (m_section == gx::kSectionEnd) break;
            continue;
        }
        ReadRecord(pLine);
    }
    EndSection();
    return bAnyLine;
}

void TextLoader::ReadRecord(const char* pLine) {
    switch (m_section) {
    case gx::kSectionMeasure:
        m_units.Read(pLine);
        break;
    case gx::kSectionData:
        m_systems.Read(pLine);
        break;
    case gx::kSectionDatum:
        m_datums.Read(pLine);
        break;
    case gx::kSectionPrimeMeridian:
        m_meridians.Read(pLine);
        break;
    case gx::kSectionEllipsoid:
        m_ellipsoids.Read(pLine);
        break;
    case gx::kSectionParameters:
        m_params.Read(pLine);
        break;
    default:
        break; // before the first header, or in an unknown section
    }
}

// Puts the rows of the section into its array, so that the sections after it see them (the
// values of the later sections convert through the unit rows).
void TextLoader::EndSection() {
    switch (m_section) {
    case gx::kSectionMeasure:
        m_units.MoveInto(*pdaEPSGUnits);
        break;
    case gx::kSectionData:
        m_systems.MoveInto(*pdaEPSGSystem);
        break;
    case gx::kSectionDatum:
        m_datums.MoveInto(*pdaEPSGDatum);
        break;
    case gx::kSectionPrimeMeridian:
        m_meridians.MoveInto(*pdaEPSGPrimeMeridian);
        break;
    case gx::kSectionEllipsoid:
        m_ellipsoids.MoveInto(*pdaEPSGEllipsoid);
        break;
    case gx::kSectionParameters:
        m_params.MoveInto(*pdaEPSGParams);
        break;
    default:
        return;
    }
    gx::ReferenceRowsChanged(); // the codes of rewritten rows are looked up afresh
}

bool AllArraysExist() {
    return pdaEPSGSystem != nullptr && pdaEPSGDatum != nullptr && pdaEPSGPrimeMeridian != nullptr &&
           pdaEPSGEllipsoid != nullptr && pdaEPSGUnits != nullptr && pdaEPSGParams != nullptr;
}

} // namespace

int ReadEPSGData(const KQWCHAR* pszPath) {
    if (pdaEPSGSystem == nullptr) return 0;
    if (pdaEPSGSystem->GetCount() > 0) return 1; // loaded before: the file is not touched
    if (!AllArraysExist()) return 0;
    KQWCHAR szFileName[gx::kMaxDataPath];
    if (!gx::DataFileName(pszPath, szFileName)) return 0;
    char* pText = gx::ReadDataFileText(szFileName);
    if (pText == nullptr) return 0;
    TextLoader loader;
    const bool bAnyLine = loader.Load(pText);
    std::free(pText);
    return bAnyLine ? 1 : 0;
}
