#include <gtest/gtest.h>

#include "geoxform/units.h"
#include "test_support.h"

namespace {

TEST(UnitTables, CountsAndRowsHostsRelyOn) {
    EXPECT_EQ(iNumUnitsDefined, 58);
    EXPECT_EQ(iNumAnglesDefined, 11);

    struct Row {
        int index;
        int epsg;
        const char* name;
        double factor;
    };
    const Row lengths[] = {
        {0, -1, "Pixel", 0.0846666666666667},
        {1, -1, "Millimeter", 1.0},
        {3, 9001, "Meter", 1000.0},
        {6, 9002, "Foot", 304.8},
        {13, 9003, "US survey foot", 304.8006096012192},
        {53, 9211, "Bin width 3.125 metres", 3125.0},
        {57, 9302, "British link (Sears 1922 truncated)", 201.16756},
    };
    for (const Row& row : lengths) {
        const CS_UNITS& unit = csKQCSLengthUnits[row.index];
        EXPECT_EQ(unit.iEPSGCode, row.epsg) << row.name;
        EXPECT_EQ(KqString(unit.szName), Kq(row.name));
        EXPECT_EQ(unit.dFactor, row.factor) << row.name;
    }
    // The pixel factor is the printed literal, not the quotient 25.4 / 300.
    EXPECT_NE(csKQCSLengthUnits[0].dFactor, 25.4 / 300);

    int metres = 0;
    for (int i = 0; i < iNumUnitsDefined; ++i)
        metres += csKQCSLengthUnits[i].iEPSGCode == 9001;
    EXPECT_EQ(metres, 1);

    EXPECT_EQ(csKQCSAngleUnits[1].iEPSGCode, 9102);
    EXPECT_EQ(csKQCSAngleUnits[1].dFactor, 0.017453292519943295);
    EXPECT_EQ(csKQCSAngleUnits[4].dFactor, 0.015707963267948967);
    EXPECT_EQ(KqString(csKQCSAngleUnits[10].szName),
              Kq("degree (supplier to define representation)"));
}

} // namespace
