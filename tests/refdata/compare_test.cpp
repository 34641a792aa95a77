// CompareCRSystemData: one table of record pairs (user scaling 4, only the first projected 1,
// only the second 2, other projection 3, summed) and one of parameter values at the tolerance.
#include <cmath>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "geoxform/crsystem.h"
#include "service/crsystem_init.h"

namespace {

using Edit = std::function<void(KQCRSystem&)>;

KQCRSystem Record(bool projected, const Edit& edit) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 25000);
    if (projected) { // British National Grid
        r.iSystemCode = 27700, r.iMethodCode = 9807, r.iEllipsoidCode = 7001, r.iDatumCode = 6277;
        const int codes[] = {8801, 8802, 8805, 8806, 8807};
        const double values[] = {0.8552113334772214, -0.0349065850398866, 0.9996012717, 400000,
                                 -100000};
        for (r.iNumParameters = 0; r.iNumParameters < 5; ++r.iNumParameters) {
            r.aiParameterCodes[r.iNumParameters] = codes[r.iNumParameters];
            r.adParameterValues[r.iNumParameters] = values[r.iNumParameters];
        }
    }
    if (edit) edit(r);
    return r;
}

struct Case {
    const char* what;
    bool firstProjected;
    Edit first;
    bool secondProjected;
    Edit second;
    int expected;
};

TEST(CompareCRSystemData, RecordPairs) {
    const Case cases[] = {
        {"identical projected", true, {}, true, {}, 0},
        {"identical unprojected", false, {}, false, {}, 0},
        {"other scale", true, {}, true, [](KQCRSystem& r) { r.dScale = 50000; }, 4},
        {"other units", true, {}, true, [](KQCRSystem& r) { r.iUnits = 1; }, 4},
        {"other fixed point x", false, {}, false, [](KQCRSystem& r) { r.dOffsetX = 1e-300; }, 4},
        {"other fixed point y", false, {}, false, [](KQCRSystem& r) { r.dOffsetY = -1; }, 4},
        {"NaN scale in both", false, [](KQCRSystem& r) { r.dScale = NAN; }, false,
         [](KQCRSystem& r) { r.dScale = NAN; }, 4},
        {"NaN fixed point in the first",
         true,
         [](KQCRSystem& r) { r.dOffsetX = NAN; },
         true,
         {},
         4},
        {"second projected only", false, {}, true, {}, 2},
        {"first projected only", true, {}, false, {}, 1},
        {"second projected only, other units",
         false,
         {},
         true,
         [](KQCRSystem& r) { r.iUnits = 2; },
         6},
        {"first projected only, other units",
         true,
         {},
         false,
         [](KQCRSystem& r) { r.iUnits = 2; },
         5},
        {"method code 0 is no projection",
         true,
         [](KQCRSystem& r) { r.iMethodCode = 0; },
         false,
         {},
         0},
        {"method code 1 is one", true, [](KQCRSystem& r) { r.iMethodCode = 1; }, false, {}, 1},
        {"unprojected on other datums",
         false,
         [](KQCRSystem& r) { r.iDatumCode = 6326; },
         false,
         {},
         0},
        {"datum, names and system code are not compared",
         true,
         [](KQCRSystem& r) {
             r.iDatumCode = 6326, r.iSystemCode = -1, r.szMethodName[0] = u'X';
             r.dSemiMajorAxis = 1, r.dPrimeMeridian = 0.5;
         },
         true,
         {},
         0},
        {"other method", true, {}, true, [](KQCRSystem& r) { r.iMethodCode = 9808; }, 3},
        {"other ellipsoid", true, {}, true, [](KQCRSystem& r) { r.iEllipsoidCode = 7030; }, 3},
        {"other parameter count", true, {}, true, [](KQCRSystem& r) { r.iNumParameters = 4; }, 3},
        {"other parameter code",
         true,
         {},
         true,
         [](KQCRSystem& r) { r.aiParameterCodes[2] = 8815; },
         3},
        {"parameters in reverse order",
         true,
         {},
         true,
         [](KQCRSystem& r) {
             for (int i = 0; i < 2; ++i) {
                 std::swap(r.aiParameterCodes[i], r.aiParameterCodes[4 - i]);
                 std::swap(r.adParameterValues[i], r.adParameterValues[4 - i]);
             }
         },
         0},
        {"other projection and other scale",
         true,
         {},
         true,
         [](KQCRSystem& r) { r.adParameterValues[3] = 500000, r.dScale = 1; },
         7},
        // Only the first slot with a code counts: a later duplicate with the right value does not.
        {"duplicate code in the second",
         true,
         {},
         true,
         [](KQCRSystem& r) { r.aiParameterCodes[0] = 8806, r.adParameterValues[0] = 1; },
         3},
        {"NaN parameter in both", true, [](KQCRSystem& r) { r.adParameterValues[1] = NAN; }, true,
         [](KQCRSystem& r) { r.adParameterValues[1] = NAN; }, 3},
        // Counts outside the 14 slots read only the slots there are.
        {"count -3 in both", true, [](KQCRSystem& r) { r.iNumParameters = -3; }, true,
         [](KQCRSystem& r) { r.iNumParameters = -3; }, 0},
        {"count 14 in both", true, [](KQCRSystem& r) { r.iNumParameters = 14; }, true,
         [](KQCRSystem& r) { r.iNumParameters = 14; }, 0},
        {"count 10^6 in both", true, [](KQCRSystem& r) { r.iNumParameters = 1000000; }, true,
         [](KQCRSystem& r) { r.iNumParameters = 1000000; }, 0},
        {"count 10^6, slot 14 differs", true,
         [](KQCRSystem& r) { r.iNumParameters = 1000000, r.adParameterValues[13] = 1; }, true,
         [](KQCRSystem& r) { r.iNumParameters = 1000000; }, 3},
    };
    for (const Case& c : cases) {
        KQCRSystem first = Record(c.firstProjected, c.first);
        KQCRSystem second = Record(c.secondProjected, c.second);
        EXPECT_EQ(CompareCRSystemData(&first, &second), c.expected) << c.what;
    }
    KQCRSystem r = Record(true, {});
    EXPECT_EQ(CompareCRSystemData(&r, nullptr), 7);
    EXPECT_EQ(CompareCRSystemData(nullptr, &r), 7);
    EXPECT_EQ(CompareCRSystemData(nullptr, nullptr), 7);
}

// Parameter values within 1e-6 of each other, boundary included, are the same.
TEST(CompareCRSystemData, ParameterTolerance) {
    const struct {
        double first, second;
        int expected;
    } cases[] = {{0, 1e-6, 0},
                 {0, -1e-6, 0},
                 {1e-6, 0, 0},
                 {0, 5e-7, 0},
                 {0, std::nextafter(1e-6, 1.0), 3},
                 {0, 2e-6, 3},
                 {400000, 400000.000002, 3},
                 {400000, 400000.0000005, 0},
                 {0, NAN, 3},
                 {NAN, 0, 3}};
    for (const auto& c : cases) {
        KQCRSystem first = Record(true, [&c](KQCRSystem& r) { r.adParameterValues[4] = c.first; });
        KQCRSystem second =
            Record(true, [&c](KQCRSystem& r) { r.adParameterValues[4] = c.second; });
        EXPECT_EQ(CompareCRSystemData(&first, &second), c.expected) << c.first << " " << c.second;
    }
}

} // namespace
