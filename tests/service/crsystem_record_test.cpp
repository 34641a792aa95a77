#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "geoxform/crsystem.h"
#include "service/crsystem_init.h"
#include "test_support.h"

namespace {

TEST(CRSystemRecord, InitialisedRecordHoldsDefaultsAndZeroElsewhere) {
    KQCRSystem record;
    std::memset(&record, 0xAB, sizeof(record));
    gx::InitCRSystem(&record, 3, 25000.0);

    EXPECT_EQ(record.iVersion, 768);
    EXPECT_EQ(record.iSize, 1720);
    EXPECT_EQ(record.iUnits, 3);
    EXPECT_EQ(record.dScale, 25000.0);
    EXPECT_EQ(record.iPrecision, 2);
    for (int32_t field :
         {record.iSystemCode, record.iMethodCode, record.iDatumCode, record.iEllipsoidCode,
          record.iPrimeMeridianCode, record.iSystemIndex, record.iDatumIndex,
          record.iPrimeMeridianIndex, record.iEllipsoidIndex, record.iProjection})
        EXPECT_EQ(field, -1);

    // Every other byte, the padding words included, is zero: compare against a record built
    // by hand from zeros and the fields above.
    KQCRSystem expected;
    std::memset(&expected, 0, sizeof(expected));
    expected.iVersion = 768;
    expected.iSize = 1720;
    expected.iUnits = 3;
    expected.dScale = 25000.0;
    expected.iSystemCode = expected.iMethodCode = expected.iDatumCode = -1;
    expected.iEllipsoidCode = expected.iPrimeMeridianCode = -1;
    expected.iSystemIndex = expected.iDatumIndex = expected.iPrimeMeridianIndex = -1;
    expected.iEllipsoidIndex = expected.iProjection = -1;
    expected.iPrecision = 2;
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof(record)), 0);

    gx::InitCRSystem(nullptr, 3, 1.0); // ignored
}

KQCRSystemOld MakeOldRecord() {
    KQCRSystemOld old;
    std::memset(&old, 0, sizeof(old));
    old.iHeader1 = 0x12345678; // never read
    old.iHeader2 = -7;
    old.iUnits = 3;
    std::strcpy(old.szUnitsName, "Meter");
    old.dScale = 25000;
    old.dOffsetX = 10;
    old.dOffsetY = 20;
    old.iSystemCode = 27700;
    std::strcpy(old.szSystemName, "OSGB 1936 / British National Grid");
    old.iMethodCode = 9807;
    // "Réseau géodésique" in Windows-1252, and the degree sign and euro sign above 127.
    std::strcpy(old.szDatumName, "R\xE9seau g\xE9od\xE9sique \xB0\x80");
    old.dSemiMajorAxis = 6377563.396;
    old.iNumParameters = 5;
    for (int i = 0; i < 14; ++i) {
        old.aiParameterCodes[i] = 8800 + i;
        old.adParameterValues[i] = 0.5 * i;
    }
    old.iUnProject = 1;
    old.iEllipsoidIndex = 7;
    old.iProjection = 4;
    return old;
}

TEST(CRSystemRecord, OldRecordUpgradesFieldByField) {
    const KQCRSystemOld old = MakeOldRecord();
    std::unique_ptr<KQCRSystem> record(GetCRSystemFromOld(&old));
    ASSERT_NE(record, nullptr);

    EXPECT_EQ(record->iVersion, 0x300);
    EXPECT_EQ(record->iSize, 1720);
    EXPECT_EQ(record->iPrecision, 2);
    EXPECT_EQ(record->iReserved, 0);
    EXPECT_EQ(record->iProjection, 4);
    EXPECT_EQ(record->iEllipsoidIndex, 7);
    EXPECT_EQ(record->iUnProject, 1);
    EXPECT_EQ(record->iUnits, 3);
    EXPECT_EQ(record->dOffsetY, 20);
    EXPECT_EQ(record->iSystemCode, 27700);
    EXPECT_EQ(record->dSemiMajorAxis, 6377563.396);
    EXPECT_EQ(KqString(record->szSystemName), Kq("OSGB 1936 / British National Grid"));
    const KQWCHAR datum[] = {'R',  0xE9, 's', 'e', 'a', 'u', ' ', 'g',  0xE9,   'o', 'd',
                             0xE9, 's',  'i', 'q', 'u', 'e', ' ', 0xB0, 0x20AC, 0};
    EXPECT_EQ(KqString(record->szDatumName), KqString(datum));
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(record->aiParameterCodes[i], 8800 + i);
        EXPECT_EQ(record->adParameterValues[i], 0.5 * i);
    }
}

TEST(CRSystemRecord, OldNameWithoutTerminatorIsCutTo99Characters) {
    KQCRSystemOld old = MakeOldRecord();
    std::memset(old.szSystemName, 'x', sizeof(old.szSystemName)); // no NUL inside the array
    std::unique_ptr<KQCRSystem> record(GetCRSystemFromOld(&old));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(KqString(record->szSystemName), KqString(99, 'x'));
    EXPECT_EQ(KqString(record->szAuxName), KqString());
}

TEST(CRSystemRecord, NullOldRecordGivesNull) {
    EXPECT_EQ(GetCRSystemFromOld(nullptr), nullptr);
}

} // namespace
