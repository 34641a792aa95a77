#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/profile.h"
#include "test_support.h"

namespace {

// '=' both ways, '>' to 8 bits only, '<' to UTF-16 only; cap: the size of the result's array.
TEST(CodePage, ConvertsAndCutsToTheArrays) {
    const std::tuple<unsigned, const char*, KqString, size_t, char> cases[] = {
        {gx::kAnsiCodePage, "Z\xFCrich \x80 \xB0 \x9F", KQ_T("Z\u00FCrich \u20AC \u00B0 \u0178"),
         32, '='},
        {1252, "?x", KQ_T("\u03A9x"), 32, '>'}, // no omega in Windows-1252
        {1252, "he", KQ_T("hello"), 3, '>'},
        {1252, "abcdef", KQ_T("abc"), 4, '<'},
    };
    KQWCHAR wide[32];
    for (const auto& [codePage, narrowText, wideText, cap, way] : cases) {
        char narrow[32];
        gx::KqToMultiByte(codePage, wideText.c_str(), narrow, cap);
        EXPECT_STREQ(way == '<' ? narrowText : narrow, narrowText) << codePage;
        if (way == '>') continue;
        EXPECT_EQ(gx::MultiByteToKq(codePage, narrowText, -1, wide, cap), wideText.size());
        EXPECT_EQ(KqString(wide), wideText) << codePage;
    }
    EXPECT_EQ(gx::MultiByteToKq(1252, "abcdef", 2, wide, 4), 2u); // a length instead of a NUL
}

TEST(Platform, LibraryDirectoryAndSharedOpening) {
    KQWCHAR dir[2048], small[4];
    const size_t n = gx::LibraryDirectory(dir, 2048);
    ASSERT_GT(n, 0u);
    EXPECT_NE(dir[n - 1], gx::kPathSeparator);
    EXPECT_EQ(gx::LibraryDirectory(small, 4), 3u); // cut to fit
    const char* pName = "geoxform_platform_test.bin";
    std::ofstream(pName) << "abc";
    std::FILE* pFile = gx::OpenSharedDenyWrite(Kq(pName).c_str());
    ASSERT_NE(pFile, nullptr);
    std::FILE* pSecond = gx::OpenSharedDenyWrite(Kq(pName).c_str()); // readers share the file
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(std::fgetc(pFile), 'a');
    EXPECT_EQ(std::fgetc(pSecond), 'a');
    std::fclose(pFile);
    std::fclose(pSecond);
    std::remove(pName);
    EXPECT_EQ(gx::OpenSharedDenyWrite(Kq("no-such-file.bin").c_str()), nullptr);
}

namespace fs = std::filesystem;

// Hosts that start at the same moment all read the data file: six copies of this program run
// this test at once (the variable set), each loading and freeing the data 50 times.
TEST(Platform, SeveralProcessesLoadAtOnce) {
    if (const char* pChild = std::getenv("GEOXFORM_LOAD_CHILD"); pChild && *pChild == '1') {
        for (int i = 0; i < 50; ++i, FreeEPSGDataBase()) {
            InitEmptyDatabase();
            EXPECT_EQ(ReadEPSGData(nullptr), 1) << "load " << i;
        }
        return;
    }
    const std::string outer = gx::kPathSeparator == '\\' ? "\"" : ""; // cmd /c takes off a pair
    const std::string command =
        outer + "\"" + testing::internal::GetArgvs()[0] + "\"" +
        " --gtest_brief=1 --gtest_filter=Platform.SeveralProcessesLoadAtOnce" + outer;
    putenv(const_cast<char*>("GEOXFORM_LOAD_CHILD=1"));
    std::vector<int> results(6, -1);
    std::vector<std::thread> processes;
    for (int& result : results)
        processes.emplace_back([&] { result = std::system(command.c_str()); });
    for (std::thread& process : processes)
        process.join();
    putenv(const_cast<char*>("GEOXFORM_LOAD_CHILD=0"));
    EXPECT_EQ(results, std::vector<int>(6, 0));
}

// UTF-8 text as UTF-16, and as Windows-1252 (the system code page of the tests).
KqString Wide(const char* psz) {
    KQWCHAR text[512];
    return KqString(text, gx::MultiByteToKq(65001, psz, -1, text, 512));
}
std::string Ansi(const char* psz) {
    char text[512];
    return std::string(text, gx::KqToMultiByte(gx::kAnsiCodePage, Wide(psz).c_str(), text, 512));
}

// Odd blanks, quotes, empty values, '=' in values, repeated keys and sections, other cases
// of letters, CRLF and LF line ends.
const char kSample[] =
    u8"; comment\r\n[First]\r\nKey=one\r\n  spaced key  =   two words   \r\n"
    u8"quoted=\"  padded  \"\r\nsingle='x'\r\nlonequote=\"abc\r\nempty=\r\ninner=a=b\r\n"
    u8"dup=first\r\ndup=second\r\nno equals\r\n\t[ second ]  \r\nKey=other\numlaut=Grüße €\n"
    u8"[Über]\nk=latin\n[first]\nlate=only the first section counts\n";

// Both readers, the sample in every encoding, in a directory named outside ASCII. Files: 0 the
// sample, 1 missing, 2 none (null), 3 only a byte-order mark. Null names stay null.
TEST(Profile, BothReadersApplyTheRulesInEveryEncoding) {
    const std::tuple<int, const char*, const char*, const char*, size_t, const char*> cases[] = {
        // clang-format off
        {0, "first", "KEY", "d", 64, "one"}, {0, "FIRST", "Spaced Key", "d", 64, "two words"},
        {0, "First", "quoted", "d", 64, "  padded  "}, {0, "First", "single", "d", 64, "x"},
        {0, "First", "lonequote", "d", 64, "\"abc"}, {0, "First", "empty", "dflt", 64, ""},
        {0, "First", "inner", "d", 64, "a=b"}, {0, "First", "dup", "d", 64, "first"},
        {0, "First", "no equals", "d", 64, "d"}, {0, "First", "late", "d", 64, "d"},
        {0, "second", "UMLAUT", "d", 64, u8"Grüße €"}, {0, u8"Über", "K", "d", 64, "latin"},
        {0, u8"üBER", "K", "d", 64, "d"}, // only ASCII letters fold
        {0, "First", "missing", "dflt  ", 64, "dflt"}, // the default loses its spaces
        {0, "First", "missing", "dflt \t", 64, "dflt \t"}, // but not a tab
        {0, "nosuch", "key", "d", 64, "d"}, {0, "First", "spaced key", "d", 4, "two"}, // size - 1
        {0, "First", "missing", "default", 4, "def"}, {0, "First", "key", "d", 1, ""},
        {1, "a", "b", "dflt", 16, "dflt"}, {1, "a", "b", nullptr, 16, ""},
        {1, nullptr, "b", "d", 16, "d"},
        {2, "a", "b", "d2", 16, "d2"}, {3, "a", "b", "d3", 16, "d3"},
        {1, "a", "b", "d", 0, "#"}}; // a zero-sized buffer is not written at all
    // clang-format on
    const fs::path dir = fs::temp_directory_path() /
                         fs::u8path(u8"geoxform_größe_" + std::to_string(std::random_device()()));
    fs::create_directories(dir);
    std::ofstream(dir / "bom.ini", std::ios::binary) << "\xFF\xFE";
    const fs::path files[] = {dir / "sample.ini", dir / "no-such.ini", "", dir / "bom.ini"};
    auto ansi = [](const char* p, std::string& s) { return p ? (s = Ansi(p)).c_str() : nullptr; };
    auto wide = [](const char* p, KqString& s) { return p ? (s = Wide(p)).c_str() : nullptr; };
    for (unsigned codePage : {1252u, 65001u, 1200u}) {
        // ANSI, UTF-8 with its byte-order mark, UTF-16LE with its mark
        std::string bytes = codePage == 65001 ? "\xEF\xBB\xBF" + std::string(kSample) : "\xFF\xFE";
        if (codePage == 1252) bytes = Ansi(kSample);
        for (KQWCHAR u : codePage == 1200 ? Wide(kSample) : KqString())
            bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
        std::ofstream(files[0], std::ios::binary) << bytes;
        for (const auto& [file, section, key, fallback, cap, expected] : cases) {
            const std::string name = file == 2 ? "" : files[file].u8string();
            const char* pName = file == 2 ? nullptr : name.c_str();
            KqString w[4];
            std::string a[4];
            KQWCHAR out[64] = {'#', 0};
            size_t n = gx::GetProfileStringKq(wide(section, w[0]), wide(key, w[1]),
                                              wide(fallback, w[2]), out, cap, wide(pName, w[3]));
            EXPECT_EQ(std::make_pair(KqString(out), n),
                      std::make_pair(Wide(expected), cap == 0 ? 0 : Wide(expected).size()))
                << codePage << " " << key;
            char narrow[64] = "#";
            n = gx::GetProfileStringAnsi(ansi(section, a[0]), ansi(key, a[1]), ansi(fallback, a[2]),
                                         narrow, cap, ansi(pName, a[3]));
            EXPECT_EQ(std::make_pair(std::string(narrow), n),
                      std::make_pair(Ansi(expected), cap == 0 ? 0 : Ansi(expected).size()))
                << codePage << " " << key;
        }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
