#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "oracle/proj_oracle.h"

namespace {

using oracle::Degrees;
using oracle::Group;
using oracle::Number;

std::string Offsets(const KQCRSystem& r, double fn) {
    return " +x_0=" + Number(Group(r, gx::kGroupFalseEasting)) + " +y_0=" + Number(fn) + " " +
           oracle::EllipsoidArgs(r);
}

std::string ObliqueOf(const KQCRSystem& r) {
    return "+proj=sterea +lat_0=" + Degrees(r, gx::kGroupOriginLatitude) +
           " +lon_0=" + Degrees(r, gx::kGroupOriginLongitude) +
           " +k=" + Number(Group(r, gx::kGroupScaleFactor, 1)) +
           Offsets(r, Group(r, gx::kGroupFalseNorthing));
}

std::string PolarAOf(const KQCRSystem& r) {
    return std::string("+proj=stere +lat_0=") +
           (Group(r, gx::kGroupOriginLatitude) > 0 ? "90" : "-90") +
           " +lon_0=" + Degrees(r, gx::kGroupOriginLongitude) +
           " +k_0=" + Number(Group(r, gx::kGroupScaleFactor, 1)) +
           Offsets(r, Group(r, gx::kGroupFalseNorthing));
}

// Variant B; variant C is variant B with its northing counted from the point where the
// standard parallel meets the longitude of origin.
std::string PolarBWithNorthing(const KQCRSystem& r, double fn) {
    return std::string("+proj=stere +lat_0=") +
           (Group(r, gx::kGroupFirstParallel) > 0 ? "90" : "-90") +
           " +lat_ts=" + Degrees(r, gx::kGroupFirstParallel) +
           " +lon_0=" + Degrees(r, gx::kGroupOriginLongitude) + Offsets(r, fn);
}

std::string PolarBOf(const KQCRSystem& r) {
    return PolarBWithNorthing(r, Group(r, gx::kGroupFalseNorthing));
}

std::string PolarCOf(const KQCRSystem& r) {
    double x, y;
    oracle::ProjOperation(PolarBWithNorthing(r, 0))
        .Forward(Group(r, gx::kGroupOriginLongitude), Group(r, gx::kGroupFirstParallel), x, y);
    return PolarBWithNorthing(r, Group(r, gx::kGroupFalseNorthing) - y);
}

// Every predefined system of a method against its PROJ form, on points over its area of use
// (latitudes short of the opposite pole, which has no image).
void CompareMethod(int iMethodCode, std::string (*definition)(const KQCRSystem&), const char* name,
                   int minSystems) {
    const oracle::Agreement agreement = oracle::CompareEverySystem(iMethodCode, definition);
    ASSERT_GE(agreement.systems, minSystems);
    oracle::Print(name, agreement);
    EXPECT_GT(agreement.points, 100 * agreement.systems);
    EXPECT_LT(agreement.maxForward, 0.001);
    EXPECT_LT(agreement.maxInverse, 0.001);
}

// The Dutch, Polish, Romanian, Canadian Maritime and Levant grids. PROJ's sterea fits the
// same conformal sphere (Gauss-Schreiber) at the origin as the guidance note's method.
TEST(StereographicOracle, EveryPredefinedObliqueSystem) {
    CompareMethod(9809, ObliqueOf, "Oblique stereographic", 15);
}

TEST(StereographicOracle, EveryPredefinedPolarVariantASystem) {
    CompareMethod(9810, PolarAOf, "Polar stereographic (variant A)", 8);
}

TEST(StereographicOracle, EveryPredefinedPolarVariantBSystem) {
    CompareMethod(9829, PolarBOf, "Polar stereographic (variant B)", 20);
}

TEST(StereographicOracle, EveryPredefinedPolarVariantCSystem) {
    CompareMethod(9830, PolarCOf, "Polar stereographic (variant C)", 2);
}

} // namespace
