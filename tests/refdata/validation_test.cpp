// ValidateCRSystem on the hand-written reference rows: one table of records (predefined and
// user-defined, sound and broken) with the result code and what the record is completed to.
#include <cmath>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "geoxform/crsystem.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"

namespace {

const double kDegree = fixture::kDegree;
using Edit = std::function<void(KQCRSystem&)>;

void Parameters(KQCRSystem& r, std::initializer_list<fixture::Parameter> parameters) {
    r.iNumParameters = 0;
    for (const fixture::Parameter& p : parameters) {
        r.aiParameterCodes[r.iNumParameters] = p.code;
        r.adParameterValues[r.iNumParameters++] = p.value;
    }
}
// A user-defined Transverse Mercator record on a datum (-1: on its own ellipsoid).
void TM(KQCRSystem& r, int datum) {
    r.iMethodCode = 9807;
    r.iDatumCode = datum;
    Parameters(r, {{8801, 0.8}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}});
}
void Ellipsoid(KQCRSystem& r, double a, double invf, double b, const char* name = "") {
    TM(r, -1);
    r.dSemiMajorAxis = a;
    r.dInverseFlattening = invf;
    r.dSemiMinorAxis = b;
    fixture::CopyName(r.szEllipsoidName, name);
}

// What validation fills in: system, method, datum, ellipsoid, prime meridian, parameters.
std::string Summary(const KQCRSystem& r) {
    char s[600];
    snprintf(s, sizeof(s), "%d %s|%d %d|%s %d|%d@%d|%d@%d %.12g %.12g %.12g %s|%d@%d %s %.9f|%d|%s",
             r.iSystemCode, Narrow(r.szSystemName).c_str(), r.iOperationCode, r.iMethodCode,
             Narrow(r.szMethodName).c_str(), r.iProjection, r.iDatumCode, r.iDatumIndex,
             r.iEllipsoidCode, r.iEllipsoidIndex, r.dSemiMajorAxis, r.dSemiMinorAxis,
             r.dInverseFlattening, Narrow(r.szEllipsoidName).c_str(), r.iPrimeMeridianCode,
             r.iPrimeMeridianIndex, Narrow(r.szPrimeMeridianName).c_str(),
             r.dPrimeMeridian / kDegree, r.iNumParameters, Narrow(r.szUnitsName).c_str());
    return s;
}

struct Case {
    const char* what;
    Edit edit; // on a record initialised for metres at 1:25000
    int result;
    const char* summary; // null: not looked at
};

class Validation : public fixture::ReferenceData {};

TEST_F(Validation, ResultCodesAndCompletedRecords) {
    fixture::AddSystem(88888, "Many rows", 77777, 9807, 9001, 6326, 7030,
                       {{8801, 0},
                        {8802, 0},
                        {8805, 1},
                        {8806, 0},
                        {8807, 0},
                        {8803, 1},
                        {8803, 2},
                        {8803, 3},
                        {8803, 4},
                        {8803, 5},
                        {8803, 6},
                        {8803, 7},
                        {8803, 8},
                        {8803, 9},
                        {8803, 10},
                        {8803, 11}});
    const auto bng = [](KQCRSystem& r) {
        r.iMethodCode = 9807;
        r.iDatumCode = 6277;
        Parameters(r, {{8807, -100000},
                       {8806, 400000},
                       {8805, 0.9996012717},
                       {8802, -2 * kDegree},
                       {8801, 49 * kDegree}});
    };
    const Case cases[] = {
        {"predefined system", [](KQCRSystem& r) { r.iSystemCode = 27700; }, 0,
         "27700 OSGB36 / British National Grid|19916 9807|Transverse Mercator 4|6277@0|7001@0 "
         "6377563.396 6356256.90924 299.3249646 Airy 1830|8901@0 Greenwich 0.000000000|5|Meter"},
        {"prime meridian with the datum", [](KQCRSystem& r) { r.iSystemCode = 27500; }, 0,
         "27500 NTF (Paris) / Transverse Mercator|18082 9807|Transverse Mercator 4|6807@3|7011@4 "
         "6378249.2 6356515 293.466021294 Clarke 1880 (IGN)|8903@1 Paris 2.337229170|5|Meter"},
        {"rows beyond 14 left out", [](KQCRSystem& r) { r.iSystemCode = 88888; }, 0, nullptr},
        {"unknown system", [](KQCRSystem& r) { r.iSystemCode = 12345; }, 1, nullptr},
        {"system without parameter rows", [](KQCRSystem& r) { r.iSystemCode = 99999; }, 3, nullptr},
        {"old version",
         [](KQCRSystem& r) {
             r.iSystemCode = 27700;
             r.iVersion = 0x1FF;
         },
         8, nullptr},
        {"version 0x200 is new enough",
         [](KQCRSystem& r) {
             r.iSystemCode = 27700;
             r.iVersion = 0x200;
         },
         0, nullptr},
        {"method below 9800", [](KQCRSystem& r) { TM(r, 6277), r.iMethodCode = 9000; }, 2, nullptr},
        {"method not in the table", [](KQCRSystem& r) { TM(r, 6277), r.iMethodCode = 9899; }, 2,
         nullptr},
        {"unknown datum", [](KQCRSystem& r) { TM(r, 6999); }, 4, nullptr},
        {"missing parameter", [](KQCRSystem& r) { TM(r, 6277), r.iNumParameters = 4; }, 6, nullptr},
        {"parameter twice", [](KQCRSystem& r) { TM(r, 6277), r.aiParameterCodes[1] = 8801; }, 6,
         nullptr},
        {"extra group before the required ones",
         [](KQCRSystem& r) {
             Parameters(r, {{8823, 0.5}, {8801, 0.8}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}});
             r.iMethodCode = 9807, r.iDatumCode = 6277;
         },
         6, nullptr},
        {"extra group after them",
         [](KQCRSystem& r) {
             Parameters(r, {{8807, 0}, {8805, 1}, {8801, 0.8}, {8806, 0}, {8802, 0}, {8823, 0.5}});
             r.iMethodCode = 9807, r.iDatumCode = 6277;
         },
         0, nullptr},
        {"codes outside the groups do not count",
         [](KQCRSystem& r) {
             Parameters(r, {{8803, 9}, {8801, 0.8}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}});
             r.iMethodCode = 9807, r.iDatumCode = 6277;
         },
         0, nullptr},
        {"zero scale", [](KQCRSystem& r) { TM(r, 6277), r.dScale = 0; }, 6, nullptr},
        {"NaN scale", [](KQCRSystem& r) { TM(r, 6277), r.dScale = NAN; }, 6, nullptr},
        {"infinite scale", [](KQCRSystem& r) { TM(r, 6277), r.dScale = INFINITY; }, 6, nullptr},
        {"scale 1e-9 passes", [](KQCRSystem& r) { TM(r, 6277), r.dScale = 1e-9; }, 0, nullptr},
        {"units 58", [](KQCRSystem& r) { TM(r, 6277), r.iUnits = 58; }, 7, nullptr},
        {"units -1", [](KQCRSystem& r) { TM(r, 6277), r.iUnits = -1; }, 7, nullptr},
        {"without projection only scale and units count",
         [](KQCRSystem& r) { r.iMethodCode = 0, r.iDatumCode = 6277; }, 0,
         "-1 |-1 -1| -1|-1@-1|-1@-1 0 0 0 |-1@-1  0.000000000|0|Meter"},
        {"hand-filled record recognised", bng, 0,
         "27700 OSGB36 / British National Grid|19916 9807|Transverse Mercator 4|6277@0|7001@0 "
         "6377563.396 6356256.90924 299.3249646 Airy 1830|8901@0 Greenwich 0.000000000|5|Meter"},
        {"the same in feet is another system", [&bng](KQCRSystem& r) { bng(r), r.iUnits = 6; }, 0,
         "-1 |-1 9807|Transverse Mercator 4|6277@0|7001@0 6377563.396 6356256.90924 299.3249646 "
         "Airy 1830|8901@0 Greenwich 0.000000000|5|Foot"},
        {"a parameter 2e-6 away is another system",
         [&bng](KQCRSystem& r) { bng(r), r.adParameterValues[1] += 2e-6; }, 0,
         "-1 |-1 9807|Transverse Mercator 4|6277@0|7001@0 6377563.396 6356256.90924 299.3249646 "
         "Airy 1830|8901@0 Greenwich 0.000000000|5|Meter"},
        {"standard parallels in either order",
         [](KQCRSystem& r) {
             r.iMethodCode = 9802, r.iDatumCode = 6171;
             Parameters(r, {{8821, 46.5 * kDegree},
                            {8822, 3 * kDegree},
                            {8823, 44 * kDegree},
                            {8824, 49 * kDegree},
                            {8826, 700000},
                            {8827, 6600000}});
         },
         0,
         "2154 RGF93 / Lambert-93|18085 9802|Lambert Conic Conformal (2SP) 8|6171@1|7019@1 6378137 "
         "6356752.31414 298.257222101 GRS 1980|8901@0 Greenwich 0.000000000|6|Meter"},
        // User ellipsoids: found by their constants, by code, or registered once.
        {"a and b of GRS 1980", [](KQCRSystem& r) { Ellipsoid(r, 6378137, 0, 6356752.314140356); },
         0,
         "-1 |-1 9807|Transverse Mercator 4|-1@-1|7019@1 6378137 6356752.31414 298.257222101 GRS "
         "1980|-1@-1  0.000000000|5|Meter"},
        {"by code, row 0", [](KQCRSystem& r) { Ellipsoid(r, 0, 0, 0), r.iEllipsoidCode = 7001; }, 0,
         nullptr},
        {"unknown code, no constants",
         [](KQCRSystem& r) { Ellipsoid(r, 0, 0, 0), r.iEllipsoidCode = 7777; }, 5, nullptr},
        {"new ellipsoid registered", [](KQCRSystem& r) { Ellipsoid(r, 6378000, 300, 0, "Mine"); },
         0,
         "-1 |-1 9807|Transverse Mercator 4|-1@-1|32768@5 6378000 6356740 300 Mine|-1@-1  "
         "0.000000000|5|Meter"},
        {"found again, not added", [](KQCRSystem& r) { Ellipsoid(r, 6378000, 300, 0); }, 0,
         "-1 |-1 9807|Transverse Mercator 4|-1@-1|32768@5 6378000 6356740 300 Mine|-1@-1  "
         "0.000000000|5|Meter"},
        {"unnamed; b of 1 m counts as none", [](KQCRSystem& r) { Ellipsoid(r, 6378000, 250, 1); },
         0,
         "-1 |-1 9807|Transverse Mercator 4|-1@-1|32769@6 6378000 6352488 250 User "
         "Defined|-1@-1  0.000000000|5|Meter"},
        {"b above a", [](KQCRSystem& r) { Ellipsoid(r, 6000000, 0, 6000001); }, 5, nullptr},
        {"b = 0 and 1/f = 0: 1/f becomes 1", [](KQCRSystem& r) { Ellipsoid(r, 6000000, 0, 0); }, 0,
         "-1 |-1 9807|Transverse Mercator 4|-1@-1|32770@7 6000000 0 1 User Defined|-1@-1  "
         "0.000000000|5|Meter"},
        {"an unknown sphere keeps 1/f = 0",
         [](KQCRSystem& r) { Ellipsoid(r, 6400000, 0, 6400000); }, 0,
         "-1 |-1 9807|Transverse Mercator 4|-1@-1|32771@8 6400000 6400000 0 User "
         "Defined|-1@-1  0.000000000|5|Meter"},
        {"nothing at all", [](KQCRSystem& r) { Ellipsoid(r, 0, 0, 0); }, 5, nullptr},
    };
    for (const Case& c : cases) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 25000.0);
        c.edit(r);
        EXPECT_EQ(ValidateCRSystem(&r), c.result) << c.what;
        if (c.summary != nullptr) {
            EXPECT_EQ(Summary(r), c.summary) << c.what;
        }
        if (r.iSystemCode == 88888) {
            EXPECT_EQ(r.iNumParameters * 100 + r.adParameterValues[13], 1409);
        }
    }
    EXPECT_EQ(pdaEPSGEllipsoid->GetCount(), 9);
    EXPECT_EQ(ValidateCRSystem(nullptr), 1);
}

TEST(ValidationWithoutDatabase, ReportsNoSystem) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 1.0);
    EXPECT_EQ(ValidateCRSystem(&r), 1);
}

} // namespace
