// The shared latitude functions against the closed forms they stand in for, over the ranges
// where their series are used and beyond.
#include <cmath>

#include <gtest/gtest.h>

#include "projections/latitude_functions.h"

namespace {

const double kE = 0.0818191908426215; // WGS 84
const double kDegree = 0.017453292519943295;

TEST(LatitudeFunctions, SeriesAgreeWithTheClosedForms) {
    for (double x = -0.3; x <= 0.3; x += 0.0007)
        EXPECT_NEAR(gx::EccentricAtanh(x), std::atanh(x), 1e-15 * std::fabs(std::atanh(x))) << x;
    for (double y = -0.05; y <= 0.05; y += 0.0001)
        EXPECT_NEAR(gx::SmallExp(y), std::exp(y), 2.5e-16 * std::exp(y)) << y;
}

// t(phi) from its definition in extended precision, against the double forms.
long double ReferenceT(long double phi, long double e) {
    const long double es = e * std::sin(phi);
    return std::tan((1.5707963267948966192313216916397514L - phi) / 2) /
           std::pow((1 - es) / (1 + es), e / 2);
}

TEST(LatitudeFunctions, EveryFormOfTAgrees) {
    for (double deg = -89.5; deg <= 89.5; deg += 0.5) {
        const double phi = deg * kDegree;
        const double t = static_cast<double>(ReferenceT(phi, kE));
        // Every form loses digits towards a pole, as its definition does: the tangent's angle
        // nears pi/2, or 1 + sin phi or 1 - sin phi cancels.
        EXPECT_NEAR(gx::ConformalT(phi, kE), t, (2e-15 + 4e-16 / std::cos(phi)) * t) << deg;
        const double cancellation = 2e-15 + 4e-16 / (1 - std::fabs(std::sin(phi)));
        EXPECT_NEAR(gx::ConformalT(std::sin(phi), std::cos(phi), kE), t, cancellation * t) << deg;
        EXPECT_NEAR(std::exp(-gx::IsometricLatitude(std::sin(phi), std::cos(phi), kE)), t,
                    cancellation * t)
            << deg;
        EXPECT_NEAR(std::exp(-gx::IsometricLatitude(std::sin(phi), kE)), t,
                    (2e-15 + 4e-16 / (1 - std::fabs(std::sin(phi)))) * t)
            << deg;
    }
}

} // namespace
