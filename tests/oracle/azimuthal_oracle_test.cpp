#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "oracle/proj_oracle.h"

namespace {

using oracle::Degrees;
using oracle::Group;
using oracle::Number;

std::string AzimuthalOf(const char* proj, const KQCRSystem& r) {
    return std::string("+proj=") + proj + " +lat_0=" + Degrees(r, gx::kGroupOriginLatitude) +
           " +lon_0=" + Degrees(r, gx::kGroupOriginLongitude) +
           " +x_0=" + Number(Group(r, gx::kGroupFalseEasting)) +
           " +y_0=" + Number(Group(r, gx::kGroupFalseNorthing)) + " " + oracle::EllipsoidArgs(r);
}

oracle::Agreement CompareMethod(int iMethodCode, const char* proj) {
    return oracle::CompareEverySystem(iMethodCode,
                                      [proj](const KQCRSystem& r) { return AzimuthalOf(proj, r); });
}

// LAEA Europe and its copies, the north polar Bering Sea to Russia grids and the EASE-Grid 2.0
// (origins at the poles, where D comes out of cos(pi/2) / cos(pi/2)).
TEST(AzimuthalOracle, EveryPredefinedLambertAzimuthalEqualAreaSystem) {
    const oracle::Agreement agreement = CompareMethod(9820, "laea");
    oracle::Print("Lambert azimuthal equal area", agreement);
    EXPECT_GE(agreement.systems, 14);
    EXPECT_GT(agreement.points, 100 * agreement.systems);
    EXPECT_LT(agreement.maxForward, 0.001);
    EXPECT_LT(agreement.maxInverse, 0.001);
}

// The Yap Islands grid. PROJ's aeqd is the exact azimuthal equidistant projection (geodesic
// distance and azimuth), not the series of the modified method: over the islands (some 60 km
// across) the two stay within a millimetre.
TEST(AzimuthalOracle, ModifiedAzimuthalEquidistantAgainstTheExactProjection) {
    const oracle::Agreement agreement = CompareMethod(9832, "aeqd");
    oracle::Print("Modified azimuthal equidistant vs exact aeqd", agreement);
    EXPECT_EQ(agreement.systems, 1);
    EXPECT_GT(agreement.points, 100);
    EXPECT_LT(agreement.maxForward, 0.001);
    EXPECT_LT(agreement.maxInverse, 0.001);
}

} // namespace
