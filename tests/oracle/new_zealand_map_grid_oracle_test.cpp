#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "oracle/proj_oracle.h"

namespace {

using oracle::Degrees;
using oracle::Group;
using oracle::Number;

// The New Zealand map grid over New Zealand's area of use against PROJ's nzmg, which evaluates
// the same published coefficients: 1 mm both ways.
TEST(NewZealandMapGridOracle, ThePredefinedSystem) {
    const std::vector<oracle::System> systems = oracle::SystemsOfMethod(9811);
    ASSERT_EQ(systems.size(), 1u);
    const KQCRSystem& r = systems[0].record;
    const oracle::ProjOperation proj("+proj=nzmg +lat_0=" + Degrees(r, gx::kGroupOriginLatitude) +
                                     " +lon_0=" + Degrees(r, gx::kGroupOriginLongitude) +
                                     " +x_0=" + Number(Group(r, gx::kGroupFalseEasting)) +
                                     " +y_0=" + Number(Group(r, gx::kGroupFalseNorthing)) + " " +
                                     oracle::EllipsoidArgs(r));
    ASSERT_TRUE(proj.Valid());
    oracle::Agreement agreement;
    oracle::CompareWithProj(systems[0], proj, oracle::GridOverArea(systems[0], 24), agreement);
    std::printf("New Zealand map grid: %d points, forward %.3g m, inverse %.3g m\n",
                agreement.points, agreement.maxForward, agreement.maxInverse);
    EXPECT_GT(agreement.points, 500);
    EXPECT_LT(agreement.maxForward, 0.001);
    EXPECT_LT(agreement.maxInverse, 0.001);
}

} // namespace
