#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "geoxform/units.h"
#include "test_support.h"

namespace {

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, SystemDeleter>;

TEST(CoordSystem, NewObjectForMetresAt25000) {
    SystemPtr system(CreateCoordSystem(3, 25000.0));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetUnits(), 3);
    EXPECT_EQ(system->GetUnitsFac(), 1000.0);
    EXPECT_EQ(KqString(system->GetUnitsName()), Kq("Meter"));
    EXPECT_EQ(system->GetScale(), 25000.0);
    EXPECT_EQ(system->HasProjection(), 0);
    EXPECT_EQ(system->GetUnProjectFlag(), 0);
    EXPECT_EQ(system->GetResolution(), 300);
    EXPECT_EQ(system->GetPrecision(), 2);
    DeleteCoordSystem(nullptr); // ignored
}

TEST(CoordSystem, DefaultsAreMillimetresAtScaleOne) {
    SystemPtr system(CreateCoordSystem());
    EXPECT_EQ(system->GetUnits(), 1);
    EXPECT_EQ(KqString(system->GetUnitsName()), Kq("Millimeter"));
    EXPECT_EQ(system->GetScale(), 1.0);
}

TEST(CoordSystem, ResolutionChangesOnlyThePixelFactor) {
    SystemPtr pixels(CreateCoordSystem(0, 1.0));
    EXPECT_EQ(pixels->GetUnitsFac(), 0.0846666666666667);
    pixels->SetResolution(600);
    EXPECT_EQ(pixels->GetResolution(), 600);
    EXPECT_EQ(pixels->GetUnitsFac(), 25.4 / 600);

    SystemPtr metres(CreateCoordSystem(3, 1.0));
    metres->SetResolution(600);
    EXPECT_EQ(metres->GetResolution(), 600);
    EXPECT_EQ(metres->GetUnitsFac(), 1000.0);

    // A resolution below one dot per inch is refused: no division by zero later.
    pixels->SetResolution(0);
    pixels->SetResolution(-3);
    EXPECT_EQ(pixels->GetResolution(), 600);
    EXPECT_EQ(pixels->GetUnitsFac(), 25.4 / 600);
}

TEST(CoordSystem, PrecisionAndUnprojectFlag) {
    SystemPtr system(CreateCoordSystem(3, 1.0));
    system->SetPrecision(4);
    EXPECT_EQ(system->GetPrecision(), 4);
    system->SetUnProjectFlag(2);
    EXPECT_EQ(system->GetUnProjectFlag(), 2); // stored as given; only 1 means geographic
}

TEST(CoordSystem, UnitsOutsideTheTableReadNothingOutsideIt) {
    for (int units : {-1, 58, 1000}) {
        SystemPtr system(CreateCoordSystem(units, 1.0));
        ASSERT_NE(system, nullptr);
        EXPECT_EQ(system->GetUnits(), units);
        EXPECT_EQ(system->GetUnitsFac(), 1.0);
        EXPECT_EQ(KqString(system->GetUnitsName()), KqString());
    }
}

TEST(CoordSystem, AssignmentCopiesEverything) {
    SystemPtr source(CreateCoordSystem(6, 2500.0));
    source->SetPrecision(5);
    source->SetResolution(150);
    source->SetUnProjectFlag(1);
    SystemPtr copy(CreateCoordSystem(3, 1.0));
    *copy = *source;
    EXPECT_EQ(copy->GetUnits(), 6);
    EXPECT_EQ(copy->GetUnitsFac(), 304.8);
    EXPECT_EQ(KqString(copy->GetUnitsName()), Kq("Foot"));
    EXPECT_EQ(copy->GetScale(), 2500.0);
    EXPECT_EQ(copy->GetPrecision(), 5);
    EXPECT_EQ(copy->GetResolution(), 150);
    EXPECT_EQ(copy->GetUnProjectFlag(), 1);
    *copy = *copy; // self-assignment keeps everything
    EXPECT_EQ(copy->GetUnits(), 6);
}

} // namespace
