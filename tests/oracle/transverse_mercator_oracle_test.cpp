#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

#include "oracle/proj_oracle.h"
#include "service/projection_factory.h"

namespace {

using oracle::kDegree;

std::string TransverseMercatorOf(const KQCRSystem& r) {
    return "+proj=tmerc +lat_0=" + oracle::Degrees(r, gx::kGroupOriginLatitude) +
           " +lon_0=" + oracle::Degrees(r, gx::kGroupOriginLongitude) +
           " +k_0=" + oracle::Number(oracle::Group(r, gx::kGroupScaleFactor, 1)) +
           " +x_0=" + oracle::Number(oracle::Group(r, gx::kGroupFalseEasting)) +
           " +y_0=" + oracle::Number(oracle::Group(r, gx::kGroupFalseNorthing)) + " " +
           oracle::EllipsoidArgs(r);
}

// Every predefined Transverse Mercator system, on points over its area of use within 4
// degrees of the central meridian (the series' design range): 1 mm both ways against PROJ's
// exact Transverse Mercator.
TEST(TransverseMercatorOracle, EveryPredefinedSystemWithinFourDegrees) {
    const std::vector<oracle::System> systems = oracle::SystemsOfMethod(9807);
    ASSERT_GT(systems.size(), 1000u);
    oracle::Agreement agreement;
    for (const oracle::System& system : systems) {
        const oracle::ProjOperation proj(TransverseMercatorOf(system.record));
        ASSERT_TRUE(proj.Valid()) << system.record.iSystemCode;
        const double lon0 = oracle::Group(system.record, gx::kGroupOriginLongitude);
        const auto points = oracle::GridOverArea(system, 6, [lon0](double lon, double lat) {
            return std::fabs(std::remainder(lon - lon0, 2 * oracle::kPi)) <= 4 * kDegree &&
                   std::fabs(lat) < 89 * kDegree;
        });
        oracle::CompareWithProj(system, proj, points, agreement);
    }
    std::printf("Transverse Mercator: %d systems, %d points, forward %.3g m (EPSG:%d), inverse "
                "%.3g m (EPSG:%d)\n",
                agreement.systems, agreement.points, agreement.maxForward,
                agreement.worstForwardCode, agreement.maxInverse, agreement.worstInverseCode);
    EXPECT_GT(agreement.points, 10000);
    EXPECT_LT(agreement.maxForward, 0.001);
    EXPECT_LT(agreement.maxInverse, 0.001);
}

// The UTM zones through the zoned grid against PROJ's +proj=utm.
TEST(TransverseMercatorOracle, ZonedGridAgainstUtm) {
    // Row of WGS 84 in the loaded data.
    std::vector<oracle::System> systems = oracle::SystemsOfMethod(9807);
    ASSERT_FALSE(systems.empty());
    const oracle::System* pWgs84 = nullptr;
    for (const oracle::System& s : systems)
        if (s.record.iSystemCode == 32632) pWgs84 = &s;
    ASSERT_NE(pWgs84, nullptr);
    KQCRSystem r = pWgs84->record;
    r.iProjection = 25;
    const int codes[] = {8830, 8801, 8805, 8806, 8807, 8831};
    const double values[] = {-180 * kDegree, 0, 0.9996, 500000, 0, 6 * kDegree};
    r.iNumParameters = 6;
    for (int k = 0; k < 6; ++k) {
        r.aiParameterCodes[k] = codes[k];
        r.adParameterValues[k] = values[k];
    }
    oracle::System zoned = *pWgs84;
    zoned.projection.reset(gx::CreateProjection(&r));
    ASSERT_TRUE(zoned.projection);
    double worst = 0;
    for (int zone = 1; zone <= 60; ++zone) {
        const oracle::ProjOperation proj("+proj=utm +zone=" + std::to_string(zone) +
                                         " +ellps=WGS84");
        const double cm = (-183 + 6 * zone) * kDegree;
        for (double dlon = -2.9; dlon <= 2.9; dlon += 0.58)
            for (double lat = -79.5; lat <= 84; lat += 7.5) {
                double xProj, yProj, x, y;
                proj.Forward(cm + dlon * kDegree, lat * kDegree, xProj, yProj);
                zoned.projection->Project(cm + dlon * kDegree, lat * kDegree, x, y);
                EXPECT_EQ(std::trunc(x / 1000000), zone);
                worst = std::fmax(worst, std::hypot(x - zone * 1e6 - xProj, y - yProj));
            }
    }
    EXPECT_LT(worst, 0.001);
}

} // namespace

namespace {

// Beyond 4 degrees the truncated series lose accuracy: the largest forward difference from
// PROJ's exact Transverse Mercator over latitudes 0 to 84 degrees, against the distance from
// the central meridian, on WGS 84 with k0 = 0.9996. Prints the profile and keeps its shape.
TEST(TransverseMercatorOracle, ErrorProfileAwayFromTheCentralMeridian) {
    std::vector<oracle::System> systems = oracle::SystemsOfMethod(9807);
    const oracle::System* pUtm = nullptr;
    for (const oracle::System& s : systems)
        if (s.record.iSystemCode == 32632) pUtm = &s;
    ASSERT_NE(pUtm, nullptr);
    const oracle::ProjOperation proj("+proj=utm +zone=32 +ellps=WGS84");
    const double thresholds[] = {0.001, 0.01, 1.0};
    double reached[3] = {0, 0, 0};
    for (double dlon = 0; dlon <= 40; dlon += 0.1) {
        double worst = 0;
        for (double lat = 0; lat <= 84; lat += 1) {
            const double lon = (9 + dlon) * kDegree;
            double xProj, yProj, x, y;
            if (!proj.Forward(lon, lat * kDegree, xProj, yProj)) continue;
            pUtm->projection->Project(lon, lat * kDegree, x, y);
            worst = std::fmax(worst, std::hypot(x - xProj, y - yProj));
        }
        for (int k = 0; k < 3; ++k)
            if (reached[k] == 0 && worst >= thresholds[k]) reached[k] = dlon;
    }
    std::printf("Transverse Mercator series vs exact: 1 mm at %.1f deg, 1 cm at %.1f deg, 1 m at "
                "%.1f deg from the central meridian\n",
                reached[0], reached[1], reached[2]);
    EXPECT_GT(reached[0], 4.0);
    EXPECT_GT(reached[1], reached[0]);
    EXPECT_GT(reached[2], reached[1]);
}

} // namespace
