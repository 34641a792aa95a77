#include <gtest/gtest.h>

#include "service/projection_methods.h"
#include "test_support.h"

namespace {

TEST(ProjectionMethods, LookupByMethodCode) {
    const CS_PROJECTION* pRow = gx::FindProjectionMethod(9807);
    ASSERT_NE(pRow, nullptr);
    EXPECT_EQ(pRow - csProjectionMethods, 22);
    EXPECT_EQ(pRow->iNumber, 4);
    EXPECT_EQ(pRow->iMask, 0x73);
    EXPECT_EQ(KqString(pRow->szName), Kq("Transverse Mercator"));

    EXPECT_EQ(gx::FindProjectionMethod(9808), nullptr);
    EXPECT_EQ(gx::FindProjectionMethod(-1), nullptr);    // the "None" row is not a method
    EXPECT_EQ(gx::FindProjectionMethod(9825)->iMask, 0); // Pseudo Plate Carree needs nothing
}

// Every row's mask must be exactly the groups of the parameters it lists.
TEST(ProjectionMethods, MasksMatchTheListedParameters) {
    for (int i = 1; i < kNumProjectionMethodRows; ++i) {
        const CS_PROJECTION& row = csProjectionMethods[i];
        int32_t mask = 0;
        for (int k = 0; k < row.iNumParams; ++k) {
            const gx::ParameterGroup group = gx::ParameterGroupOf(row.aiParams[k]);
            ASSERT_NE(group, gx::kGroupNone) << row.aiParams[k];
            mask |= gx::GroupMaskBit(group);
        }
        EXPECT_EQ(mask, row.iMask) << Narrow(row.szName);
    }
}

TEST(ProjectionMethods, ParameterGroups) {
    EXPECT_EQ(gx::ParameterGroupOf(8830), gx::kGroupOriginLongitude);
    EXPECT_EQ(gx::ParameterGroupOf(8802), gx::kGroupOriginLongitude);
    EXPECT_EQ(gx::ParameterGroupOf(8831), gx::kGroupZoneWidth);
    EXPECT_EQ(gx::GroupMaskBit(gx::kGroupZoneWidth), 0x200);
    for (int code : {8803, 8804, 8808, 8809, 8810, 8820, 8825, 8800, 8834, 0})
        EXPECT_EQ(gx::ParameterGroupOf(code), gx::kGroupNone) << code;

    int zoneWidthMembers = 0;
    for (int code = 8800; code <= 8840; ++code)
        zoneWidthMembers += gx::ParameterGroupOf(code) == gx::kGroupZoneWidth;
    EXPECT_EQ(zoneWidthMembers, 1);
    for (int i = 0; i < kNumProjectionMethodRows; ++i)
        EXPECT_EQ(csProjectionMethods[i].iMask & 0x200, 0); // no method requires a zone width
}

} // namespace
