#include <clocale>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "platform/number_text.h"
#include "test_support.h"

namespace {

std::string Format(double v, gx::FloatFormat format) {
    char text[64];
    gx::FormatFloat(v, format, text, sizeof(text));
    return text;
}

// The printer agrees with printf's "%f" family, character for character.
TEST(NumberText, FormatFloatMatchesPrintf) {
    struct Case {
        const char* printfFormat;
        bool left, plus, zero;
        int width, precision;
    } cases[] = {
        {"%.15f", false, false, false, 0, 15},  {"%.f", false, false, false, 0, 0},
        {"%02.f", false, false, true, 2, 0},    {"%07.3f", false, false, true, 7, 3},
        {"%-9.2f", true, false, false, 9, 2},   {"%+.4f", false, true, false, 0, 4},
        {"%12.1f", false, false, false, 12, 1},
    };
    const double values[] = {0.0,
                             -0.0,
                             1.5,
                             2.5,
                             -2.5,
                             0.125,
                             52.4,
                             59.9999,
                             25000.0,
                             -1e-7,
                             123456789.987654321,
                             1e21,
                             INFINITY,
                             -INFINITY};
    for (const Case& c : cases) {
        gx::FloatFormat format;
        format.bLeft = c.left;
        format.bPlus = c.plus;
        format.bZeroPad = c.zero;
        format.iWidth = c.width;
        format.iPrecision = c.precision;
        for (double v : values) {
            char expected[128];
            snprintf(expected, sizeof(expected), c.printfFormat, v);
            EXPECT_EQ(Format(v, format), expected) << c.printfFormat << " " << v;
        }
    }
}

TEST(NumberText, FormatFloatCutsButReportsTheFullLength) {
    gx::FloatFormat format;
    format.iPrecision = 15;
    char text[8];
    EXPECT_EQ(gx::FormatFloat(1e300, format, text, sizeof(text)), 301u + 16u);
    EXPECT_EQ(std::string(text), "1000000");
    format.iPrecision = 100000; // printed as 350 decimals
    char big[1024];
    EXPECT_EQ(gx::FormatFloat(0.5, format, big, sizeof(big)), 352u);
}

TEST(NumberText, FormatIgnoresTheHostsLocale) {
    std::string saved;
    if (!UseCommaLocale(LC_NUMERIC, saved)) GTEST_SKIP() << "no locale with a decimal comma";
    gx::FloatFormat format;
    format.iPrecision = 2;
    EXPECT_EQ(Format(1.5, format), "1.50");
    double v = 0;
    EXPECT_TRUE(gx::ParseDouble("2.25", v));
    EXPECT_EQ(v, 2.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, ParseDoubleReadsLikeScanf) {
    struct Case {
        const char* text;
        bool ok;
        double value;
        size_t consumed;
    } cases[] = {
        {"12.5abc", true, 12.5, 4},
        {"  -3e2,", true, -300, 6},
        {"+.5", true, 0.5, 3},
        {"5.", true, 5, 2},
        {"0x1p4", true, 16, 5},
        {"0x", true, 0, 1},
        {"abc", false, 0, 0},
        {"", false, 0, 0},
        {"-", false, 0, 0},
        {"1e400", true, HUGE_VAL, 5},
        {"1e-400", true, 0, 6},
        {"  7", true, 7, 3},
        {"0x1.8p1", true, 3, 7},
        {"0X.8", true, 0.5, 4},
        {"0x1p-1080", true, 0, 9},
        {"0x1p99999", true, HUGE_VAL, 9},
        {"1000e306", true, HUGE_VAL, 8},
        {"0.0001e-320", true, 0, 11},
        {"0x10000000000000001", true, 18446744073709551616.0, 19},
    };
    for (const Case& c : cases) {
        double v = -1;
        const char* pEnd = nullptr;
        EXPECT_EQ(gx::ParseDouble(c.text, v, &pEnd), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(static_cast<size_t>(pEnd - c.text), c.consumed) << c.text;
    }
    double v = 0;
    EXPECT_TRUE(gx::ParseDouble("-inf", v));
    EXPECT_EQ(v, -HUGE_VAL);
    EXPECT_TRUE(gx::ParseDouble("nan(123)x", v));
    EXPECT_TRUE(std::isnan(v));
}

TEST(NumberText, ParseIntReadsHexOctalAndDecimal) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"27700", true, 27700},
        {"-1", true, -1},
        {"0x1F", true, 31},
        {"010", true, 8},
        {"09", true, 0},
        {" +42,", true, 42},
        {"", false, 0},
        {",5", false, 0},
        {"99999999999", true, INT32_MAX},
        {"-99999999999", true, INT32_MIN},
        {"0xg", true, 0},
    };
    for (const Case& c : cases) {
        int32_t v = -7;
        EXPECT_EQ(gx::ParseInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(NumberText, WideReadersFollowTheRuntimesAtoiAndAtof) {
    EXPECT_EQ(gx::KqToInt(Kq("  -123xyz").c_str()), -123);
    EXPECT_EQ(gx::KqToInt(Kq("0x10").c_str()), 0); // decimal only
    EXPECT_EQ(gx::KqToInt(Kq("abc").c_str()), 0);
    EXPECT_EQ(gx::KqToDouble(Kq("6378137.000000000000000").c_str()), 6378137.0);
    EXPECT_EQ(gx::KqToDouble(Kq("-0.25e1;").c_str()), -2.5);
    EXPECT_EQ(gx::KqToDouble(Kq("").c_str()), 0.0);
    const KQWCHAR degree[] = {'1', '2', 0xB0, '3', 0};
    double v = 0;
    const KQWCHAR* pEnd = nullptr;
    EXPECT_TRUE(gx::KqParseDouble(degree, v, &pEnd));
    EXPECT_EQ(v, 12);
    EXPECT_EQ(pEnd, degree + 2);
}

TEST(NumberText, TextBuilderCutsAtCapacity) {
    KQWCHAR buffer[8];
    gx::KqTextBuilder builder(buffer, 8);
    builder.AppendAscii("abc");
    builder.AppendInt(-45);
    EXPECT_FALSE(builder.Overflowed());
    builder.AppendFixed(1.5, 2);
    EXPECT_TRUE(builder.Overflowed());
    EXPECT_EQ(KqString(buffer), Kq("abc-451"));
}

} // namespace
