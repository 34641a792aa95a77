#include <cmath>

#include <gtest/gtest.h>

#include "geoxform/crsystem.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"

namespace {

const double kDegree = fixture::kDegree;

class Validation : public fixture::ReferenceData {
protected:
    static KQCRSystem Record(int systemCode = -1) {
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, 25000.0);
        r.iSystemCode = systemCode;
        return r;
    }
    // A user-defined Transverse Mercator record on a datum with the five parameters in the
    // order given.
    static KQCRSystem UserTM(int datum, std::initializer_list<fixture::Parameter> parameters) {
        KQCRSystem r = Record();
        r.iMethodCode = 9807;
        r.iDatumCode = datum;
        int k = 0;
        for (const fixture::Parameter& p : parameters) {
            r.aiParameterCodes[k] = p.code;
            r.adParameterValues[k++] = p.value;
        }
        r.iNumParameters = k;
        return r;
    }
};

TEST_F(Validation, PredefinedSystemIsCompletedFromTheData) {
    KQCRSystem r = Record(27700);
    ASSERT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(KqString(r.szSystemName), Kq("OSGB36 / British National Grid"));
    EXPECT_EQ(r.iOperationCode, 19916);
    EXPECT_EQ(r.iMethodCode, 9807);
    EXPECT_EQ(KqString(r.szMethodName), Kq("Transverse Mercator"));
    EXPECT_EQ(r.iProjection, 4);
    EXPECT_EQ(r.iDatumCode, 6277);
    EXPECT_EQ(r.iDatumIndex, 0);
    EXPECT_EQ(r.iEllipsoidCode, 7001);
    EXPECT_EQ(r.iEllipsoidIndex, 0);
    EXPECT_EQ(r.dSemiMajorAxis, 6377563.396);
    EXPECT_EQ(r.iPrimeMeridianCode, 8901);
    EXPECT_EQ(KqString(r.szPrimeMeridianName), Kq("Greenwich"));
    EXPECT_EQ(r.iNumParameters, 5);
    EXPECT_EQ(r.aiParameterCodes[0], 8801);
    EXPECT_EQ(r.adParameterValues[4], -100000);
    EXPECT_EQ(r.iSystemIndex, 0);
    EXPECT_EQ(KqString(r.szUnitsName), Kq("Meter"));
}

TEST_F(Validation, PrimeMeridianComesWithTheDatum) {
    KQCRSystem r = Record(27500);
    ASSERT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(r.iPrimeMeridianCode, 8903);
    EXPECT_EQ(KqString(r.szPrimeMeridianName), Kq("Paris"));
    EXPECT_NEAR(r.dPrimeMeridian / kDegree, 2.33722917, 1e-8);
    EXPECT_EQ(r.iPrimeMeridianIndex, 1);
}

TEST_F(Validation, ResultCodes) {
    struct Case {
        const char* what;
        KQCRSystem record;
        int expected;
    };
    auto with = [](KQCRSystem r, auto change) {
        change(r);
        return r;
    };
    const KQCRSystem tm = UserTM(6277, {{8801, 0.8}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}});
    const Case cases[] = {
        {"unknown system", Record(12345), 1},
        {"system without parameter rows", Record(99999), 3},
        {"old version", with(Record(27700), [](KQCRSystem& r) { r.iVersion = 0x1FF; }), 8},
        {"method below 9800", with(tm, [](KQCRSystem& r) { r.iMethodCode = 9000; }), 2},
        {"method not in the table", with(tm, [](KQCRSystem& r) { r.iMethodCode = 9899; }), 2},
        {"unknown datum", with(tm, [](KQCRSystem& r) { r.iDatumCode = 6999; }), 4},
        {"missing parameter", with(tm, [](KQCRSystem& r) { r.iNumParameters = 4; }), 6},
        {"parameter twice", with(tm, [](KQCRSystem& r) { r.aiParameterCodes[1] = 8801; }), 6},
        {"zero scale", with(tm, [](KQCRSystem& r) { r.dScale = 0; }), 6},
        {"NaN scale", with(tm, [](KQCRSystem& r) { r.dScale = NAN; }), 6},
        {"units 58", with(tm, [](KQCRSystem& r) { r.iUnits = 58; }), 7},
        {"units -1", with(tm, [](KQCRSystem& r) { r.iUnits = -1; }), 7},
        {"scale 1e-9 passes", with(tm, [](KQCRSystem& r) { r.dScale = 1e-9; }), 0},
    };
    for (const Case& c : cases) {
        KQCRSystem r = c.record;
        EXPECT_EQ(ValidateCRSystem(&r), c.expected) << c.what;
    }
    EXPECT_EQ(ValidateCRSystem(nullptr), 1);
}

TEST_F(Validation, ExtraGroupFailsBeforeTheRequiredOnesButNotAfter) {
    const fixture::Parameter five[] = {{8801, 0.8}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}};
    KQCRSystem before = UserTM(6277, {{8823, 0.5}, five[0], five[1], five[2], five[3], five[4]});
    EXPECT_EQ(ValidateCRSystem(&before), 6);
    KQCRSystem after = UserTM(6277, {five[4], five[2], five[0], five[3], five[1], {8823, 0.5}});
    EXPECT_EQ(ValidateCRSystem(&after), 0);
    KQCRSystem ignored = UserTM(6277, {{8803, 9}, five[0], five[1], five[2], five[3], five[4]});
    EXPECT_EQ(ValidateCRSystem(&ignored), 0); // codes outside the groups do not count
}

TEST_F(Validation, WithoutProjectionOnlyScaleAndUnitsAreChecked) {
    KQCRSystem r = Record(0);
    r.iMethodCode = 0;
    r.iDatumCode = 6277;
    EXPECT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(r.iMethodCode, -1);
    EXPECT_EQ(r.iDatumCode, -1);
    EXPECT_EQ(r.iProjection, -1);
    EXPECT_EQ(KqString(r.szUnitsName), Kq("Meter"));
}

TEST_F(Validation, UserEllipsoidIsMatchedOrRegisteredOnce) {
    // a and b of GRS 1980 with 1/f = 0: 1/f is derived and the row found.
    KQCRSystem r = UserTM(-1, {{8801, 0}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}});
    r.dSemiMajorAxis = 6378137.0;
    r.dSemiMinorAxis = 6356752.314140356;
    ASSERT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(r.iEllipsoidCode, 7019);
    EXPECT_EQ(r.iEllipsoidIndex, 1);

    // An unknown ellipsoid gets a new row numbered above 32767, named by the record.
    const int nRows = pdaEPSGEllipsoid->GetCount();
    KQCRSystem own = r;
    own.iEllipsoidCode = -1;
    own.dSemiMajorAxis = 6378000.0;
    own.dInverseFlattening = 300;
    own.dSemiMinorAxis = 0;
    fixture::CopyName(own.szEllipsoidName, "Mine");
    ASSERT_EQ(ValidateCRSystem(&own), 0);
    EXPECT_EQ(own.iEllipsoidCode, 32768);
    EXPECT_EQ(pdaEPSGEllipsoid->GetCount(), nRows + 1);
    EXPECT_DOUBLE_EQ(own.dSemiMinorAxis, 6378000.0 * (1 - 1.0 / 300));
    EXPECT_EQ(KqString(own.szEllipsoidName), Kq("Mine"));

    // The same ellipsoid again finds that row instead of adding another.
    KQCRSystem again = own;
    again.iEllipsoidCode = -1;
    again.dSemiMinorAxis = 0;
    ASSERT_EQ(ValidateCRSystem(&again), 0);
    EXPECT_EQ(again.iEllipsoidCode, 32768);
    EXPECT_EQ(pdaEPSGEllipsoid->GetCount(), nRows + 1);

    // Unnamed: "User Defined"; the next code follows the largest.
    KQCRSystem unnamed = own;
    unnamed.iEllipsoidCode = -1;
    unnamed.dInverseFlattening = 250;
    unnamed.dSemiMinorAxis = 0;
    unnamed.szEllipsoidName[0] = 0;
    ASSERT_EQ(ValidateCRSystem(&unnamed), 0);
    EXPECT_EQ(unnamed.iEllipsoidCode, 32769);
    EXPECT_EQ(KqString(unnamed.szEllipsoidName), Kq("User Defined"));
}

TEST_F(Validation, UserEllipsoidEdgeCases) {
    KQCRSystem r = UserTM(-1, {{8801, 0}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}});
    KQCRSystem bigB = r;
    bigB.dSemiMajorAxis = 6000000;
    bigB.dSemiMinorAxis = 6000001;
    EXPECT_EQ(ValidateCRSystem(&bigB), 5);

    // b = 0 and 1/f = 0: 1/f becomes 1 and b stays 0, which passes.
    KQCRSystem flat = r;
    flat.dSemiMajorAxis = 6000000;
    EXPECT_EQ(ValidateCRSystem(&flat), 0);
    EXPECT_EQ(flat.dInverseFlattening, 1);
    EXPECT_EQ(flat.dSemiMinorAxis, 0);

    // A sphere unknown to the data keeps 1/f = 0 instead of an infinite a / (a - b).
    KQCRSystem sphere = r;
    sphere.dSemiMajorAxis = sphere.dSemiMinorAxis = 6400000;
    EXPECT_EQ(ValidateCRSystem(&sphere), 0);
    EXPECT_EQ(sphere.dInverseFlattening, 0);

    KQCRSystem nothing = r;
    EXPECT_EQ(ValidateCRSystem(&nothing), 5); // a = b = 0, 1/f = 0
}

TEST_F(Validation, HandFilledRecordIsRecognisedAsItsEpsgCode) {
    KQCRSystem r = UserTM(6277, {{8807, -100000},
                                 {8806, 400000},
                                 {8805, 0.9996012717},
                                 {8802, -2 * kDegree},
                                 {8801, 49 * kDegree}});
    ASSERT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(r.iSystemCode, 27700);
    EXPECT_EQ(r.iOperationCode, 19916);
    EXPECT_EQ(r.iSystemIndex, 0);
    EXPECT_EQ(KqString(r.szAuxName), Kq("Test area"));

    KQCRSystem feet = r;
    feet.iSystemCode = -1;
    feet.iUnits = 6; // a system in feet is another system
    ASSERT_EQ(ValidateCRSystem(&feet), 0);
    EXPECT_EQ(feet.iSystemCode, -1);

    KQCRSystem moved = r;
    moved.iSystemCode = -1;
    moved.adParameterValues[1] += 2e-6;
    ASSERT_EQ(ValidateCRSystem(&moved), 0);
    EXPECT_EQ(moved.iSystemCode, -1);
}

TEST_F(Validation, SwappedStandardParallelsAreRecognised) {
    KQCRSystem r = Record();
    r.iMethodCode = 9802;
    r.iDatumCode = 6171;
    const fixture::Parameter parameters[] = {{8821, 46.5 * kDegree}, {8822, 3 * kDegree},
                                             {8823, 44 * kDegree},   {8824, 49 * kDegree},
                                             {8826, 700000},         {8827, 6600000}};
    r.iNumParameters = 6;
    for (int k = 0; k < 6; ++k) {
        r.aiParameterCodes[k] = parameters[k].code;
        r.adParameterValues[k] = parameters[k].value;
    }
    ASSERT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(r.iSystemCode, 2154);
}

TEST_F(Validation, ConversionWithMoreThanFourteenRowsKeepsTheFirstFourteen) {
    std::initializer_list<fixture::Parameter> many = {
        {8801, 0}, {8802, 0}, {8805, 1}, {8806, 0}, {8807, 0}, {8803, 1}, {8803, 2},  {8803, 3},
        {8803, 4}, {8803, 5}, {8803, 6}, {8803, 7}, {8803, 8}, {8803, 9}, {8803, 10}, {8803, 11}};
    fixture::AddSystem(88888, "Many rows", 77777, 9807, 9001, 6326, 7030, many);
    KQCRSystem r = Record(88888);
    ASSERT_EQ(ValidateCRSystem(&r), 0);
    EXPECT_EQ(r.iNumParameters, 14);
    EXPECT_EQ(r.adParameterValues[13], 9);
}

TEST(ValidationWithoutDatabase, ReportsNoSystem) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 1.0);
    EXPECT_EQ(ValidateCRSystem(&r), 1);
}

} // namespace
