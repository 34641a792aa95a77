// CompareCRSystemData over a table of record pairs in a data file.
#include <gtest/gtest.h>

#include "service/crsystem_init.h"
#include "test_support.h"

namespace {

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
    EXPECT_EQ(CompareCRSystemData(&r, nullptr), 7); // a missing record differs in everything
    EXPECT_EQ(CompareCRSystemData(nullptr, &r), 7);
    EXPECT_EQ(CompareCRSystemData(nullptr, nullptr), 7);
}

} // namespace
