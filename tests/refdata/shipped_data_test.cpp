// The reference data file shipped with the library, loaded from Support beside it without
// being told a path: real systems come out with the constants their definitions publish.
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/refdata.h"
#include "test_support.h"

namespace {

const double kPi = 3.141592653589793;
const double kDegree = kPi / 180;

double Dms(double degrees, double minutes, double seconds = 0) {
    return degrees + (degrees < 0 ? -1 : 1) * (minutes / 60 + seconds / 3600);
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

    // The parameter values of a system in file order, in radians, metres or unity.
    struct Parameter {
        int code;
        double value;
    };
    static std::vector<Parameter> Parameters(const EPSGSystem& system) {
        std::vector<Parameter> out;
        for (int i = 0; i < pdaEPSGParams->GetCount(); ++i) {
            const EPSGParams& row = (*pdaEPSGParams)[i];
            if (row.iOperationCode == system.iOperationCode)
                out.push_back({row.iParameterCode, row.dParameterValue});
            else if (!out.empty())
                break;
        }
        return out;
    }

    // Checks a system's codes and its parameters against published values.
    static void ExpectSystem(int code, const char* pszName, int method, int unit, int datum,
                             int ellipsoid, const std::vector<Parameter>& expected) {
        const EPSGSystem* pSystem = FindCode(pdaEPSGSystem, code);
        ASSERT_NE(pSystem, nullptr) << code;
        EXPECT_EQ(Narrow(pSystem->szName), pszName);
        EXPECT_EQ(pSystem->iMethodCode, method) << code;
        EXPECT_EQ(pSystem->iUnitCode, unit) << code;
        EXPECT_EQ(pSystem->iDatumCode, datum) << code;
        EXPECT_EQ(pSystem->iEllipsoidCode, ellipsoid) << code;
        const std::vector<Parameter> actual = Parameters(*pSystem);
        ASSERT_EQ(actual.size(), expected.size()) << code;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(actual[i].code, expected[i].code) << code;
            // Angles to 1e-15 rad (a nanometre on the ground); lengths to a micrometre.
            const double tolerance = std::fabs(expected[i].value) > 10 ? 1e-6 : 1e-15;
            EXPECT_NEAR(actual[i].value, expected[i].value, tolerance)
                << code << " parameter " << expected[i].code;
        }
    }
};

TEST_F(ShippedData, LoadsFromTheDefaultDirectoryWithPlausibleCounts) {
    ASSERT_NE(pdaEPSGSystem, nullptr);
    EXPECT_EQ(ReadEPSGData(nullptr), 1);
    EXPECT_GT(pdaEPSGSystem->GetCount(), 4500);
    EXPECT_LT(pdaEPSGSystem->GetCount(), 6000);
    EXPECT_GT(pdaEPSGParams->GetCount(), 10000);
    EXPECT_GT(pdaEPSGDatum->GetCount(), 400);
    EXPECT_GT(pdaEPSGEllipsoid->GetCount(), 40);
    EXPECT_GE(pdaEPSGPrimeMeridian->GetCount(), 14);
    EXPECT_GT(pdaEPSGUnits->GetCount(), 60);
}

TEST_F(ShippedData, BritishNationalGrid) {
    ExpectSystem(27700, "OSGB36 / British National Grid", 9807, 9001, 6277, 7001,
                 {{8801, 49 * kDegree},
                  {8802, -2 * kDegree},
                  {8805, 0.9996012717},
                  {8806, 400000},
                  {8807, -100000}});
    const EPSGEllipsoid* pAiry = FindCode(pdaEPSGEllipsoid, 7001);
    ASSERT_NE(pAiry, nullptr);
    EXPECT_EQ(Narrow(pAiry->szName), "Airy 1830");
    EXPECT_EQ(pAiry->dSemiMajorAxis, 6377563.396);
    EXPECT_EQ(pAiry->dInverseFlattening, 299.3249646);
    EXPECT_NEAR(pAiry->dSemiMinorAxis, 6356256.909, 1e-3); // the published b
    const EPSGSystem* pSystem = FindCode(pdaEPSGSystem, 27700);
    EXPECT_EQ(pSystem->iAuxCode1, 4277); // OSGB36 geographic
    EXPECT_EQ(pSystem->iOperationCode, 19916);
}

TEST_F(ShippedData, SexagesimalParametersLambert93AndSwissLV95) {
    // Lambert-93: the dataset holds 46.3, 3, 49, 44 in sexagesimal DMS.
    ExpectSystem(2154, "RGF93 v1 / Lambert-93", 9802, 9001, 6171, 7019,
                 {{8821, 46.5 * kDegree},
                  {8822, 3 * kDegree},
                  {8823, 49 * kDegree},
                  {8824, 44 * kDegree},
                  {8826, 700000},
                  {8827, 6600000}});
    // LV95: centre 46°57'08.66"N 7°26'22.50"E, with seconds in the DMS values.
    ExpectSystem(2056, "CH1903+ / LV95", 9815, 9001, 6150, 7004,
                 {{8811, Dms(46, 57, 8.66) * kDegree},
                  {8812, Dms(7, 26, 22.5) * kDegree},
                  {8813, 90 * kDegree},
                  {8814, 90 * kDegree},
                  {8815, 1},
                  {8816, 2600000},
                  {8817, 1200000}});
}

TEST_F(ShippedData, ParisMeridianInGrads) {
    ExpectSystem(
        27572, "NTF (Paris) / Lambert zone II", 9801, 9001, 6807, 7011,
        {{8801, 52 * kPi / 200}, {8802, 0}, {8805, 0.99987742}, {8806, 600000}, {8807, 2200000}});
    const EPSGDatum* pDatum = FindCode(pdaEPSGDatum, 6807);
    ASSERT_NE(pDatum, nullptr);
    EXPECT_EQ(pDatum->iPrimeMeridianCode, 8903);
    const EPSGPrimeMeridian* pParis = FindCode(pdaEPSGPrimeMeridian, 8903);
    ASSERT_NE(pParis, nullptr);
    EXPECT_EQ(Narrow(pParis->szName), "Paris");
    EXPECT_NEAR(pParis->dLongitude / kDegree, 2.33722917, 1e-8); // 2°20'14.025"E
    // Clarke 1880 (IGN) is given by a and b; 1/f is derived.
    const EPSGEllipsoid* pClarke = FindCode(pdaEPSGEllipsoid, 7011);
    ASSERT_NE(pClarke, nullptr);
    EXPECT_NEAR(pClarke->dInverseFlattening, 293.4660213, 1e-7);
    EXPECT_EQ(pClarke->dSemiMinorAxis, 6356515.0);
}

TEST_F(ShippedData, UsSurveyFeet) {
    const double usFoot = 1200.0 / 3937;
    ExpectSystem(2227, "NAD83 / California zone 3 (ftUS)", 9802, 9003, 6269, 7019,
                 {{8821, Dms(36, 30) * kDegree},
                  {8822, Dms(-120, 30) * kDegree},
                  {8823, Dms(38, 26) * kDegree},
                  {8824, Dms(37, 4) * kDegree},
                  {8826, 6561666.667 * usFoot},
                  {8827, 1640416.667 * usFoot}});
    double value = 1;
    ASSERT_EQ(ConvertUnit(value, 9003), 1);
    EXPECT_EQ(value, 0.30480060960121924); // the dataset's 17 digits survive the text form
    EXPECT_NEAR(value, usFoot, 1e-16);
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
    // WGS 84 and ETRS89 are datums of their own.
    EXPECT_NE(FindCode(pdaEPSGDatum, 6326), nullptr);
    EXPECT_NE(FindCode(pdaEPSGDatum, 6258), nullptr);
}

} // namespace
