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

inline void AddDatum(int code, const char* name, int ellipsoid, int meridian) {
    EPSGDatum& d = NewRow(pdaEPSGDatum, code, name);
    std::tie(d.iEllipsoidCode, d.iPrimeMeridianCode) = std::make_tuple(ellipsoid, meridian);
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

// Rows used by the tests; row indexes of the ellipsoids are returned by AddEllipsoid.
class ReferenceData : public ::testing::Test {
protected:
    void SetUp() override {
        InitEmptyDatabase();
        ASSERT_NE(pdaEPSGSystem, nullptr);
        AddEllipsoid(7001, "Airy 1830", 6377563.396, 299.3249646, 6356256.909237285);
        AddEllipsoid(7019, "GRS 1980", 6378137.0, 298.257222101, 6356752.314140356);
        AddEllipsoid(7030, "WGS 84", 6378137.0, 298.257223563, 6356752.314245179);
        AddEllipsoid(7035, "Sphere", 6371000.0, 0, 6371000.0);
        AddEllipsoid(7011, "Clarke 1880 (IGN)", 6378249.2, 293.4660212936269, 6356515.0);
        NewRow(pdaEPSGPrimeMeridian, 8901, "Greenwich").dLongitude = 0;
        NewRow(pdaEPSGPrimeMeridian, 8903, "Paris").dLongitude = 0.040792344390154271;
        AddDatum(6277, "Ordnance Survey of Great Britain 1936", 7001, 8901);
        AddDatum(6171, "Reseau Geodesique Francais 1993", 7019, 8901);
        AddDatum(6326, "World Geodetic System 1984", 7030, 8901);
        AddDatum(6807, "Nouvelle Triangulation Francaise (Paris)", 7011, 8903);
        AddSystem(27700, "OSGB36 / British National Grid", 19916, 9807, 9001, 6277, 7001,
                  Parameters("8801=49 8802=-2 8805=0.9996012717 8806=400000 8807=-100000"));
        AddSystem(2154, "RGF93 / Lambert-93", 18085, 9802, 9001, 6171, 7019,
                  Parameters("8821=46.5 8822=3 8823=49 8824=44 8826=700000 8827=6600000"));
        AddSystem(32632, "WGS 84 / UTM zone 32N", 16032, 9807, 9001, 6326, 7030,
                  Parameters("8801=0 8802=9 8805=0.9996 8806=500000 8807=0"));
        AddSystem(27500, "NTF (Paris) / Transverse Mercator", 18082, 9807, 9001, 6807, 7011,
                  Parameters("8801=0.81681408993334625r 8802=0 8805=0.99987742 8806=600000 "
                             "8807=2200000"));
        AddSystem(99999, "No parameters", 11111, 9807, 9001, 6326, 7030, {});
    }
    void TearDown() override { FreeEPSGDataBase(); }
};

} // namespace fixture

#endif
