// ConvertUnit along the chains of a few hand-written unit rows, and the record array's
// impossible indexes.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/refdata.h"
#include "test_support.h"

namespace {

using testconst::kDegree;
using testconst::kPi;

double Dms(double d, double m, double s) {
    return (d < 0 ? -1 : 1) * (std::fabs(d) + m / 60 + s / 3600) * kDegree;
}

// At most 16 links: a crafted file once made each converted row walk a chain as long as itself.
TEST(UnitConversion, ChainsToMetreAndRadianRefusedBeyondSixteenLinks) {
    InitEmptyDatabase();
    struct Row {
        int code, target;
        double b, c;
    };
    std::vector<Row> rows = {{9001, 9001, 1, 1}, {9002, 9001, 0.3048, 1}, {9003, 9001, 12, 39.37},
                             {9101, 9101, 1, 1}, {9102, 9101, kPi, 180},  {9105, 9101, kPi, 200},
                             {9110, 9102, 1, 1}, {9111, 9102, 1, 1},      {9104, 9103, 1, 60},
                             {9113, 9114, 1, 1}, {9114, 9113, 2, 1},      {9204, 9002, 330, 1}};
    for (int code = 9030; code <= 9046; ++code) // 9030 + k reaches metre in k + 1 links
        rows.push_back({code, code == 9030 ? 9001 : code - 1, 2, 1});
    for (const auto& row : rows) {
        EPSGUnits& unit = pdaEPSGUnits->GetAt(pdaEPSGUnits->GetCount());
        unit = EPSGUnits{};
        unit.iCode = row.code, unit.iTargetCode = row.target;
        unit.dFactorB = row.b, unit.dFactorC = row.c;
    }
    const struct {
        int code;
        double value;
        int result;
        double expected;
    } cases[] = {// clang-format off
        {9001, 12.5, 1, 12.5}, {9101, 12.5, 1, 12.5}, {0, 12.5, 1, 12.5}, {-1, 12.5, 1, 12.5},
        {9200, 12.5, 1, 12.5}, {9201, 12.5, 1, 12.5}, {9203, 12.5, 1, 12.5}, {8000, 12.5, 1, 12.5},
        {9099, 12.5, 0, 12.5}, {9100, 1, 0, 1}, {9199, 1, 0, 1}, {9002, 10, 1, 3.048},
        {9003, 39.37, 1, 12}, {9102, 180, 1, kPi}, {9105, 100, 1, kPi / 2},
        {9204, 1, 1, 330 * 0.3048}, // a length code above 9203
        {9045, 1, 1, 65536}, {9046, 1, 0, NAN}, // 16 links, 17 links
        // Sexagesimal values decode before the chain.
        {9110, 12.3030, 1, Dms(12, 30, 30)}, {9110, -12.3030, 1, Dms(-12, 30, 30)},
        {9110, 0.3030, 1, Dms(0, 30, 30)}, {9110, 49.0, 1, 49 * kDegree},
        {9110, 52.0950, 1, Dms(52, 9, 50)}, {9110, 46.570866, 1, Dms(46, 57, 8.66)},
        {9111, 45.30, 1, 45.5 * kDegree}, {9111, -45.30, 1, -45.5 * kDegree},
        {9111, 0.30, 1, 0.5 * kDegree}, {9111, 7.0, 1, 7 * kDegree},
        // A missing link keeps the first link's factor; a loop ends.
        {9104, 60, 0, 1}, {9107, 5, 0, 5}, {9113, 1, 0, NAN}};
    // clang-format on
    for (const auto& c : cases) {
        double value = c.value;
        EXPECT_EQ(ConvertUnit(value, c.code), c.result) << c.code << " " << c.value;
        if (!std::isnan(c.expected)) {
            EXPECT_NEAR(value, c.expected, 1e-15 * (1 + std::fabs(value)));
        }
    }
    FreeEPSGDataBase();
    double value = 3;
    EXPECT_EQ(ConvertUnit(value, 0), 0); // no database: fails even without a unit
    EXPECT_EQ(value, 3);
}

TEST(DynamicClassArray, ImpossibleIndexesLeaveTheArrayAlone) {
    DynamicClassArray<EPSGDatum> array(0); // a step of 0 becomes 32
    array.GetAt(0).iCode = 7;
    array.GetAt(40).iCode = 8; // grows far enough for the index, keeping the rows
    EXPECT_EQ(array.GetCount(), 41);
    EXPECT_EQ(array.GetAt(0).iCode, 7);
    EXPECT_EQ(array.TryGetAt(-1), nullptr);
    EXPECT_EQ(array.TryGetAt(INT32_MAX), nullptr); // capacity would pass the 32-bit range
    array.GetAt(-5).iCode = 1;                     // a scratch row, nowhere in the array
    EXPECT_EQ(array.GetCount(), 41);
    EXPECT_EQ(array.GetAt(0).iCode, 7);
    EXPECT_EQ(array.GetAt(40).iCode, 8);
}

} // namespace
