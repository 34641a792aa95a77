#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support.h"

namespace {

TEST(CodePage, Windows1252BothWays) {
    const char ansi[] = "Z\xFCrich \x80 \xB0 \x9F";
    KQWCHAR wide[32];
    EXPECT_EQ(gx::MultiByteToKq(gx::kAnsiCodePage, ansi, -1, wide, 32), 12u);
    const KQWCHAR expected[] = {'Z',    0xFC, 'r',  'i', 'c',   'h', ' ',
                                0x20AC, ' ',  0xB0, ' ', 0x178, 0};
    EXPECT_EQ(KqString(wide), KqString(expected));

    char back[32];
    gx::KqToMultiByte(1252, wide, back, sizeof(back));
    EXPECT_STREQ(back, ansi);

    const KQWCHAR greek[] = {0x3A9, 'x', 0};
    gx::KqToMultiByte(1252, greek, back, sizeof(back));
    EXPECT_STREQ(back, "?x");
}

TEST(CodePage, ResultsAreCutToTheirArrays) {
    KQWCHAR wide[4];
    EXPECT_EQ(gx::MultiByteToKq(1252, "abcdef", -1, wide, 4), 3u);
    EXPECT_EQ(KqString(wide), Kq("abc"));
    EXPECT_EQ(gx::MultiByteToKq(1252, "abcdef", 2, wide, 4), 2u);
    char narrow[3];
    gx::KqToMultiByte(1252, Kq("hello").c_str(), narrow, 3);
    EXPECT_STREQ(narrow, "he");
}

TEST(CodePage, OtherCodePagesThroughTheSystem) {
    // Windows-1251: 0xC0 is CYRILLIC CAPITAL LETTER A; UTF-8 as code page 65001.
    KQWCHAR wide[8];
    gx::MultiByteToKq(1251, "\xC0\xE1", -1, wide, 8);
    EXPECT_EQ(wide[0], 0x410);
    EXPECT_EQ(wide[1], 0x431);
    gx::MultiByteToKq(65001, "\xC3\xA9t\xC3\xA9", -1, wide, 8);
    const KQWCHAR ete[] = {0xE9, 't', 0xE9, 0};
    EXPECT_EQ(KqString(wide), KqString(ete));
    char narrow[8];
    gx::KqToMultiByte(65001, ete, narrow, sizeof(narrow));
    EXPECT_STREQ(narrow, "\xC3\xA9t\xC3\xA9");
}

} // namespace
