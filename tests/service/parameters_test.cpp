// The coordinate system object: record and text form, sheet-to-user conversion, copies.
#include <cmath>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "reference_fixture.h"
#include "service/crsystem_init.h"

namespace {

using testconst::kDegree;
using testconst::kPi;

struct SystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, SystemDeleter>;

KqString Text(CCoordSystem& system, int expectedResult = 1) {
    KQWCHAR text[1024] = {'z', 0};
    EXPECT_EQ(system.GetParameters(text), expectedResult);
    return text;
}

class Parameters : public fixture::ReferenceData {
protected:
    static SystemPtr Projected(int code, double scale = 25000, double ox = 0, double oy = 0) {
        SystemPtr system(CreateCoordSystem(3, scale));
        KQCRSystem r;
        gx::InitCRSystem(&r, 3, scale);
        r.iSystemCode = code, r.dOffsetX = ox, r.dOffsetY = oy;
        EXPECT_EQ(system->SetParameters(&r), 1);
        return system;
    }
};

const char kUserPart[] = "3,Meter,25000.000000000000000,0.000000000000000,0.000000000000000";

// Texts in, the object's units, scale and text out (from the cache when it came as text).
TEST_F(Parameters, TextForm) {
    for (const auto& row : Rows(
#include "data/refdata/parameter_texts.txt"
             )) {
        const KqString text = Unescape(row[0]);
        SystemPtr system(CreateCoordSystem(1, 5));
        system->SetResolution(600);
        EXPECT_EQ(system->SetParameters(text.c_str()), std::stoi(row[1])) << row[0];
        EXPECT_EQ(system->GetUnits(), std::stoi(row[2]));
        EXPECT_EQ(system->GetScale(), std::stod(row[3]));
        EXPECT_EQ(system->GetUnitsFac(), std::stod(row[4]));
        KQCRSystem r;
        system->GetParameters(&r);
        EXPECT_EQ(r.iNumParameters, std::stoi(row[5]));
        EXPECT_EQ(r.dOffsetX + r.dOffsetY + r.dSemiMajorAxis, 0);
        if (row[1] == "1") { // a copy keeps the text as it came ("1.0" is not printed afresh)
            SystemPtr copy(CreateCoordSystem(6, 1));
            *copy = *system;
            EXPECT_EQ(Text(*copy), text.substr(0, 1023));
        }
        if (row[5] == "9") {
            EXPECT_EQ(r.adParameterValues[8] + r.aiParameterCodes[8], 8809.9);
        }
        if (text.find(KqString(150, 'n')) == 2) { // cut to 99 in the record, 63 in the object
            EXPECT_EQ(KqString(system->GetUnitsName()), KqString(63, 'n'));
            EXPECT_EQ(KqString(r.szUnitsName) + r.szSystemName, KqString(198, 'n'));
        }
    }
    EXPECT_EQ(Projected(27700)->SetParameters(static_cast<const KQWCHAR*>(nullptr)), 0);
}

TEST_F(Parameters, RecordAndTextTogether) {
    SystemPtr system = Projected(27700);
    const KqString text = Text(*system);
    EXPECT_EQ(text.substr(0, text.find(';')), Kq(kUserPart));
    for (const char* part :
         {";27700,OSGB36 / British National Grid,4700,1000,Test area,19916,9807,Transverse "
          "Mercator,6277,",
          ",5,8801,0.855211333477221,8802,-0.034906585039887,8805,0.999601271700000,8806,"
          "400000.000000000000000,8807,-100000.000000000000000"})
        EXPECT_NE(Narrow(text.c_str()).find(part), std::string::npos) << part;
    // A text builds no projection on a new object (its record holds no method), but rebuilds
    // one on an object that knows the method and the ellipsoid row.
    SystemPtr fresh(CreateCoordSystem(3, 1));
    EXPECT_EQ(fresh->SetParameters(text.c_str()), 1);
    EXPECT_EQ(fresh->HasProjection(), 0);
    SystemPtr known = Projected(32632);
    EXPECT_EQ(known->SetParameters(text.c_str()), 1);
    EXPECT_EQ(known->HasProjection(), 1);
    double lon, lat; // the rebuilt projection is the British grid's
    known->World2User(16000, -4000, lon, lat, 1);
    EXPECT_NEAR(std::hypot(lon + 2 * kDegree, lat - 49 * kDegree), 0, 1e-12);
    // A failed validation keeps everything; an empty text drops the projection.
    KQCRSystem bad;
    gx::InitCRSystem(&bad, 6, 1);
    bad.iSystemCode = 12345;
    EXPECT_EQ(system->SetParameters(&bad), 0);
    EXPECT_EQ(system->HasProjection() * 10 + system->GetUnits(), 13);
    EXPECT_EQ(Text(*system), text);
    EXPECT_EQ(system->SetParameters(KQ_T("")), 0);
    EXPECT_EQ(system->HasProjection(), 0);
    // A record drops the cached text; one whose text would pass 1023 characters is not printed.
    KQCRSystem huge;
    gx::InitCRSystem(&huge, 3, 1e300);
    Edit(huge, "method=9807 datum=6326 p=8801:0.5,8802:0.5,8805:0.5,8806:1e300,8807:1e300");
    ASSERT_EQ(system->SetParameters(&huge), 1);
    EXPECT_EQ(Text(*system, 0), KQ_T(""));
    EXPECT_EQ(system->GetParameters(static_cast<KQWCHAR*>(nullptr)), 0);
    // Pixels take the object's resolution from a record; 1 dot per inch is the least taken.
    system->SetResolution(1);
    system->SetResolution(0);
    gx::InitCRSystem(&huge, 0, 1);
    ASSERT_EQ(system->SetParameters(&huge), 1);
    EXPECT_EQ(system->GetUnitsFac(), 25.4);
    // A bigger record is copied up to the record's size.
    struct {
        KQCRSystem record;
        char tail[64];
    } big;
    std::memset(&big, 0x5A, sizeof(big));
    gx::InitCRSystem(&big.record, 3, 25000);
    big.record.iSize = sizeof(big);
    ASSERT_EQ(system->SetParameters(&big.record), 1);
    EXPECT_EQ(Text(*system), Kq(kUserPart));
}

// Sheet millimetres to user units and back: plane modes, degrees without a projection, the
// projection with its prime meridian, and a zero scale.
TEST_F(Parameters, WorldAndUser) {
    SystemPtr paris = Projected(27500, 1e6); // 1 mm on the sheet is 1 km
    SystemPtr bng = Projected(27700, 25000, 150, -220);
    SystemPtr metres(CreateCoordSystem(3, 25000)), millimetres(CreateCoordSystem(1, 1));
    SystemPtr zero(CreateCoordSystem(3, 0.0));
    const struct {
        CCoordSystem* system;
        int flag, mode;
        double wx, wy, ux, uy;
    } cases[] = {
        {metres.get(), 0, -1, 10, 4, 250, 100},
        {millimetres.get(), 0, 1, 30, 60, kPi / 6, kPi / 3},
        {millimetres.get(), 1, -1, 30, 60, kPi / 6, kPi / 3},
        {millimetres.get(), 1, 0, 30, 60, 30, 60},
        {millimetres.get(), 2, -1, 30, 60, 30, 60}, // only 1 is geographic
        {paris.get(), 0, 1, 600, 2200, 2.5969213 * kPi / 200, 52 * kPi / 200},
        {paris.get(), 0, 0, 600, 2200, 600000, 2200000},
        {bng.get(), 0, 1, 16000 + 150 / 25000.0 * 24999, -4000 - 220 / 25000.0 * 24999,
         -2 * kDegree, 49 * kDegree},
    };
    for (const auto& c : cases) {
        c.system->SetUnProjectFlag(c.flag);
        double ux, uy, wx, wy;
        EXPECT_EQ(c.system->World2User(c.wx, c.wy, ux, uy, c.mode), 1);
        EXPECT_NEAR(ux, c.ux, 1e-9 * (1 + std::fabs(c.ux))) << c.wx;
        EXPECT_NEAR(uy, c.uy, 1e-9 * (1 + std::fabs(c.uy))) << c.wy;
        EXPECT_EQ(c.system->User2World(ux, uy, wx, wy, c.mode), 1);
        EXPECT_NEAR(wx, c.wx, 1e-6);
        EXPECT_NEAR(wy, c.wy, 1e-6);
    }
    EXPECT_DOUBLE_EQ(metres->Scale2UserUnits(10), 250);
    // A zero scale maps everything onto the fixed point.
    double ux, uy, wx, wy;
    zero->World2User(123, 456, ux, uy, 0);
    EXPECT_EQ(zero->User2World(5, 6, wx, wy, 0), 1);
    EXPECT_EQ(std::fabs(ux) + std::fabs(uy) + std::fabs(wx) + std::fabs(wy), 0);
    EXPECT_EQ(zero->Scale2UserUnits(10), 0);
}

// Copies own their projection and text: the source is deleted first.
TEST_F(Parameters, CopyOwnsItsProjectionAndText) {
    SystemPtr source = Projected(27700);
    source->SetPrecision(5);
    source->SetResolution(150);
    source->SetUnProjectFlag(1);
    const KqString text = Text(*source);
    SystemPtr copy(CreateCoordSystem(6, 1));
    *copy = *source;
    source.reset();
    *copy = *copy; // self-assignment keeps everything
    EXPECT_EQ(Text(*copy), text);
    EXPECT_EQ(copy->GetPrecision() * 1000 + copy->GetResolution(), 5150);
    double lon, lat;
    copy->World2User(16000, -4000, lon, lat, -1);
    EXPECT_NEAR(lon, -2 * kDegree, 1e-12);
    // Units outside the table read nothing outside it.
    for (int units : {-1, 58, 1000}) {
        SystemPtr system(CreateCoordSystem(units, 1.0));
        EXPECT_EQ(system->GetUnitsFac(), 1.0);
        EXPECT_EQ(KqString(system->GetUnitsName()), KqString());
    }
    DeleteCoordSystem(nullptr);
}

TEST(CRSystemRecord, InitAndUpgradeOfTheOldRecord) {
    KQCRSystem record;
    std::memset(&record, 0xAB, sizeof(record));
    gx::InitCRSystem(&record, 3, 25000.0);
    KQCRSystem expected{}; // zero everywhere, padding included, but for these fields
    expected.iVersion = 768, expected.iSize = 1720, expected.iUnits = 3, expected.dScale = 25000;
    expected.iSystemCode = expected.iMethodCode = expected.iDatumCode = -1;
    expected.iEllipsoidCode = expected.iPrimeMeridianCode = expected.iSystemIndex = -1;
    expected.iDatumIndex = expected.iPrimeMeridianIndex = expected.iEllipsoidIndex = -1;
    expected.iProjection = -1, expected.iPrecision = 2;
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof(record)), 0);
    gx::InitCRSystem(nullptr, 3, 1.0); // ignored

    KQCRSystemOld old{};
    old.iUnits = 3, old.dScale = 25000, old.dOffsetY = 20, old.iSystemCode = 27700;
    // "Réseau géodésique", the degree and euro signs in Windows-1252; a name without NUL.
    std::strcpy(old.szDatumName, "R\xE9seau g\xE9od\xE9sique \xB0\x80");
    std::memset(old.szSystemName, 'x', sizeof(old.szSystemName));
    old.iNumParameters = 5, old.aiParameterCodes[13] = 8813, old.adParameterValues[13] = 6.5;
    old.iUnProject = 1, old.iEllipsoidIndex = 7, old.iProjection = 4;
    std::unique_ptr<KQCRSystem> r(GetCRSystemFromOld(&old));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::tie(r->iVersion, r->iSize, r->iPrecision, r->iProjection, r->iEllipsoidIndex,
                       r->iUnProject, r->iUnits, r->iSystemCode, r->aiParameterCodes[13]),
              std::make_tuple(0x300, 1720, 2, 4, 7, 1, 3, 27700, 8813));
    EXPECT_EQ(std::tie(r->dOffsetY, r->adParameterValues[13]), std::make_tuple(20.0, 6.5));
    EXPECT_EQ(KqString(r->szDatumName), KQ_T("R\u00E9seau g\u00E9od\u00E9sique \u00B0\u20AC"));
    EXPECT_EQ(KqString(r->szSystemName), KqString(99, 'x'));
    EXPECT_EQ(GetCRSystemFromOld(nullptr), nullptr);
}

} // namespace
