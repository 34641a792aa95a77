#include <gtest/gtest.h>

#include "geoxform/refdata.h"

namespace {

struct Row {
    int a;
    double b;
};

TEST(DynamicClassArray, GrowsInWholeStepsFarEnoughToCoverTheIndex) {
    DynamicClassArray<Row> array(8);
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetCapacity(), 0);

    array.GetAt(0) = Row{1, 1.5};
    EXPECT_EQ(array.GetCapacity(), 8);
    EXPECT_EQ(array.GetCount(), 1);

    for (int i = 1; i < 8; ++i)
        array.GetAt(i) = Row{i + 1, 0};
    EXPECT_EQ(array.GetCapacity(), 8);

    // 8 * max((8 + 100) / 8, 8 / 8 + 1) = 8 * 13.
    array.GetAt(100) = Row{101, 0};
    EXPECT_EQ(array.GetCapacity(), 104);
    EXPECT_EQ(array.GetCount(), 101);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(array.GetAt(i).a, i + 1); // contents kept
    EXPECT_EQ(array.GetAt(0).b, 1.5);

    // An index below the count changes nothing.
    Row& existing = array.GetAt(5);
    EXPECT_EQ(&existing, &array.GetAt(5));
    EXPECT_EQ(array.GetCount(), 101);
    EXPECT_EQ(array.GetCapacity(), 104);

    // One past the capacity grows by at least one step.
    array.GetAt(104);
    EXPECT_EQ(array.GetCapacity(), 112);
}

TEST(DynamicClassArray, ZeroGrowStepBecomes32) {
    DynamicClassArray<Row> array(0);
    EXPECT_EQ(array.GetGrowBy(), 32);
    array.GetAt(0);
    EXPECT_EQ(array.GetCapacity(), 32);
}

TEST(DynamicClassArray, ImpossibleIndexesLeaveTheArrayAlone) {
    DynamicClassArray<Row> array(64);
    array.GetAt(0).a = 7;
    EXPECT_EQ(array.TryGetAt(-1), nullptr);
    EXPECT_EQ(array.TryGetAt(INT32_MAX), nullptr); // capacity would pass the 32-bit range
    Row& scratch = array.GetAt(-5);
    scratch.a = 1; // writes to a scratch row, nowhere in the array
    EXPECT_EQ(array.GetCount(), 1);
    EXPECT_EQ(array.GetCapacity(), 64);
    EXPECT_EQ(array.GetAt(0).a, 7);
}

} // namespace
