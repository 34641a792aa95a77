#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "geoxform/units.h"
#include "platform/platform.h"
#include "platform/wide_string.h"
#include "refdata/language.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// Every unit name and DMS string, to compare and to put back after a test: other tests of
// the same program rely on the built-in values.
struct LanguageState {
    std::vector<KqString> names;
    KqString dms[4];

    static KQWCHAR* Buffer(int which) {
        KQWCHAR* buffers[4];
        GetDmsStrings(buffers[0], buffers[1], buffers[2], buffers[3]);
        return buffers[which];
    }
    static LanguageState Current() {
        LanguageState state;
        for (int i = 0; i < iNumUnitsDefined; ++i)
            state.names.push_back(csKQCSLengthUnits[i].szName);
        for (int i = 0; i < 4; ++i)
            state.dms[i] = Buffer(i);
        return state;
    }
    void Restore() const {
        for (int i = 0; i < iNumUnitsDefined; ++i)
            gx::KqCopy(csKQCSLengthUnits[i].szName, names[static_cast<size_t>(i)].c_str());
        for (int i = 0; i < 4; ++i)
            gx::KqCopy(Buffer(i), i == 0 ? 64 : 32, dms[i].c_str());
    }
    bool operator==(const LanguageState& other) const {
        return names == other.names && std::equal(dms, dms + 4, other.dms);
    }
};

// Bytes of text in a code page (the converters have their own tests); 1200 is UTF-16LE and
// 65000 UTF-8, both with a byte-order mark.
std::string Encode(const KqString& text, unsigned codePage) {
    if (codePage == 1200) {
        std::string bytes = "\xFF\xFE";
        for (KQWCHAR c : text)
            bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return bytes;
    }
    std::string bytes(4 * text.size() + 1, '\0');
    bytes.resize(gx::KqToMultiByte(codePage == 65000 ? 65001 : codePage, text.c_str(), &bytes[0],
                                   bytes.size()));
    return codePage == 65000 ? "\xEF\xBB\xBF" + bytes : bytes;
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = LanguageState::Current();
        m_dir = fs::temp_directory_path() /
                ("geoxform_language_" + std::to_string(std::random_device()()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        m_saved.Restore();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    // Writes a language file and applies the language from it.
    void Apply(const std::string& bytes, const char* language = "de") {
        const fs::path path = m_dir / ("units" + std::to_string(m_nFiles++) + ".ini");
        std::ofstream(path, std::ios::binary) << bytes;
        gx::ApplyLanguageFile(Kq(path.string().c_str()).c_str(), Kq(language).c_str());
    }
    void Apply(const KqString& text, unsigned codePage, const char* language = "de") {
        Apply(Encode(text, codePage), language);
    }
    static KqString Name(int row) { return csKQCSLengthUnits[row].szName; }
    static KqString Dms(int which) { return LanguageState::Buffer(which); }

    LanguageState m_saved;
    fs::path m_dir;
    int m_nFiles = 0;
};

const KqString kBuiltInFormat = KQ_T("%.f\u00B0%02.f'%0*.*f\"%s");

TEST_F(LanguageTest, BuiltInStringsAndLiveBuffers) {
    EXPECT_EQ(Dms(0), kBuiltInFormat);
    EXPECT_EQ(Dms(1), KQ_T("NSWEnswe\u00B0'\":"));
    EXPECT_EQ(Dms(2), KQ_T("NSns\u00B0'\":"));
    EXPECT_EQ(Dms(3), KQ_T("WEwe\u00B0'\":"));
    KQWCHAR* before[4];
    GetDmsStrings(before[0], before[1], before[2], before[3]);
    Apply("[LengthUnits_de]\nDMSStrTok=NSWE nswe\nDMSStrTokWE=WE we\n");
    KQWCHAR* after[4];
    GetDmsStrings(after[0], after[1], after[2], after[3]);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(before[i], after[i]); // the same buffers, with the new strings
    EXPECT_EQ(KqString(after[1]), KQ_T("NSWE nswe"));
    EXPECT_EQ(KqString(after[3]), KQ_T("WE we"));
    EXPECT_EQ(after[0], gx::g_szDmsUnitString);
}

TEST_F(LanguageTest, NothingChangesWithoutALanguageOrSection) {
    const std::string file = "[LengthUnits_de]\n3=Meter (de)\nDMSStrTok=x\n";
    InitCoordSystemLanguage(nullptr);
    InitCoordSystemLanguage(KQ_T(""));
    Apply(file, "");
    Apply(file, "xx");
    gx::ApplyLanguageFile(nullptr, KQ_T("de"));
    gx::ApplyLanguageFile(Kq((m_dir / "missing.ini").string().c_str()).c_str(), KQ_T("de"));
    EXPECT_TRUE(LanguageState::Current() == m_saved);
}

TEST_F(LanguageTest, OnlyRowsUpTo52AndOnlyPresentKeysChange) {
    Apply("[LengthUnits_de]\n3=Meter (de)\n52=Bin-Breite 6,25 Meter\n53=x\n57=x\n03=x\n");
    LanguageState expected = m_saved;
    expected.names[3] = KQ_T("Meter (de)"); // "03" is not a row key
    expected.names[52] = KQ_T("Bin-Breite 6,25 Meter");
    EXPECT_TRUE(LanguageState::Current() == expected);
    // Present but empty makes a name or a delimiter set empty.
    Apply("[LengthUnits_de]\n4=\nDMSStrTokNS=\n");
    EXPECT_EQ(Name(4), KQ_T(""));
    EXPECT_EQ(Dms(2), KQ_T(""));
    EXPECT_EQ(Dms(3), m_saved.dms[3]);
}

// The same section in each encoding and code page path ends in the same names and strings.
TEST_F(LanguageTest, EveryEncodingAndCodePagePath) {
    const KqString values = KQ_T("6=Fu\u00DF \u20AC\r\n"
                                 "DMSUnitString=%.f\u00B0 %02.f' %0*.*f\" %s\r\n"
                                 "DMSStrTok=NSWE nswe\u00B0'\":\r\n");
    const struct {
        const char* acp; // null: no key
        unsigned codePage;
    } cases[] = {
        {nullptr, 1252}, {"1252", 1252},  {nullptr, 65000}, {"65001", 65001},
        {nullptr, 1200}, {"1252", 1200},  {"0", 1252},      {"cp1252", 1252}, // not a number: as 0
        {"99999", 1252}, {"-1252", 1252}, // code pages nothing converts: as 0
    };
    for (const auto& c : cases) {
        m_saved.Restore();
        KqString text = KQ_T("[LengthUnits_de]\r\n");
        if (c.acp != nullptr) text += Kq("ACP=") + Kq(c.acp) + KQ_T("\r\n");
        Apply(text + values, c.codePage);
        const std::string what =
            std::string(c.acp ? c.acp : "-") + " " + std::to_string(c.codePage);
        EXPECT_EQ(Name(6), KQ_T("Fu\u00DF \u20AC")) << what;
        EXPECT_EQ(Dms(0), KQ_T("%.f\u00B0 %02.f' %0*.*f\" %s")) << what;
        EXPECT_EQ(Dms(1), KQ_T("NSWE nswe\u00B0'\":")) << what;
        EXPECT_EQ(Name(5), m_saved.names[5]) << what;
    }
}

TEST_F(LanguageTest, CodePagesBeyondWindows1252) {
    Apply(KQ_T("[LengthUnits_ru]\nACP=1251\n3=\u041C\u0435\u0442\u0440\n"), 1251, "ru");
    EXPECT_EQ(Name(3), KQ_T("\u041C\u0435\u0442\u0440"));
    // A name the code page cannot hold survives a language in that code page lacking its key.
    Apply("[LengthUnits_de]\n6=Fu\xDF\n");
    Apply(KQ_T("[LengthUnits_ru]\nACP=1251\n4=\u041A\u043C\n"), 1251, "ru");
    EXPECT_EQ(Name(6), KQ_T("Fu\u00DF"));
    EXPECT_EQ(Name(4), KQ_T("\u041A\u043C"));
}

TEST_F(LanguageTest, ValuesAreCutToTheirBuffers) {
    const std::string values =
        "7=" + std::string(60, 'n') + "\nDMSStrTokWE=" + std::string(40, 't') + "\n";
    for (const char* head : {"[LengthUnits_de]\n", "[LengthUnits_de]\nACP=1252\n"}) {
        m_saved.Restore();
        Apply(head + values);
        EXPECT_EQ(Name(7), KqString(49, 'n'));
        EXPECT_EQ(Dms(3), KqString(31, 't'));
    }
    // On the 8-bit path the limit counts bytes: 30 two-byte letters keep 24 whole ones, and
    // the cut half of the 25th arrives as a replacement character, as the system conversion
    // gives it.
    Apply(KQ_T("[LengthUnits_de]\nACP=65001\n8=") + KqString(30, 0xE4), 65001);
    EXPECT_EQ(Name(8), KqString(24, 0xE4) + KQWCHAR(0xFFFD));
}

TEST_F(LanguageTest, ASecondLanguageKeepsTheFirstWhereItLacksKeys) {
    const std::string file = "[LengthUnits_de]\n3=Meter (de)\n6=Fuss\nDMSStrTokNS=NS ns\n"
                             "[LengthUnits_fr]\n6=Pied\n";
    Apply(file, "de");
    Apply(file, "fr");
    EXPECT_EQ(Name(3), KQ_T("Meter (de)"));
    EXPECT_EQ(Name(6), KQ_T("Pied"));
    EXPECT_EQ(Dms(2), KQ_T("NS ns"));
    EXPECT_EQ(Name(1), m_saved.names[1]);
}

TEST_F(LanguageTest, FormatsThatDoNotTakeTheSixValuesAreRefused) {
    const struct {
        KqString format;
        bool accepted;
    } cases[] = {
        {KQ_T("%.f\u00B0 %02.f' %0*.*f\" %s"), true},
        {KQ_T("%.f d %02.f m %0*.*f s %s"), true},
        {KQ_T("%.f\u00B0%02.f'%0*.*f\"%s%n"), false}, // writes through a pointer
        {KQ_T("%.f\u00B0%02.f'%0*.*f\""), false},     // no hemisphere
        {KQ_T("%.f\u00B0%02.f'%0*.*f\"%s%s"), false}, // one conversion too many
        {KQ_T("%s\u00B0%02.f'%0*.*f\"%s"), false},    // a string where a double goes
        {KQ_T("%.f\u00B0%02.f'%.*f\"%s"), false},     // the width is not taken
        {KQ_T(""), false},                            // nothing to print an angle with
    };
    for (const auto& c : cases) {
        for (unsigned codePage : {65001u, 65000u}) { // the 8-bit path and the wide path
            m_saved.Restore();
            const KqString acp = codePage == 65001 ? KQ_T("ACP=65001\n") : KQ_T("");
            Apply(KQ_T("[LengthUnits_de]\n") + acp + KQ_T("DMSUnitString=") + c.format, codePage);
            EXPECT_EQ(Dms(0), c.accepted ? c.format : kBuiltInFormat) << Narrow(c.format.c_str());
        }
    }
}

// The language file shipped beside the library, through the exported entry point: names,
// and angles that each language writes and reads back.
TEST_F(LanguageTest, ShippedLanguageFile) {
    const struct {
        const char* language;
        int row;
        KqString name;
        KqString angle; // 0.5 radians east with 2 decimals
    } cases[] = {
        {"de", 6, KQ_T("Fu\u00DF"), KQ_T("28\u00B0 38' 52.40\" E")},
        {"de", 16, KQ_T("Deutsches gesetzliches Meter"), KQ_T("28\u00B0 38' 52.40\" E")},
        {"fr", 44, KQ_T("Pied de la C\u00F4te-de-l'Or"), KQ_T("28\u00B038\u203252.40\u2033E")},
        {"es", 8, KQ_T("Milla n\u00E1utica"), KQ_T("28\u00B038'52.40\"E")},
        {"ES", 52, KQ_T("Ancho de bin 6,25 metros"), KQ_T("28\u00B038'52.40\"E")},
    };
    CCoordSystem* pSystem = CreateCoordSystem(3, 1.0);
    ASSERT_NE(pSystem, nullptr);
    for (const auto& c : cases) {
        m_saved.Restore();
        InitCoordSystemLanguage(Kq(c.language).c_str());
        EXPECT_EQ(Name(c.row), c.name) << c.language << " " << c.row;
        EXPECT_EQ(Name(53), KQ_T("Bin width 3.125 metres"));
        for (int i = 0; i < 53; ++i)
            EXPECT_FALSE(Name(i).empty()) << c.language << " " << i;
        KQWCHAR text[256];
        ASSERT_EQ(pSystem->Value2String(0.5, text, CS_DMS | CS_LONGITUDE, 2), 1);
        EXPECT_EQ(KqString(text), c.angle) << c.language;
        double value = 0;
        EXPECT_EQ(pSystem->String2Value(text, value, CS_DMS | CS_LONGITUDE), 1);
        EXPECT_NEAR(value, 0.5, 1e-7) << c.language;
        // Typed text with the plain apostrophe and double quote reads in every language.
        EXPECT_EQ(pSystem->String2Value(KQ_T("28\u00B038'52.40\"W"), value, CS_DMS), 1);
        EXPECT_NEAR(value, -0.5, 1e-7) << c.language;
    }
    DeleteCoordSystem(pSystem);
    m_saved.Restore();
    InitCoordSystemLanguage(KQ_T("xx"));
    EXPECT_TRUE(LanguageState::Current() == m_saved);
}

} // namespace
