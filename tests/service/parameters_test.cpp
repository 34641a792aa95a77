#include <cmath>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"

namespace {

const double kDegree = fixture::kDegree;

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, SystemDeleter>;

class Parameters : public fixture::ReferenceData {
protected:
    static KqString Text(CCoordSystem& system) {
        KQWCHAR text[1024];
        EXPECT_EQ(system.GetParameters(text), 1);
        return text;
    }
    static SystemPtr Projected(int code, int units = 3, double scale = 25000, double ox = 0,
                               double oy = 0) {
        SystemPtr system(CreateCoordSystem(units, scale));
        KQCRSystem r;
        gx::InitCRSystem(&r, units, scale);
        r.iSystemCode = code;
        r.dOffsetX = ox;
        r.dOffsetY = oy;
        EXPECT_EQ(system->SetParameters(&r), 1);
        return system;
    }
};

TEST_F(Parameters, NewObjectPrintsTheUserPartOnly) {
    SystemPtr system(CreateCoordSystem(3, 25000));
    EXPECT_EQ(Text(*system),
              Kq("3,Meter,25000.000000000000000,0.000000000000000,0.000000000000000"));
}

TEST_F(Parameters, ProjectedObjectPrintsTheSystemAfterASemicolon) {
    SystemPtr system = Projected(27700);
    EXPECT_EQ(system->HasProjection(), 1);
    const KqString text = Text(*system);
    const std::string narrow = Narrow(text.c_str());
    EXPECT_EQ(narrow.substr(0, narrow.find(';')),
              "3,Meter,25000.000000000000000,0.000000000000000,0.000000000000000");
    EXPECT_NE(narrow.find(";27700,OSGB36 / British National Grid,4700,1000,Test area,19916,9807,"
                          "Transverse Mercator,6277,"),
              std::string::npos);
    EXPECT_NE(narrow.find(",5,8801,0.855211333477221,8802,-0.034906585039887,8805,"
                          "0.999601271700000,8806,400000.000000000000000,8807,"
                          "-100000.000000000000000"),
              std::string::npos)
        << narrow;
}

// Record -> text -> new object: the same conversions.
TEST_F(Parameters, TextFormRestoresTheConversions) {
    SystemPtr original = Projected(27700);
    original->SetUnProjectFlag(1);
    SystemPtr restored(CreateCoordSystem(1, 1));
    // A text rebuilds a projection only on an object that already knows the method and the
    // ellipsoid row (the text does not carry them): give it the record first.
    KQCRSystem r;
    original->GetParameters(&r);
    ASSERT_EQ(restored->SetParameters(&r), 1);
    ASSERT_EQ(restored->SetParameters(Text(*original).c_str()), 1);
    ASSERT_EQ(restored->HasProjection(), 1);
    for (double wx : {-300.0, 0.0, 720.5})
        for (double wy : {-40.0, 1500.0}) {
            double lon1, lat1, lon2, lat2;
            original->World2User(wx, wy, lon1, lat1, 1);
            restored->World2User(wx, wy, lon2, lat2, 1);
            EXPECT_NEAR(lon1, lon2, 1e-14);
            EXPECT_NEAR(lat1, lat2, 1e-14);
        }
}

TEST_F(Parameters, TextWithNineParametersRestoresAllSlots) {
    SystemPtr system(CreateCoordSystem(3, 1));
    const KqString text = Kq("3,Meter,1.0,0,0;-1,,0,0,,-1,9807,,-1,,-1,,0,0,0,-1,,0,9,") +
                          Kq("8801,0.1,8802,0.2,8805,0.3,8806,0.4,8807,0.5,8803,0.6,8804,0.7,"
                             "8808,0.8,8809,0.9");
    ASSERT_EQ(system->SetParameters(text.c_str()), 1);
    KQCRSystem r;
    system->GetParameters(&r);
    EXPECT_EQ(r.iNumParameters, 9);
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(r.adParameterValues[k], 0.1 * (k + 1), 1e-15);
    EXPECT_EQ(r.aiParameterCodes[8], 8809);
    EXPECT_EQ(Text(*system), text); // from the cache
}

TEST_F(Parameters, ShortTextSetsTheScaleToOneAndComesBackUnchanged) {
    SystemPtr system(CreateCoordSystem(1, 5));
    ASSERT_EQ(system->SetParameters(KQ_T("3,Meter,0")), 1);
    EXPECT_EQ(system->GetScale(), 1.0);
    EXPECT_EQ(system->GetUnits(), 3);
    EXPECT_EQ(system->GetUnitsFac(), 1000.0);
    EXPECT_EQ(Text(*system), Kq("3,Meter,0"));
    // A record discards the cache: the next text is printed afresh.
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 2);
    ASSERT_EQ(system->SetParameters(&r), 1);
    EXPECT_EQ(Text(*system), Kq("3,Meter,2.000000000000000,0.000000000000000,0.000000000000000"));
}

TEST_F(Parameters, EmptyTextFailsAndLeavesNoProjection) {
    SystemPtr system = Projected(27700);
    EXPECT_EQ(system->SetParameters(KQ_T("")), 0);
    EXPECT_EQ(system->HasProjection(), 0);
    EXPECT_EQ(system->SetParameters(static_cast<const KQWCHAR*>(nullptr)), 0);
}

TEST_F(Parameters, TextOnANewObjectBuildsNoProjectionButRebuildsAKnownMethod) {
    SystemPtr fresh(CreateCoordSystem(3, 1));
    SystemPtr source = Projected(27700);
    const KqString text = Text(*source);
    EXPECT_EQ(fresh->SetParameters(text.c_str()), 1);
    EXPECT_EQ(fresh->HasProjection(), 0); // its record still holds iProjection -1

    SystemPtr known = Projected(32632);
    EXPECT_EQ(known->SetParameters(text.c_str()), 1);
    EXPECT_EQ(known->HasProjection(), 1);
    KQCRSystem r;
    known->GetParameters(&r);
    EXPECT_EQ(r.iSystemCode, 27700);
    EXPECT_NEAR(r.adParameterValues[1], -2 * kDegree, 1e-15);
}

TEST_F(Parameters, FailedValidationKeepsEverything) {
    SystemPtr system = Projected(27700);
    const KqString before = Text(*system);
    KQCRSystem bad;
    gx::InitCRSystem(&bad, 6, 1);
    bad.iSystemCode = 12345;
    EXPECT_EQ(system->SetParameters(&bad), 0);
    EXPECT_EQ(system->HasProjection(), 1);
    EXPECT_EQ(system->GetUnits(), 3);
    EXPECT_EQ(Text(*system), before);
}

TEST_F(Parameters, RecordCopyIsCutAtTheRecordSize) {
    SystemPtr system(CreateCoordSystem(3, 1));
    struct Bigger {
        KQCRSystem record;
        char tail[64];
    } big;
    std::memset(&big, 0x5A, sizeof(big));
    gx::InitCRSystem(&big.record, 3, 1);
    big.record.iSize = sizeof(big);
    ASSERT_EQ(system->SetParameters(&big.record), 1);
    KQCRSystem r;
    system->GetParameters(&r);
    EXPECT_EQ(r.iSize, static_cast<int>(sizeof(big))); // stored as given, copied up to 1720
}

TEST_F(Parameters, PixelsTakeTheResolutionFromARecordButTheTableFromAText) {
    SystemPtr system(CreateCoordSystem(3, 1));
    system->SetResolution(600);
    KQCRSystem r;
    gx::InitCRSystem(&r, 0, 1);
    ASSERT_EQ(system->SetParameters(&r), 1);
    EXPECT_EQ(system->GetUnitsFac(), 25.4 / 600);
    ASSERT_EQ(system->SetParameters(KQ_T("0,Pixel,1")), 1);
    EXPECT_EQ(system->GetUnitsFac(), 0.0846666666666667);
}

TEST_F(Parameters, LimitsOfTheTextForm) {
    SystemPtr system(CreateCoordSystem(3, 1));
    // Longer than 1023 characters: refused, nothing changes.
    const KqString longText = Kq("6,Foot,1,0,0;") + KqString(1100, 'x');
    EXPECT_EQ(system->SetParameters(longText.c_str()), 0);
    EXPECT_EQ(system->GetUnits(), 3);

    // Names are cut to their arrays: 99 in the record, 63 in the object.
    const KqString name(150, 'n');
    ASSERT_EQ(system->SetParameters((Kq("3,") + name + Kq(",1,0,0;-1,") + name).c_str()), 1);
    EXPECT_EQ(KqString(system->GetUnitsName()), KqString(63, 'n'));
    KQCRSystem r;
    system->GetParameters(&r);
    EXPECT_EQ(KqString(r.szUnitsName), KqString(99, 'n'));
    EXPECT_EQ(KqString(r.szSystemName), KqString(99, 'n'));

    // A parameter count outside 0..14 is brought into it.
    ASSERT_EQ(system->SetParameters(KQ_T("3,Meter,1,0,0;-1,,0,0,,-1,-1,,-1,,-1,,0,0,0,-1,,0,99")),
              1);
    system->GetParameters(&r);
    EXPECT_EQ(r.iNumParameters, 14);
    ASSERT_EQ(system->SetParameters(KQ_T("3,Meter,1,0,0;-1,,0,0,,-1,-1,,-1,,-1,,0,0,0,-1,,0,-5")),
              1);
    system->GetParameters(&r);
    EXPECT_EQ(r.iNumParameters, 0);

    // A record whose text would pass 1023 characters is not printed.
    KQCRSystem huge;
    gx::InitCRSystem(&huge, 3, 1e300);
    huge.iMethodCode = 9807;
    huge.iDatumCode = 6326;
    huge.iNumParameters = 5;
    const int codes[] = {8801, 8802, 8805, 8806, 8807};
    for (int k = 0; k < 5; ++k) {
        huge.aiParameterCodes[k] = codes[k];
        huge.adParameterValues[k] = k < 3 ? 0.5 : 1e300;
    }
    ASSERT_EQ(system->SetParameters(&huge), 1);
    ASSERT_EQ(system->HasProjection(), 1);
    KQWCHAR text[1024];
    text[0] = 'z';
    EXPECT_EQ(system->GetParameters(text), 0);
    EXPECT_EQ(text[0], 0);
    EXPECT_EQ(system->GetParameters(static_cast<KQWCHAR*>(nullptr)), 0);
}

TEST_F(Parameters, PrimeMeridianIsAddedAndSubtracted) {
    SystemPtr paris = Projected(27500, 3, 1e6); // 1 mm on the sheet is 1 km
    SystemPtr greenwich = Projected(27700, 3, 1e6);
    KQCRSystem r;
    paris->GetParameters(&r);
    const double p = r.dPrimeMeridian;
    ASSERT_GT(p, 1e-8);
    double lon, lat, wx, wy;
    paris->World2User(600, 2200, lon, lat, 1);
    EXPECT_NEAR(lon, p, 1e-12); // the projection's origin is on the Paris meridian
    EXPECT_NEAR(lat, 52 * 3.141592653589793 / 200, 1e-9);
    paris->User2World(lon, lat, wx, wy, 1);
    EXPECT_NEAR(wx, 600, 1e-6);
    EXPECT_NEAR(wy, 2200, 1e-6);

    // Plane mode ignores the meridian; Greenwich (|p| <= 1e-8) adds nothing.
    paris->World2User(600, 2200, lon, lat, 0);
    EXPECT_DOUBLE_EQ(lon, 600000);
    greenwich->World2User(400, -100, lon, lat, 1);
    EXPECT_NEAR(lon, -2 * kDegree, 1e-15);
}

// At 1:25000 with a fixed point, around the false origin (400 km east, 100 km south: 16000
// and -4000 mm on the sheet), the sheet point comes back to 1e-6 mm.
TEST_F(Parameters, WorldUserRoundTripsThroughTheProjection) {
    SystemPtr system = Projected(27700, 3, 25000, 150, -220);
    system->SetUnProjectFlag(1);
    for (double wx : {15800.0, 16000.0, 16250.5})
        for (double wy : {-4000.0, 1000.0, 20000.0}) {
            double lon, lat, bx, by;
            system->World2User(wx, wy, lon, lat, -1);
            system->User2World(lon, lat, bx, by, -1);
            EXPECT_NEAR(bx, wx, 1e-6);
            EXPECT_NEAR(by, wy, 1e-6);
            double e, n;
            system->World2User(wx, wy, e, n, 0); // explicit plane mode
            EXPECT_DOUBLE_EQ(e, (1 - 25000) * 0.150 + wx * 25);
        }
}

TEST_F(Parameters, CopyOwnsItsProjectionAndText) {
    SystemPtr source = Projected(27700);
    const KqString text = Text(*source);
    SystemPtr copy(CreateCoordSystem(1, 1));
    *copy = *source;
    source.reset(); // the copy must not depend on the original's projection or text
    EXPECT_EQ(copy->HasProjection(), 1);
    EXPECT_EQ(Text(*copy), text);
    double lon, lat;
    copy->World2User(16000, -4000, lon, lat, 1);
    EXPECT_NEAR(lon, -2 * kDegree, 1e-12);
}

} // namespace
