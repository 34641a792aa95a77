// The language file: one table of files (encodings, code pages, keys, limits, formats) with the
// unit names and DMS strings each one changes; everything else must stay as it was.
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
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

// Keys 0 to 57: the length unit names; 100 to 103: the four DMS strings.
KQWCHAR* Buffer(int key) {
    KQWCHAR* buffers[4];
    GetDmsStrings(buffers[0], buffers[1], buffers[2], buffers[3]);
    return key >= 100 ? buffers[key - 100] : csKQCSLengthUnits[key].szName;
}
using State = std::map<int, KqString>;
State Current() {
    State state;
    for (int key = 0; key < 104; key = key == 57 ? 100 : key + 1)
        state[key] = Buffer(key);
    return state;
}
void Restore(const State& state) {
    for (const auto& [key, text] : state)
        gx::KqCopy(Buffer(key), key == 100 ? 64 : key > 100 ? 32 : 50, text.c_str());
}

// Bytes of text in a code page; 1200 is UTF-16LE and 65000 UTF-8, both with a byte-order mark.
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
        m_saved = Current();
        m_dir = fs::temp_directory_path() /
                ("geoxform_language_" + std::to_string(std::random_device()()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        Restore(m_saved);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    // Writes a language file and applies the languages from it, in turn.
    void Apply(const std::string& bytes, const std::vector<std::string>& languages) {
        const fs::path path = m_dir / ("units" + std::to_string(m_nFiles++) + ".ini");
        std::ofstream(path, std::ios::binary) << bytes;
        for (const std::string& language : languages)
            gx::ApplyLanguageFile(Kq(path.string().c_str()).c_str(), Kq(language.c_str()).c_str());
    }
    State m_saved;
    fs::path m_dir;
    int m_nFiles = 0;
};

TEST_F(LanguageTest, FilesAndWhatTheyChange) {
    for (const auto& row : Rows(
#include "data/refdata/language_cases.txt"
             )) {
        Restore(m_saved);
        const KqString text = Unescape(row[3]);
        std::vector<std::string> languages;
        std::istringstream names(row[1]);
        for (std::string name; std::getline(names, name, ',');)
            languages.push_back(name);
        Apply(row[2] == "bytes" ? Bytes(text) : Encode(text, std::stoul(row[2])), languages);
        State expected = m_saved;
        std::istringstream changes(row[4]);
        for (std::string change; std::getline(changes, change, ';');)
            expected[std::stoi(change)] = Unescape(change.substr(change.find('=') + 1));
        EXPECT_TRUE(Current() == expected) << row[0];
    }
    // No file, or a file that is not there.
    Restore(m_saved);
    gx::ApplyLanguageFile(nullptr, KQ_T("de"));
    gx::ApplyLanguageFile(Kq((m_dir / "missing.ini").string().c_str()).c_str(), KQ_T("de"));
    InitCoordSystemLanguage(nullptr);
    InitCoordSystemLanguage(KQ_T(""));
    EXPECT_TRUE(Current() == m_saved);
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
        {"fr", 44, KQ_T("Pied de la C\u00F4te-de-l'Or"), KQ_T("28\u00B038\u203252.40\u2033E")},
        {"es", 8, KQ_T("Milla n\u00E1utica"), KQ_T("28\u00B038'52.40\"E")},
        {"ES", 52, KQ_T("Ancho de bin 6,25 metros"), KQ_T("28\u00B038'52.40\"E")},
    };
    CCoordSystem* pSystem = CreateCoordSystem(3, 1.0);
    for (const auto& c : cases) {
        Restore(m_saved);
        InitCoordSystemLanguage(Kq(c.language).c_str());
        EXPECT_EQ(KqString(Buffer(c.row)), c.name) << c.language << " " << c.row;
        EXPECT_EQ(KqString(Buffer(53)), KQ_T("Bin width 3.125 metres"));
        for (int i = 0; i < 53; ++i)
            EXPECT_NE(Buffer(i)[0], 0) << c.language << " " << i;
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
    Restore(m_saved);
    InitCoordSystemLanguage(KQ_T("xx"));
    EXPECT_TRUE(Current() == m_saved);
}

} // namespace
