#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "service/longitude.h"

namespace {

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, SystemDeleter>;

const double kPi = 3.141592653589793;

TEST(WorldUser, PlaneModeScalesAboutTheOrigin) {
    SystemPtr system(CreateCoordSystem(3, 25000.0));
    double ux = 0, uy = 0, wx = 0, wy = 0;
    EXPECT_EQ(system->World2User(10, 4, ux, uy, -1), 1);
    EXPECT_DOUBLE_EQ(ux, 250);
    EXPECT_DOUBLE_EQ(uy, 100);
    EXPECT_EQ(system->User2World(ux, uy, wx, wy, -1), 1);
    EXPECT_DOUBLE_EQ(wx, 10);
    EXPECT_DOUBLE_EQ(wy, 4);
    EXPECT_DOUBLE_EQ(system->Scale2UserUnits(10), 250);
}

TEST(WorldUser, GeographicModeWithoutProjectionTakesDegrees) {
    SystemPtr system(CreateCoordSystem(1, 1.0));
    double ux = 0, uy = 0, wx = 0, wy = 0;
    system->World2User(30, 60, ux, uy, 1);
    EXPECT_DOUBLE_EQ(ux, kPi / 6);
    EXPECT_DOUBLE_EQ(uy, kPi / 3);
    system->User2World(ux, uy, wx, wy, 1);
    EXPECT_DOUBLE_EQ(wx, 30);
    EXPECT_DOUBLE_EQ(wy, 60);

    // The flag as the object's own setting: -1 resolves to it; 2 is plane mode.
    system->SetUnProjectFlag(1);
    system->World2User(30, 60, ux, uy, -1);
    EXPECT_DOUBLE_EQ(ux, kPi / 6);
    system->World2User(30, 60, ux, uy, 0);
    EXPECT_DOUBLE_EQ(ux, 30);
    system->SetUnProjectFlag(2);
    system->World2User(30, 60, ux, uy, -1);
    EXPECT_DOUBLE_EQ(ux, 30);
}

TEST(WorldUser, RoundTripsInEveryPlaneUnit) {
    for (int units = 0; units < 58; ++units) {
        SystemPtr system(CreateCoordSystem(units, 50000.0));
        double ux, uy, wx, wy;
        system->World2User(123.25, -47.5, ux, uy, 0);
        system->User2World(ux, uy, wx, wy, 0);
        EXPECT_NEAR(wx, 123.25, 1e-9) << units;
        EXPECT_NEAR(wy, -47.5, 1e-9) << units;
    }
}

// A zero scale (only CreateCoordSystem accepts one: validation and the text form refuse it)
// maps every sheet point onto the fixed point; the way back cannot divide by the scale and
// gives the fixed point instead of infinities.
TEST(WorldUser, ZeroScaleGivesTheFixedPoint) {
    SystemPtr zero(CreateCoordSystem(3, 0.0));
    double ux, uy, wx, wy;
    zero->World2User(123, 456, ux, uy, 0);
    EXPECT_EQ(ux, 0);
    EXPECT_EQ(uy, 0);
    EXPECT_EQ(zero->User2World(5, 6, wx, wy, 0), 1);
    EXPECT_EQ(wx, 0);
    EXPECT_EQ(wy, 0);
    EXPECT_EQ(zero->Scale2UserUnits(10), 0);
}

TEST(Longitude, NormalizedIntoMinusPiToPi) {
    struct Case {
        double in, out;
    } cases[] = {
        {3 * kPi / 2, -kPi / 2},
        {-7 * kPi, -kPi},
        {kPi, kPi},
        {-kPi, -kPi},
        {2 * kPi, 0},
        {0.5, 0.5},
        {-3 * kPi / 2, kPi / 2},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(gx::NormalizeLongitude(c.in), c.out, 1e-15) << c.in;
    EXPECT_TRUE(std::isnan(gx::NormalizeLongitude(NAN)));
    EXPECT_TRUE(std::isnan(gx::NormalizeLongitude(INFINITY)));
    EXPECT_LE(std::fabs(gx::NormalizeLongitude(1e300)), kPi);
}

} // namespace
