#include <memory>

#include <gtest/gtest.h>

#include "geoxform/transverse_mercator.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

namespace {

const double kDegree = fixture::kDegree;

class ProjectionFactory : public fixture::ReferenceData {
protected:
    static KQCRSystem Record(int number, int ellipsoid,
                             std::initializer_list<fixture::Parameter> parameters) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 1.0);
        r.iProjection = number;
        r.iEllipsoidIndex = ellipsoid;
        int k = 0;
        for (const fixture::Parameter& p : parameters) {
            r.aiParameterCodes[k] = p.code;
            r.adParameterValues[k++] = p.value;
        }
        r.iNumParameters = k;
        return r;
    }
    static void ExpectSameProjection(const CProjection& a, const CProjection& b) {
        for (double lon : {-1.0, 0.5, 3.0})
            for (double lat : {-1.0, 0.9}) {
                double xa, ya, xb, yb;
                a.Project((10 + lon) * kDegree, (50 + lat) * kDegree, xa, ya);
                b.Project((10 + lon) * kDegree, (50 + lat) * kDegree, xb, yb);
                EXPECT_EQ(xa, xb);
                EXPECT_EQ(ya, yb);
            }
    }
};

TEST_F(ProjectionFactory, ParametersFeedArgumentsByGroupWhateverTheSlotOrder) {
    const KQCRSystem r = Record(4, 2,
                                {{8807, 100},
                                 {8806, 200},
                                 {8805, 0.9996},
                                 {8801, 45 * kDegree},
                                 {8802, 10 * kDegree},
                                 {8803, 99}});
    std::unique_ptr<CProjection> built(gx::CreateProjection(&r));
    ASSERT_NE(built, nullptr);
    ASSERT_NE(dynamic_cast<CTransverseMercator*>(built.get()), nullptr);
    ExpectSameProjection(*built,
                         CTransverseMercator(2, 10 * kDegree, 45 * kDegree, 0.9996, 200, 100));
}

TEST_F(ProjectionFactory, LaterSlotOfAGroupWins) {
    const KQCRSystem r = Record(4, 2, {{8822, 3 * kDegree}, {8802, 10 * kDegree}});
    std::unique_ptr<CProjection> built(gx::CreateProjection(&r));
    ASSERT_NE(built, nullptr);
    // Groups the record lacks: 0, and 1 for the scale factor.
    ExpectSameProjection(*built, CTransverseMercator(2, 10 * kDegree, 0, 1, 0, 0));
}

TEST_F(ProjectionFactory, MethodNumbersAndEllipsoidIndexes) {
    for (int number : {0, -1, 26, 1000}) {
        const KQCRSystem r = Record(number, 2, {});
        EXPECT_EQ(gx::CreateProjection(&r), nullptr) << number;
    }
    for (int ellipsoid : {-1, 5, 1000}) {
        const KQCRSystem r = Record(4, ellipsoid, {});
        EXPECT_EQ(gx::CreateProjection(&r), nullptr) << ellipsoid;
    }
    EXPECT_EQ(gx::CreateProjection(nullptr), nullptr);
    const KQCRSystem zoned = Record(25, 2, {{8830, -180 * kDegree}, {8805, 0.9996}});
    std::unique_ptr<CProjection> utm(gx::CreateProjection(&zoned));
    ASSERT_NE(dynamic_cast<CUniversalTransverseMercator*>(utm.get()), nullptr);
    double x, y;
    utm->Project(9 * kDegree, 0, x, y); // the zone width defaults to 6 degrees: zone 32
    EXPECT_NEAR(x, 32000000, 1e-6);
}

TEST_F(ProjectionFactory, SlotCountBeyondFourteenReadsFourteen) {
    KQCRSystem r = Record(4, 2, {{8802, 10 * kDegree}});
    r.iNumParameters = 1000;
    for (int k = 1; k < 14; ++k)
        r.aiParameterCodes[k] = 8803;
    std::unique_ptr<CProjection> built(gx::CreateProjection(&r));
    ASSERT_NE(built, nullptr);
    ExpectSameProjection(*built, CTransverseMercator(2, 10 * kDegree, 0, 1, 0, 0));
}

TEST(ProjectionFactoryWithoutDatabase, BuildsNothingThatNeedsAnEllipsoid) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 1.0);
    r.iProjection = 4;
    r.iEllipsoidIndex = 0;
    EXPECT_EQ(gx::CreateProjection(&r), nullptr);
}

} // namespace
