#include <cmath>

#include <gtest/gtest.h>

#include "geoxform/refdata.h"
#include "test_support.h"

namespace {

const double kPi = 3.141592653589793;

// A small set of unit rows in the arrays of a fresh database, without any data file.
class UnitConversion : public ::testing::Test {
protected:
    void SetUp() override {
        InitEmptyDatabase();
        ASSERT_NE(pdaEPSGUnits, nullptr);
        Add(9001, 9001, 1, 1);      // metre
        Add(9002, 9001, 0.3048, 1); // foot
        Add(9003, 9001, 12, 39.37); // US survey foot
        Add(9101, 9101, 1, 1);      // radian
        Add(9102, 9101, kPi, 180);  // degree
        Add(9105, 9101, kPi, 200);  // grad
        Add(9110, 9102, 1, 1);      // sexagesimal DMS
        Add(9111, 9102, 1, 1);      // sexagesimal DM
        Add(9104, 9103, 1, 60);     // arc-second -> arc-minute (missing link)
        Add(9113, 9114, 1, 1);      // a loop: 9113 -> 9114 -> 9113
        Add(9114, 9113, 2, 1);
        Add(9204, 9002, 330, 1); // bin width in feet, a length code above 9203
    }
    void TearDown() override { FreeEPSGDataBase(); }

    static void Add(int code, int target, double b, double c) {
        EPSGUnits& row = pdaEPSGUnits->GetAt(pdaEPSGUnits->GetCount());
        row = EPSGUnits{};
        row.iCode = code;
        row.iTargetCode = target;
        row.dFactorB = b;
        row.dFactorC = c;
    }

    static double Convert(double value, int code, int expectedResult = 1) {
        EXPECT_EQ(ConvertUnit(value, code), expectedResult) << "unit " << code;
        return value;
    }
};

TEST_F(UnitConversion, BaseUnitsAndCodesWithoutUnitStayUnchanged) {
    EXPECT_EQ(Convert(12.5, 9001), 12.5);
    EXPECT_EQ(Convert(12.5, 9101), 12.5);
    for (int code : {0, -1, 9200, 9201, 9203, 8000})
        EXPECT_EQ(Convert(12.5, code), 12.5) << code;
}

TEST_F(UnitConversion, ChainsReachMetreAndRadian) {
    EXPECT_DOUBLE_EQ(Convert(10, 9002), 3.048);
    EXPECT_DOUBLE_EQ(Convert(39.37, 9003), 12);
    EXPECT_DOUBLE_EQ(Convert(180, 9102), kPi);
    EXPECT_DOUBLE_EQ(Convert(100, 9105), kPi / 2);
    EXPECT_DOUBLE_EQ(Convert(1, 9204), 330 * 0.3048);
}

TEST_F(UnitConversion, SexagesimalValuesDecodeBeforeTheChain) {
    const double degree = kPi / 180;
    EXPECT_NEAR(Convert(12.3030, 9110), (12 + 30 / 60.0 + 30 / 3600.0) * degree, 1e-15);
    EXPECT_NEAR(Convert(-12.3030, 9110), -(12 + 30 / 60.0 + 30 / 3600.0) * degree, 1e-15);
    EXPECT_NEAR(Convert(49.0, 9110), 49 * degree, 1e-15);
    EXPECT_NEAR(Convert(52.0950, 9110), (52 + 9 / 60.0 + 50 / 3600.0) * degree, 1e-15);
    EXPECT_NEAR(Convert(45.30, 9111), 45.5 * degree, 1e-15);
    EXPECT_NEAR(Convert(-45.30, 9111), -45.5 * degree, 1e-15);
}

TEST_F(UnitConversion, MissingLinkAndLoopFailWithZero) {
    // 9104 -> 9103, which no row carries: the first link's factor stays applied.
    EXPECT_DOUBLE_EQ(Convert(60, 9104, 0), 1);
    EXPECT_EQ(Convert(5, 9107, 0), 5); // no row at all
    // The loop 9113 -> 9114 -> 9113 ends instead of running forever.
    Convert(1, 9113, 0);
}

TEST(UnitConversionWithoutDatabase, FailsEvenForBaseUnits) {
    double value = 3;
    EXPECT_EQ(ConvertUnit(value, 9001), 0);
    EXPECT_EQ(ConvertUnit(value, 0), 0);
    EXPECT_EQ(value, 3);
}

} // namespace
