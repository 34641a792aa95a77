// ValidateCRSystem on the reference fixture's rows (one table of records in a data file with
// the result code and what each record is completed to) and CompareCRSystemData on record pairs.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "reference_fixture.h"
#include "service/crsystem_init.h"

namespace {

std::string Summary(const KQCRSystem& r) {
    char s[600];
    snprintf(s, sizeof(s),
             "%d %s;%d %d;%s %d;%d@%d;%d@%d %.12g %.12g %.12g %s;%d@%d %s %.9f;%d %g;%s",
             r.iSystemCode, Narrow(r.szSystemName).c_str(), r.iOperationCode, r.iMethodCode,
             Narrow(r.szMethodName).c_str(), r.iProjection, r.iDatumCode, r.iDatumIndex,
             r.iEllipsoidCode, r.iEllipsoidIndex, r.dSemiMajorAxis, r.dSemiMinorAxis,
             r.dInverseFlattening, Narrow(r.szEllipsoidName).c_str(), r.iPrimeMeridianCode,
             r.iPrimeMeridianIndex, Narrow(r.szPrimeMeridianName).c_str(),
             r.dPrimeMeridian / testconst::kDegree, r.iNumParameters,
             r.adParameterValues[r.iNumParameters > 0 ? r.iNumParameters - 1 : 0],
             Narrow(r.szUnitsName).c_str());
    return s;
}

class Validation : public fixture::ReferenceData {};

TEST_F(Validation, ResultCodesAndCompletedRecords) {
    // clang-format off
    fixture::AddSystem(88888, "Many rows", 77777, 9807, 9001, 6326, 7030,
        {{8801, 0}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}, {8803, 1}, {8803, 2}, {8803, 3},
         {8803, 4}, {8803, 5}, {8803, 6}, {8803, 7}, {8803, 8}, {8803, 9}, {8803, 10}, {8803, 11}});
    // clang-format on
    for (const auto& row : Rows(
#include "data/refdata/validation_cases.txt"
             )) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 25000.0);
        Edit(r, row[1]);
        EXPECT_EQ(ValidateCRSystem(&r), std::stoi(row[2])) << row[0];
        if (!row[3].empty()) {
            EXPECT_EQ(Summary(r), row[3]) << row[0];
        }
    }
    EXPECT_EQ(pdaEPSGEllipsoid->GetCount(), 11);
    EXPECT_EQ(ValidateCRSystem(nullptr), 1);
}

// After a row with code 2147483647, the smallest free code above 32767, found again later.
TEST_F(Validation, DoesNotOverflowNextEllipsoidCode) {
    fixture::AddEllipsoid(INT32_MAX, "Last code", 6000000, 300, 0);
    fixture::AddEllipsoid(32768, "Taken", 6100000, 300, 0);
    for (int round = 0; round < 2; ++round) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 25000.0);
        Edit(r, "tm a=6378000 invf=300");
        EXPECT_EQ(ValidateCRSystem(&r), 0);
        EXPECT_EQ(r.iEllipsoidCode, 32769); // the same row again in the second round
    }
}

TEST(CompareCRSystemData, RecordPairs) {
    for (const auto& row : Rows(
#include "data/refdata/compare_cases.txt"
             )) {
        KQCRSystem first, second;
        gx::InitCRSystem(&first, 3, 25000);
        gx::InitCRSystem(&second, 3, 25000);
        Edit(first, row[1]);
        Edit(second, row[2]);
        EXPECT_EQ(CompareCRSystemData(&first, &second), std::stoi(row[3])) << row[0];
    }
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 25000);
    EXPECT_EQ(ValidateCRSystem(&r), 1);             // no database: no system
    EXPECT_EQ(CompareCRSystemData(&r, nullptr), 7); // a missing record differs in everything
    EXPECT_EQ(CompareCRSystemData(nullptr, &r), 7);
    EXPECT_EQ(CompareCRSystemData(nullptr, nullptr), 7);
}

} // namespace
