#include <cstdio>
#include <fstream>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support.h"

namespace {

// '=' both ways, '>' to 8 bits only, '<' to UTF-16 only; cap: the size of the result's array.
TEST(CodePage, ConvertsAndCutsToTheArrays) {
    const std::tuple<unsigned, const char*, KqString, size_t, char> cases[] = {
        {gx::kAnsiCodePage, "Z\xFCrich \x80 \xB0 \x9F", KQ_T("Z\u00FCrich \u20AC \u00B0 \u0178"),
         32, '='},
        {1251, "\xC0\xE1", KQ_T("\u0410\u0431"), 32, '='}, // Cyrillic A, be
        {65001, "\xC3\xA9t\xC3\xA9", KQ_T("\u00E9t\u00E9"), 32, '='},
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
    std::FILE* pFile = gx::OpenSharedDenyReadWrite(Kq(pName).c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(std::fgetc(pFile), 'a');
    std::fclose(pFile);
    std::remove(pName);
    EXPECT_EQ(gx::OpenSharedDenyReadWrite(Kq("no-such-file.bin").c_str()), nullptr);
}

} // namespace
