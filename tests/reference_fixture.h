// A small, hand-written set of reference rows for tests that must not depend on the shipped
// data file: a few ellipsoids, datums, prime meridians and predefined systems.
#ifndef GEOXFORM_REFERENCE_FIXTURE_H
#define GEOXFORM_REFERENCE_FIXTURE_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/projection.h"
#include "geoxform/refdata.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"
#include "service/projection_methods.h"
#include "test_support.h"

namespace fixture {

inline void CopyName(KQWCHAR (&dst)[100], const char* psz) {
    *std::copy(psz, psz + std::min<size_t>(std::char_traits<char>::length(psz), 99), dst) = 0;
}

template <class Table>
auto& NewRow(Table* table, int code, const char* name) {
    auto& row = table->GetAt(table->GetCount());
    row = {};
    row.iCode = code;
    CopyName(row.szName, name);
    return row;
}

inline int AddEllipsoid(int code, const char* name, double a, double invf, double b) {
    EPSGEllipsoid& e = NewRow(pdaEPSGEllipsoid, code, name);
    e.dSemiMajorAxis = a;
    e.dInverseFlattening = invf;
    e.dSemiMinorAxis = b;
    return pdaEPSGEllipsoid->GetCount() - 1;
}

struct Parameter {
    int code;
    double value;
};

inline void AddSystem(int code, const char* name, int operation, int method, int unit, int datum,
                      int ellipsoid, const std::vector<Parameter>& parameters) {
    EPSGSystem& s = NewRow(pdaEPSGSystem, code, name);
    s.iOperationCode = operation;
    s.iMethodCode = method;
    s.iAuxCode1 = 4000 + code % 1000;
    s.iUnitCode = unit;
    s.iAuxCode2 = 1000 + code % 100;
    CopyName(s.szAuxName, "Test area");
    s.iDatumCode = datum;
    s.iEllipsoidCode = ellipsoid;
    for (const Parameter& p : parameters)
        pdaEPSGParams->GetAt(pdaEPSGParams->GetCount()) = {operation, 1, p.code, p.value, 9001};
}

// An angle written in degrees, as d:m:s (the sign of the degrees for the whole angle) or, with
// a trailing r, in radians; also "nan" and "inf".
inline double Angle(const std::string& text) {
    if (text.find_first_of("ni") != std::string::npos) return std::stod(text);
    if (!text.empty() && text.back() == 'r') return std::stod(text.substr(0, text.size() - 1));
    double d = 0, m = 0, s = 0;
    char colon;
    std::istringstream in(text);
    in >> d;
    if (in >> colon >> m) in >> colon >> s;
    return (std::fabs(d) + m / 60 + s / 3600) * (text[0] == '-' ? -1 : 1) * testconst::kDegree;
}

// "code=value ..." of EPSG parameters: lengths and scale factors as numbers, angles by Angle.
inline std::vector<Parameter> Parameters(const std::string& text) {
    std::vector<Parameter> parameters;
    std::istringstream in(text);
    for (std::string item; in >> item;) {
        const int code = std::stoi(item);
        const std::string value = item.substr(item.find('=') + 1);
        const gx::ParameterGroup g = gx::ParameterGroupOf(code);
        const bool bAngle = g != gx::kGroupScaleFactor && g != gx::kGroupFalseEasting &&
                            g != gx::kGroupFalseNorthing;
        parameters.push_back({code, bAngle ? Angle(value) : std::stod(value)});
    }
    return parameters;
}

// The ';'-separated fields of the data lines of a file in the test data folder (lines that are
// empty or start with # are left out), each with its line number in front.
inline std::vector<std::vector<std::string>> DataLines(const char* name) {
    std::vector<std::vector<std::string>> lines;
    std::ifstream file(std::string(GEOXFORM_TEST_DATA) + "/" + name);
    EXPECT_TRUE(file.good()) << name;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields{std::to_string(number)};
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, ';');)
            fields.push_back(field);
        lines.push_back(fields);
    }
    return lines;
}

inline void SetParameters(KQCRSystem& r, const std::vector<Parameter>& parameters) {
    r.iNumParameters = 0;
    for (const Parameter& p : parameters) {
        r.aiParameterCodes[r.iNumParameters] = p.code;
        r.adParameterValues[r.iNumParameters++] = p.value;
    }
}

// The projection the factory builds for a method number, an ellipsoid row and parameters.
inline std::unique_ptr<CProjection> Built(int number, int ellipsoid,
                                          const std::vector<Parameter>& parameters) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 1.0);
    r.iProjection = number;
    r.iEllipsoidIndex = ellipsoid;
    SetParameters(r, parameters);
    return std::unique_ptr<CProjection>(gx::CreateProjection(&r));
}

// The rows of tests/data/refdata/fixture_rows.txt; row indexes of the ellipsoids are returned
// by AddEllipsoid.
class ReferenceData : public ::testing::Test {
protected:
    void TearDown() override { FreeEPSGDataBase(); }
    void SetUp() override {
        InitEmptyDatabase();
        ASSERT_NE(pdaEPSGSystem, nullptr);
        for (const auto& f : Rows(
#include "data/refdata/fixture_rows.txt"
                 )) {
            const int code = std::stoi(f[1]);
            const char* name = f[2].c_str();
            if (f[0] == "ellipsoid")
                AddEllipsoid(code, name, std::stod(f[3]), std::stod(f[4]), std::stod(f[5]));
            if (f[0] == "meridian")
                NewRow(pdaEPSGPrimeMeridian, code, name).dLongitude = std::stod(f[3]);
            if (f[0] == "datum") {
                EPSGDatum& d = NewRow(pdaEPSGDatum, code, name);
                std::tie(d.iEllipsoidCode, d.iPrimeMeridianCode) =
                    std::make_tuple(std::stoi(f[3]), std::stoi(f[4]));
            }
            if (f[0] == "system")
                AddSystem(code, name, std::stoi(f[3]), std::stoi(f[4]), std::stoi(f[5]),
                          std::stoi(f[6]), std::stoi(f[7]), Parameters(f[8]));
        }
    }
};

} // namespace fixture

#endif
