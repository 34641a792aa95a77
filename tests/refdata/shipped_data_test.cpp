// The reference data file shipped with the library, loaded from Support beside it without
// being told a path: real systems come out with the constants their definitions publish, and
// the built-in unit tables agree with the units of the data.
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/refdata.h"
#include "geoxform/units.h"
#include "test_support.h"

namespace {

using testconst::kDegree;
using testconst::kPi;

double Dms(double degrees, double minutes, double seconds = 0) {
    return (degrees + (degrees < 0 ? -1 : 1) * (minutes / 60 + seconds / 3600)) * kDegree;
}

template <class T>
const T* FindCode(const DynamicClassArray<T>* pArray, int iCode) {
    for (int i = 0; i < pArray->GetCount(); ++i)
        if ((*pArray)[i].iCode == iCode) return &(*pArray)[i];
    return nullptr;
}

class ShippedData : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitEPSGDataBase(nullptr); }
    static void TearDownTestSuite() { FreeEPSGDataBase(); }
};

struct Parameter {
    int code;
    double value;
};
struct PublishedSystem {
    int code;
    const char* name;
    int method, unit, datum, ellipsoid;
    std::vector<Parameter> parameters; // radians, metres or unity, in the file's order
};

TEST_F(ShippedData, PublishedSystems) {
    ASSERT_NE(pdaEPSGSystem, nullptr);
    EXPECT_EQ(ReadEPSGData(nullptr), 1);
    EXPECT_GT(pdaEPSGSystem->GetCount(), 4500);
    EXPECT_LT(pdaEPSGSystem->GetCount(), 6000);
    EXPECT_GT(pdaEPSGParams->GetCount(), 10000);
    const double usFoot = 1200.0 / 3937;
    const PublishedSystem systems[] = {
        {27700,
         "OSGB36 / British National Grid",
         9807,
         9001,
         6277,
         7001,
         {{8801, 49 * kDegree},
          {8802, -2 * kDegree},
          {8805, 0.9996012717},
          {8806, 400000},
          {8807, -100000}}},
        // Lambert-93: the dataset holds 46.3, 3, 49, 44 in sexagesimal DMS.
        {2154,
         "RGF93 v1 / Lambert-93",
         9802,
         9001,
         6171,
         7019,
         {{8821, 46.5 * kDegree},
          {8822, 3 * kDegree},
          {8823, 49 * kDegree},
          {8824, 44 * kDegree},
          {8826, 700000},
          {8827, 6600000}}},
        // LV95: centre 46°57'08.66"N 7°26'22.50"E, with seconds in the DMS values.
        {2056,
         "CH1903+ / LV95",
         9815,
         9001,
         6150,
         7004,
         {{8811, Dms(46, 57, 8.66)},
          {8812, Dms(7, 26, 22.5)},
          {8813, 90 * kDegree},
          {8814, 90 * kDegree},
          {8815, 1},
          {8816, 2600000},
          {8817, 1200000}}},
        {27572,
         "NTF (Paris) / Lambert zone II",
         9801,
         9001,
         6807,
         7011,
         {{8801, 52 * kPi / 200}, {8802, 0}, {8805, 0.99987742}, {8806, 600000}, {8807, 2200000}}},
        {2227,
         "NAD83 / California zone 3 (ftUS)",
         9802,
         9003,
         6269,
         7019,
         {{8821, Dms(36, 30)},
          {8822, Dms(-120, 30)},
          {8823, Dms(38, 26)},
          {8824, Dms(37, 4)},
          {8826, 6561666.667 * usFoot},
          {8827, 1640416.667 * usFoot}}},
    };
    for (const PublishedSystem& s : systems) {
        const EPSGSystem* pSystem = FindCode(pdaEPSGSystem, s.code);
        ASSERT_NE(pSystem, nullptr) << s.code;
        EXPECT_EQ(Narrow(pSystem->szName), s.name);
        EXPECT_EQ((std::vector<int>{pSystem->iMethodCode, pSystem->iUnitCode, pSystem->iDatumCode,
                                    pSystem->iEllipsoidCode}),
                  (std::vector<int>{s.method, s.unit, s.datum, s.ellipsoid}));
        std::vector<Parameter> actual;
        for (int i = 0; i < pdaEPSGParams->GetCount(); ++i) {
            const EPSGParams& row = (*pdaEPSGParams)[i];
            if (row.iOperationCode == pSystem->iOperationCode)
                actual.push_back({row.iParameterCode, row.dParameterValue});
        }
        ASSERT_EQ(actual.size(), s.parameters.size()) << s.code;
        for (size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i].code, s.parameters[i].code) << s.code;
            // Angles to 1e-15 rad (a nanometre on the ground); lengths to a micrometre.
            EXPECT_NEAR(actual[i].value, s.parameters[i].value,
                        std::fabs(s.parameters[i].value) > 10 ? 1e-6 : 1e-15)
                << s.code << " " << s.parameters[i].code;
        }
    }
    // Published ellipsoids and the Paris meridian (2°20'14.025"E, 2.5969213 grad).
    const EPSGEllipsoid* pAiry = FindCode(pdaEPSGEllipsoid, 7001);
    ASSERT_NE(pAiry, nullptr);
    EXPECT_EQ(Narrow(pAiry->szName), "Airy 1830");
    EXPECT_EQ(pAiry->dSemiMajorAxis, 6377563.396);
    EXPECT_EQ(pAiry->dInverseFlattening, 299.3249646);
    EXPECT_NEAR(pAiry->dSemiMinorAxis, 6356256.909, 1e-3);
    const EPSGEllipsoid* pClarke = FindCode(pdaEPSGEllipsoid, 7011); // given by a and b
    ASSERT_NE(pClarke, nullptr);
    EXPECT_NEAR(pClarke->dInverseFlattening, 293.4660213, 1e-7);
    EXPECT_EQ(pClarke->dSemiMinorAxis, 6356515.0);
    const EPSGPrimeMeridian* pParis = FindCode(pdaEPSGPrimeMeridian, 8903);
    ASSERT_NE(pParis, nullptr);
    EXPECT_NEAR(pParis->dLongitude / kDegree, 2.33722917, 1e-8);
    double value = 1;
    ASSERT_EQ(ConvertUnit(value, 9003), 1);
    EXPECT_EQ(value, 0.30480060960121924); // the dataset's 17 digits survive the text form
    value = 180;
    ASSERT_EQ(ConvertUnit(value, 9102), 1);
    EXPECT_EQ(value, kPi); // the degree is exact through the pi rule
}

// Every system refers to a loaded datum and ellipsoid, every datum to a loaded ellipsoid and
// prime meridian, and the parameter rows of each conversion stand in one run.
TEST_F(ShippedData, RowsReferToEachOther) {
    std::set<int> conversionsSeen;
    int previous = -1;
    for (int i = 0; i < pdaEPSGParams->GetCount(); ++i) {
        const int code = (*pdaEPSGParams)[i].iOperationCode;
        if (code != previous) {
            EXPECT_TRUE(conversionsSeen.insert(code).second) << code;
        }
        previous = code;
    }
    for (int i = 0; i < pdaEPSGSystem->GetCount(); ++i) {
        const EPSGSystem& system = (*pdaEPSGSystem)[i];
        EXPECT_NE(system.szName[0], 0) << system.iCode;
        EXPECT_EQ(conversionsSeen.count(system.iOperationCode), 1u) << system.iCode;
        const EPSGDatum* pDatum = FindCode(pdaEPSGDatum, system.iDatumCode);
        ASSERT_NE(pDatum, nullptr) << system.iCode;
        EXPECT_EQ(pDatum->iEllipsoidCode, system.iEllipsoidCode) << system.iCode;
        EXPECT_NE(FindCode(pdaEPSGEllipsoid, system.iEllipsoidCode), nullptr) << system.iCode;
        EXPECT_NE(FindCode(pdaEPSGPrimeMeridian, pDatum->iPrimeMeridianCode), nullptr);
    }
}

// Every built-in unit with an EPSG code has the factor the data gives that code (1 unit in
// metres or radians), but for the units the data lacks or defines otherwise (German legal
// metre 1.0000135965 m, British feet of 1865 0.30480083333 m, 1936 0.3048007491 m and Sears
// 1922 truncated 0.3047993333 m: the table keeps its own) and the bin widths (their names; feet of
// 304.8 mm). The units without a code have their published factors. The second numbering hosts rely
// on is fixed for the first 14 length units, degree 0 among the angles, and absent elsewhere.
TEST_F(ShippedData, BuiltInUnitTablesAgreeWithTheData) {
    ASSERT_EQ(iNumUnitsDefined, 58);
    ASSERT_EQ(iNumAnglesDefined, 11);
    const int altCodes[] = {-1, 5, 6, 7, 1, 2, 3, 4, 9, 0, 31, 32, 30, 8};
    const std::map<int, double> own = {{-1, 0},
                                       {9031, 1000.013597},
                                       {9070, 304.79004733333335},
                                       {9095, 304.800749},
                                       {9300, 304.799333},
                                       {9106, kPi / 200}};
    const double withoutCode[] = {0.0846666666666667, 1, 10, 25.4, 5029.2};
    std::set<int> codes;
    int nWithout = 0;
    for (int i = 0; i < iNumUnitsDefined + iNumAnglesDefined; ++i) {
        const bool angle = i >= iNumUnitsDefined;
        const CS_UNITS& unit =
            angle ? csKQCSAngleUnits[i - iNumUnitsDefined] : csKQCSLengthUnits[i];
        EXPECT_EQ(unit.iAltCode, i < 14 ? altCodes[i] : i == iNumUnitsDefined + 1 ? 0 : -1) << i;
        double expected = 1, width = 0;
        if (own.count(unit.iEPSGCode) != 0) {
            expected = unit.iEPSGCode == -1 ? withoutCode[nWithout++ % 5] : own.at(unit.iEPSGCode);
        } else if (std::sscanf(Narrow(unit.szName).c_str(), "Bin width %lf", &width) == 1) {
            expected =
                width * (Narrow(unit.szName).find("metres") != std::string::npos ? 1000 : 304.8);
        } else {
            EXPECT_EQ(ConvertUnit(expected, unit.iEPSGCode), 1) << unit.iEPSGCode;
            expected *= angle ? 1 : 1000;
        }
        EXPECT_TRUE(unit.iEPSGCode == -1 || codes.insert(unit.iEPSGCode).second) << i;
        EXPECT_NEAR(unit.dFactor, expected, 1e-15 * unit.dFactor) << unit.iEPSGCode << " " << i;
    }
    EXPECT_EQ(nWithout, 5);
    EXPECT_EQ(KqString(csKQCSLengthUnits[3].szName), Kq("Meter"));
}

} // namespace
