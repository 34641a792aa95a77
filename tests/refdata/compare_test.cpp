#include <cmath>
#include <functional>
#include <limits>
#include <utility>

#include <gtest/gtest.h>

#include "geoxform/crsystem.h"
#include "service/crsystem_init.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

KQCRSystem Unprojected() {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 25000);
    return r;
}

// A Transverse Mercator record on the Airy ellipsoid with five parameters.
KQCRSystem Projected() {
    KQCRSystem r = Unprojected();
    r.iSystemCode = 27700;
    r.iMethodCode = 9807;
    r.iEllipsoidCode = 7001;
    r.iDatumCode = 6277;
    const int codes[] = {8801, 8802, 8805, 8806, 8807};
    const double values[] = {0.8552113334772214, -0.03490658503988659, 0.9996012717, 400000,
                             -100000};
    r.iNumParameters = 5;
    for (int i = 0; i < 5; ++i) {
        r.aiParameterCodes[i] = codes[i];
        r.adParameterValues[i] = values[i];
    }
    return r;
}

using Edit = std::function<void(KQCRSystem&)>;

struct Case {
    const char* name;
    KQCRSystem first;
    Edit editFirst;
    KQCRSystem second;
    Edit editSecond;
    int expected;
};

void None(KQCRSystem&) {}

TEST(CompareCRSystemData, Table) {
    const KQCRSystem u = Unprojected(), p = Projected();
    const Case cases[] = {
        {"identical projected", p, None, p, None, 0},
        {"identical unprojected", u, None, u, None, 0},
        {"other scale", p, None, p, [](KQCRSystem& r) { r.dScale = 50000; }, 4},
        {"other units", p, None, p, [](KQCRSystem& r) { r.iUnits = 1; }, 4},
        {"other fixed point x", u, None, u, [](KQCRSystem& r) { r.dOffsetX = 1e-300; }, 4},
        {"other fixed point y", u, None, u, [](KQCRSystem& r) { r.dOffsetY = -1; }, 4},
        {"NaN scale in both", u, [](KQCRSystem& r) { r.dScale = kNaN; }, u,
         [](KQCRSystem& r) { r.dScale = kNaN; }, 4},
        {"NaN fixed point in the first", p, [](KQCRSystem& r) { r.dOffsetX = kNaN; }, p, None, 4},
        {"second projected only", u, None, p, None, 2},
        {"first projected only", p, None, u, None, 1},
        {"second projected only, other units", u, None, p, [](KQCRSystem& r) { r.iUnits = 2; }, 6},
        {"first projected only, other units", p, None, u, [](KQCRSystem& r) { r.iUnits = 2; }, 5},
        {"method code 0 is no projection", p, [](KQCRSystem& r) { r.iMethodCode = 0; }, u, None, 0},
        {"unprojected on other datums", u, [](KQCRSystem& r) { r.iDatumCode = 6326; }, u, None, 0},
        {"datum, names and system code are not compared", p,
         [](KQCRSystem& r) {
             r.iDatumCode = 6326;
             r.iSystemCode = -1;
             r.szMethodName[0] = u'X';
             r.dSemiMajorAxis = 1;
             r.dPrimeMeridian = 0.5;
         },
         p, None, 0},
        {"other method", p, None, p, [](KQCRSystem& r) { r.iMethodCode = 9808; }, 3},
        {"other ellipsoid", p, None, p, [](KQCRSystem& r) { r.iEllipsoidCode = 7030; }, 3},
        {"other parameter count", p, None, p, [](KQCRSystem& r) { r.iNumParameters = 4; }, 3},
        {"other parameter code", p, None, p, [](KQCRSystem& r) { r.aiParameterCodes[2] = 8815; },
         3},
        {"parameters in reverse order", p, None, p,
         [](KQCRSystem& r) {
             for (int i = 0; i < 2; ++i) {
                 std::swap(r.aiParameterCodes[i], r.aiParameterCodes[4 - i]);
                 std::swap(r.adParameterValues[i], r.adParameterValues[4 - i]);
             }
         },
         0},
        {"other projection and other scale", p, None, p,
         [](KQCRSystem& r) {
             r.adParameterValues[3] = 500000;
             r.dScale = 1;
         },
         7},
        // Only the first slot with a code counts: a later duplicate with the right value does not.
        {"duplicate code in the second", p, None, p,
         [](KQCRSystem& r) {
             r.aiParameterCodes[0] = 8806;
             r.adParameterValues[0] = 1;
         },
         3},
        {"NaN parameter in both", p, [](KQCRSystem& r) { r.adParameterValues[1] = kNaN; }, p,
         [](KQCRSystem& r) { r.adParameterValues[1] = kNaN; }, 3},
    };
    for (const Case& c : cases) {
        KQCRSystem first = c.first, second = c.second;
        c.editFirst(first);
        c.editSecond(second);
        EXPECT_EQ(CompareCRSystemData(&first, &second), c.expected) << c.name;
    }
}

// Parameter values within 1e-6 of each other, boundary included, are the same.
TEST(CompareCRSystemData, ParameterTolerance) {
    struct Tolerance {
        double first, second;
        int expected;
    };
    const double above = std::nextafter(1e-6, 1.0);
    const Tolerance cases[] = {
        {0, 1e-6, 0},
        {0, -1e-6, 0},
        {1e-6, 0, 0},
        {0, 5e-7, 0},
        {0, above, 3},
        {0, 2e-6, 3},
        {400000, 400000.000002, 3},
        {400000, 400000.0000005, 0},
        {0, kNaN, 3},
        {kNaN, 0, 3},
    };
    for (const Tolerance& c : cases) {
        KQCRSystem first = Projected(), second = Projected();
        first.adParameterValues[4] = c.first;
        second.adParameterValues[4] = c.second;
        EXPECT_EQ(CompareCRSystemData(&first, &second), c.expected)
            << c.first << " against " << c.second;
    }
}

// Counts outside the record's 14 slots read only the slots there are.
TEST(CompareCRSystemData, ParameterCountsOutsideTheSlots) {
    KQCRSystem first = Projected(), second = Projected();
    for (int count : {-3, 0, 14, 15, 1000000}) {
        first.iNumParameters = second.iNumParameters = count;
        EXPECT_EQ(CompareCRSystemData(&first, &second), 0) << count;
    }
    first.iNumParameters = second.iNumParameters = 1000000;
    first.adParameterValues[13] = 1; // a slot beyond the five used ones, read as used
    EXPECT_EQ(CompareCRSystemData(&first, &second), 3);
}

TEST(CompareCRSystemData, MissingRecordDiffersInEverything) {
    KQCRSystem r = Projected();
    EXPECT_EQ(CompareCRSystemData(&r, nullptr), 7);
    EXPECT_EQ(CompareCRSystemData(nullptr, &r), 7);
    EXPECT_EQ(CompareCRSystemData(nullptr, nullptr), 7);
}

} // namespace
