// The reference data file shipped with the library, loaded from Support beside it without
// being told a path: real systems come out with the constants their definitions publish, and
// the built-in unit tables agree with the units of the data.
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "geoxform/refdata.h"
#include "geoxform/units.h"
#include "test_support.h"

namespace {

using testconst::kDegree;
using testconst::kPi;

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

// A published value: d:degrees,minutes,seconds and g:grads in radians, ftUS: in metres.
double Published(const std::string& text) {
    double a = 0, b = 0, c = 0;
    if (std::sscanf(text.c_str(), "d:%lf,%lf,%lf", &a, &b, &c) == 3)
        return (a + b / 60 + c / 3600) * kDegree;
    if (std::sscanf(text.c_str(), "g:%lf", &a) == 1) return a * kPi / 200;
    if (std::sscanf(text.c_str(), "ftUS:%lf", &a) == 1) return a * 1200 / 3937;
    return std::stod(text);
}

TEST_F(ShippedData, PublishedSystems) {
    ASSERT_NE(pdaEPSGSystem, nullptr);
    EXPECT_EQ(ReadEPSGData(nullptr), 1);
    EXPECT_GT(pdaEPSGSystem->GetCount(), 4500);
    EXPECT_LT(pdaEPSGSystem->GetCount(), 6000);
    EXPECT_GT(pdaEPSGParams->GetCount(), 10000);
    for (const auto& row : Rows(
#include "data/refdata/published_systems.txt"
             )) {
        const EPSGSystem* pSystem = FindCode(pdaEPSGSystem, std::stoi(row[0]));
        ASSERT_NE(pSystem, nullptr) << row[0];
        EXPECT_EQ(Narrow(pSystem->szName), row[1]);
        char codes[64];
        snprintf(codes, sizeof(codes), "%d %d %d %d", pSystem->iMethodCode, pSystem->iUnitCode,
                 pSystem->iDatumCode, pSystem->iEllipsoidCode);
        EXPECT_EQ(codes, row[2]);
        std::istringstream expected(row[3]);
        std::string parameter;
        for (int i = 0; i < pdaEPSGParams->GetCount(); ++i) {
            const EPSGParams& p = (*pdaEPSGParams)[i];
            if (p.iOperationCode != pSystem->iOperationCode) continue;
            ASSERT_TRUE(expected >> parameter) << row[0] << " has more parameters";
            EXPECT_EQ(p.iParameterCode, std::stoi(parameter)) << row[0];
            const double value = Published(parameter.substr(5));
            // Angles to 1e-15 rad (a nanometre on the ground); lengths to a micrometre.
            EXPECT_NEAR(p.dParameterValue, value, std::fabs(value) > 10 ? 1e-6 : 1e-15)
                << row[0] << " " << parameter;
        }
        EXPECT_FALSE(expected >> parameter) << row[0] << " lacks " << parameter;
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
        EXPECT_TRUE(code == previous || conversionsSeen.insert(code).second) << code;
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

// Built-in units with an EPSG code have the data's factor (1 unit in mm or radians), but the
// units the data lacks or defines otherwise keep their own (German legal metre 1.0000135965 m;
// British feet of 1865 0.30480083333 m, 1936 0.3048007491 m, Sears 1922 truncated 0.3047993333
// m), as do bin widths (by name; feet of 304.8 mm) and the units without a code. The second
// numbering hosts rely on: fixed for the first 14 length units and degree (0), else absent.
TEST_F(ShippedData, BuiltInUnitTablesAgreeWithTheData) {
    ASSERT_EQ(iNumUnitsDefined, 58);
    ASSERT_EQ(iNumAnglesDefined, 11);
    const int altCodes[] = {-1, 5, 6, 7, 1, 2, 3, 4, 9, 0, 31, 32, 30, 8};
    // clang-format off
    const std::map<int, double> own = {{-1, 0}, {9031, 1000.013597}, {9070, 304.79004733333335},
        {9095, 304.800749}, {9300, 304.799333}, {9106, kPi / 200}};
    // clang-format on
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
}

} // namespace
