#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/profile.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// Bytes of UTF-16 text in a code page (the converters have their own tests), or as UTF-16LE
// with a byte-order mark for code page 1200.
std::string Encode(const KqString& text, unsigned codePage) {
    if (codePage == 1200) {
        std::string bytes = "\xFF\xFE";
        for (KQWCHAR c : text)
            bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return bytes;
    }
    std::string bytes(4 * text.size() + 1, '\0');
    bytes.resize(gx::KqToMultiByte(codePage, text.c_str(), &bytes[0], bytes.size()));
    return codePage == 65001 ? "\xEF\xBB\xBF" + bytes : bytes;
}

// Each test writes its files into a directory of its own, removed at its end.
class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("geoxform_profile_" + std::to_string(std::random_device()()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path path = m_dir / fs::u8path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    fs::path m_dir;
};

KqString Wide(const fs::path& path) {
    const std::u16string text = path.u16string();
    return KqString(text.begin(), text.end());
}

// Odd blanks, quotes, empty values, '=' in values, repeated keys and sections, other cases
// of letters, CRLF and LF line ends.
const KqString kSample =
    KQ_T("; comment\r\n[First]\r\nKey=one\r\n"
         "  spaced key  =   two words   \r\n"
         "quoted=\"  padded  \"\r\nsingle='x'\r\nlonequote=\"abc\r\n"
         "empty=\r\ninner=a=b\r\ndup=first\r\ndup=second\r\nno equals\r\n"
         "\t[ second ]  \r\nKey=other\numlaut=Gr\u00FC\u00DFe \u20AC\n"
         "[\u00DCber]\nk=latin\n[first]\nlate=only the first section counts\n");

TEST_F(Profile, WideReaderAppliesTheRulesInEveryEncoding) {
    const struct {
        KqString section;
        const char *key, *fallback;
        size_t cap;
        KqString expected;
    } cases[] = {
        {KQ_T("first"), "KEY", "d", 64, KQ_T("one")},
        {KQ_T("FIRST"), "Spaced Key", "d", 64, KQ_T("two words")},
        {KQ_T("First"), "quoted", "d", 64, KQ_T("  padded  ")},
        {KQ_T("First"), "single", "d", 64, KQ_T("x")},
        {KQ_T("First"), "lonequote", "d", 64, KQ_T("\"abc")},
        {KQ_T("First"), "empty", "dflt", 64, KQ_T("")},
        {KQ_T("First"), "inner", "d", 64, KQ_T("a=b")},
        {KQ_T("First"), "dup", "d", 64, KQ_T("first")},
        {KQ_T("First"), "no equals", "d", 64, KQ_T("d")},
        {KQ_T("First"), "late", "d", 64, KQ_T("d")},
        {KQ_T("second"), "UMLAUT", "d", 64, KQ_T("Gr\u00FC\u00DFe \u20AC")},
        {KQ_T("\u00DCber"), "K", "d", 64, KQ_T("latin")},
        {KQ_T("\u00FCBER"), "K", "d", 64, KQ_T("d")},               // only ASCII letters fold
        {KQ_T("First"), "missing", "dflt  ", 64, KQ_T("dflt")},     // the default loses its spaces
        {KQ_T("First"), "missing", "dflt \t", 64, KQ_T("dflt \t")}, // but not a tab
        {KQ_T("nosuch"), "key", "d", 64, KQ_T("d")},
        {KQ_T("First"), "spaced key", "d", 4, KQ_T("two")}, // cut to the size - 1
        {KQ_T("First"), "missing", "default", 4, KQ_T("def")},
        {KQ_T("First"), "key", "d", 1, KQ_T("")},
    };
    for (unsigned codePage : {1252u, 65001u, 1200u}) { // ANSI, UTF-8 and UTF-16 with marks
        const KqString file = Wide(Write("sample.ini", Encode(kSample, codePage)));
        for (const auto& c : cases) {
            KQWCHAR out[64];
            const size_t n =
                gx::GetProfileStringKq(c.section.c_str(), Kq(c.key).c_str(), Kq(c.fallback).c_str(),
                                       out, c.cap, file.c_str());
            EXPECT_EQ(KqString(out), c.expected) << codePage << " " << c.key;
            EXPECT_EQ(n, c.expected.size());
        }
    }
}

TEST_F(Profile, AnsiReaderGivesTheFilesBytesOrTheSystemCodePage) {
    const struct {
        unsigned codePage;
        std::string umlaut; // bytes of "Grüße €"
    } cases[] = {
        {1252, "Gr\374\337e \200"},
        {65001, "Gr\374\337e \200"}, // Unicode files converted to Windows-1252
        {1200, "Gr\374\337e \200"},
    };
    for (const auto& c : cases) {
        const std::string file = Write("sample.ini", Encode(kSample, c.codePage)).string();
        char out[64];
        gx::GetProfileStringAnsi("SECOND", "umlaut", "d", out, sizeof(out), file.c_str());
        EXPECT_EQ(std::string(out), c.umlaut) << c.codePage;
        EXPECT_EQ(gx::GetProfileStringAnsi("first", "spaced key", "d", out, 4, file.c_str()), 3u);
        EXPECT_EQ(std::string(out), "two");
        gx::GetProfileStringAnsi("first", "none", "fallback ", out, sizeof(out), file.c_str());
        EXPECT_EQ(std::string(out), "fallback");
    }
}

TEST_F(Profile, MissingFilesNamesAndBuffers) {
    KQWCHAR out[16];
    const KqString missing = KQ_T("/nonexistent-geoxform/units.ini");
    EXPECT_EQ(gx::GetProfileStringKq(KQ_T("a"), KQ_T("b"), KQ_T("dflt"), out, 16, missing.c_str()),
              4u);
    EXPECT_EQ(KqString(out), KQ_T("dflt"));
    gx::GetProfileStringKq(KQ_T("a"), KQ_T("b"), nullptr, out, 16, missing.c_str());
    EXPECT_EQ(KqString(out), KQ_T(""));
    gx::GetProfileStringKq(nullptr, KQ_T("b"), KQ_T("d"), out, 16, missing.c_str());
    EXPECT_EQ(KqString(out), KQ_T("d"));
    gx::GetProfileStringKq(KQ_T("a"), KQ_T("b"), KQ_T("d2"), out, 16, nullptr);
    EXPECT_EQ(KqString(out), KQ_T("d2"));
    // A zero-sized buffer is not written at all.
    EXPECT_EQ(gx::GetProfileStringKq(KQ_T("a"), KQ_T("b"), KQ_T("d"), out, 0, missing.c_str()), 0u);
    EXPECT_EQ(KqString(out), KQ_T("d2"));
    // A file of only a byte-order mark has no sections.
    const KqString empty = Wide(Write("empty.ini", "\xFF\xFE"));
    gx::GetProfileStringKq(KQ_T("a"), KQ_T("b"), KQ_T("d3"), out, 16, empty.c_str());
    EXPECT_EQ(KqString(out), KQ_T("d3"));
}

TEST_F(Profile, FileNamesOutsideAscii) {
    const fs::path path = Write("gr\303\266\303\237e.ini", "[s]\nk=v\n"); // "größe.ini"
    KQWCHAR out[8];
    gx::GetProfileStringKq(KQ_T("s"), KQ_T("k"), KQ_T("d"), out, 8, Wide(path).c_str());
    EXPECT_EQ(KqString(out), KQ_T("v"));
    // The 8-bit reader takes the name in the system code page (Windows-1252).
    char ansi[4096];
    gx::KqToMultiByte(gx::kAnsiCodePage, Wide(path).c_str(), ansi, sizeof(ansi));
    EXPECT_NE(std::string(ansi).find("gr\366\337e.ini"), std::string::npos);
    char narrow[8];
    gx::GetProfileStringAnsi("s", "k", "d", narrow, 8, ansi);
    EXPECT_EQ(std::string(narrow), "v");
}

} // namespace
