#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/number_text.h"
#include "test_support.h"

namespace {

// The flags, width, precision and conversion of a printf format such as "%-+10.3g".
gx::FloatFormat FormatOf(const char* p) {
    gx::FloatFormat f;
    for (++p; *p != 0 && std::strchr("-+ 0#", *p) != nullptr; ++p) {
        f.bLeft |= *p == '-', f.bPlus |= *p == '+', f.bSpace |= *p == ' ';
        f.bZeroPad |= *p == '0', f.bPoint |= *p == '#';
    }
    char* pEnd = nullptr;
    f.iWidth = static_cast<int>(std::strtol(p, &pEnd, 10));
    if (*pEnd == '.') f.iPrecision = static_cast<int>(std::strtol(pEnd + 1, &pEnd, 10));
    f.cConversion = *pEnd;
    return f;
}

// (value, format, as printf prints it)
const std::tuple<double, const char*, const char*> kPrinted[] = { // clang-format off
    {52.4, "%.15f", "52.399999999999999"}, {-1e-7, "%.15f", "-0.000000100000000"},
    {123456789.987654321, "%.15f", "123456789.987654328346252"}, {-0.0, "%02.f", "-0"},
    {1e21, "%.15f", "1000000000000000000000.000000000000000"},
    {0.1, "%.20f", "0.10000000000000000555"}, {2.5, "%.f", "2"}, {-2.5, "%.f", "-2"},
    {1.5, "%.f", "2"}, {0.0, "%02.f", "00"}, {3.0, "%#.0f", "3."}, {59.9999, "%07.3f", "060.000"},
    {-2.5, "%07.3f", "-02.500"}, {-INFINITY, "%07.3f", "   -inf"}, {0.125, "%-9.2f", "0.12     "},
    {-1e-7, "%-9.2f", "-0.00    "}, {25000.0, "%+.4f", "+25000.0000"}, {-0.0, "%+.4f", "-0.0000"},
    {59.9999, "%12.1f", "        60.0"}, {1.5, "% f", " 1.500000"}, {-INFINITY, "%F", "-INF"},
    {0.0, "%e", "0.000000e+00"}, {123456789.987654321, "%.3E", "1.235E+08"}, {2.5, "%.0e", "2e+00"},
    {2.5, "%#.0e", "2.e+00"}, {1e-310, "%e", "1.000000e-310"}, {-52.4, "%+012.2e", "-0005.24e+01"},
    {0.0001, "%g", "0.0001"}, {0.00001, "%g", "1e-05"}, {123456.0, "%g", "123456"},
    {1234567.0, "%g", "1.23457e+06"}, {999.5, "%.3g", "1e+03"}, {99.95, "%.3g", "100"},
    {0.5, "%.0g", "0.5"}, {1.5, "%#g", "1.50000"}, {100.0, "%#.3g", "100."},
    {1e-5, "%#.3g", "1.00e-05"}, {1e-10, "%G", "1E-10"}, {NAN, "%g", "nan"},
    {INFINITY, "%G", "INF"}, {0.000123456, "%-+10.3g", "+0.000123 "}, {-0.0, "%g", "-0"},
    {1e100, "%g", "1e+100"}, {9.9999995, "%g", "10"}, {99999.95, "%#.1g", "1.e+05"},
    {5e-324, "%e", "4.940656e-324"}, {1.7e308, "%+.17g", "+1.6999999999999999e+308"},
    {59.999999, "%.0e", "6e+01"}, {-2.5e-300, "%-12G", "-2.5E-300   "}};
// clang-format on

// 'f': ParseDouble, KqParseDouble, KqToDouble (as strtod); 'i': ParseInt (as strtoll, base by
// the prefix); 'd': KqToInt (as strtoll in base 10). Integers saturate to 32 bits.
// (text, conversion, a number read, its value, characters read)
const std::tuple<const char*, char, bool, double, long> kRead[] = { // clang-format off
    {"12.5abc", 'f', 1, 12.5, 4}, {"  -3e2,", 'f', 1, -300, 6}, {"+.5", 'f', 1, 0.5, 3},
    {"5.", 'f', 1, 5, 2}, {"1e+", 'f', 1, 1, 1}, {"6378137.000000000000000", 'f', 1, 6378137, 23},
    {"12\xB0" "3", 'f', 1, 12, 2}, {"abc", 'f', 0, 0, 0}, {"", 'f', 0, 0, 0}, {"-", 'f', 0, 0, 0},
    {"- 5", 'f', 0, 0, 0}, {"--5", 'f', 0, 0, 0}, {"+-5", 'f', 0, 0, 0}, {"-+inf", 'f', 0, 0, 0},
    {"0x1p4", 'f', 1, 16, 5}, {"0x1.8p1", 'f', 1, 3, 7}, {"0X.8", 'f', 1, 0.5, 4},
    {"0x", 'f', 1, 0, 1}, {"0x-1", 'f', 1, 0, 1}, {"0xinf", 'f', 1, 0, 1}, {"0x1p", 'f', 1, 1, 3},
    {"0x10000000000000001", 'f', 1, 0x1p64, 19},
    {"0x1.000000000000080000001p0", 'f', 1, 1 + 0x1p-52, 27},
    {"0x0.00001p1030", 'f', 1, 0x1p1010, 14}, {"0x1p-1080", 'f', 1, 0, 9},
    {"0x1p-1075", 'f', 1, 0, 9}, {"0x1p99999", 'f', 1, HUGE_VAL, 9},
    {"0x1.fffffffffffff8p1023", 'f', 1, HUGE_VAL, 23}, {"1e400", 'f', 1, HUGE_VAL, 5},
    {"1e-400", 'f', 1, 0, 6}, {"1e-310", 'f', 1, 1e-310, 6}, {"1000e306", 'f', 1, HUGE_VAL, 8},
    {"0.0001e-320", 'f', 1, 0, 11}, {"-inf", 'f', 1, -HUGE_VAL, 4},
    {"-1e99999999999999999999", 'f', 1, -HUGE_VAL, 23},
    {"0.01e-99999999999999999999", 'f', 1, 0, 26}, {"INFINITYx", 'f', 1, HUGE_VAL, 8},
    {"nan(123)x", 'f', 1, NAN, 8}, {"nan(12", 'f', 1, NAN, 3}, {"27700", 'i', 1, 27700, 5},
    {"-1", 'i', 1, -1, 2}, {"0x1F", 'i', 1, 31, 4}, {"010", 'i', 1, 8, 3}, {"09", 'i', 1, 0, 1},
    {" +42,", 'i', 1, 42, 4}, {"", 'i', 0, 0, 0}, {",5", 'i', 0, 0, 0}, {"--5", 'i', 0, 0, 0},
    {"0xg", 'i', 1, 0, 1}, {"99999999999", 'i', 1, INT32_MAX, 11},
    {"-99999999999", 'i', 1, INT32_MIN, 12}, {"-2147483648", 'i', 1, INT32_MIN, 11},
    {"0x7fffffffffffffffffff", 'i', 1, INT32_MAX, 22}, {"  -123xyz", 'd', 1, -123, 6},
    {"0x10", 'd', 1, 0, 1}, {"abc", 'd', 0, 0, 0}, {"2147483648", 'd', 1, INT32_MAX, 10}};
// clang-format on

#ifdef _WIN32
const bool kWindowsCrt = true; // its strtoll reads nothing of "0xg", where C11 reads the 0
#else
const bool kWindowsCrt = false;
#endif

std::string Show(bool ok, double value, long consumed) {
    char text[80];
    snprintf(text, sizeof(text), "%s %.17g, end at %ld", ok ? "read" : "none", value, consumed);
    return text;
}

// Every row; and, unless the C locale has been changed, the C library on the same row.
void CheckRows(bool bCLibrary) {
    size_t cap = 0;
    for (const auto& [value, format, printed] : kPrinted) {
        char text[512], expected[512];
        gx::FormatFloat(value, FormatOf(format), text, sizeof(text));
        EXPECT_STREQ(text, printed) << format;
        snprintf(expected, sizeof(expected), format, value);
        EXPECT_STREQ(bCLibrary ? expected : printed, printed) << format;
        // Cut to 0 to 8 bytes as snprintf cuts, the full length told, no byte written after.
        cap = (cap + 1) % 9;
        const size_t length = std::strlen(printed);
        std::memset(text, '#', sizeof(text));
        EXPECT_EQ(gx::FormatFloat(value, FormatOf(format), text, cap), length) << format;
        const std::string cut(printed, cap == 0 ? 0 : std::min(cap - 1, length));
        EXPECT_EQ(std::string(cap == 0 ? "" : text) + std::string(text + cap, 4), cut + "####")
            << format << " " << cap;
    }
    for (const auto& [text, conversion, ok, value, consumed] : kRead) {
        const std::string expected = Show(ok, value, consumed);
        const KqString wide = Kq(text);
        const char* pEnd = text + consumed;                // KqToInt tells no end
        const KQWCHAR* pWideEnd = wide.c_str() + consumed; // not moved when no number
        char* pC = nullptr;
        double v = 0;
        int32_t i = 0;
        if (conversion == 'f') {
            bool bRead = gx::ParseDouble(text, v, &pEnd);
            EXPECT_EQ(Show(bRead, v, pEnd - text), expected) << text;
            bRead = gx::KqParseDouble(wide.c_str(), v, &pWideEnd);
            v = gx::KqToDouble(wide.c_str());
            EXPECT_EQ(Show(bRead, v, pWideEnd - wide.c_str()), expected) << "UTF-16 " << text;
            v = std::strtod(text, &pC);
        } else {
            const bool bRead = conversion == 'i' ? gx::ParseInt(text, i, &pEnd)
                                                 : (i = gx::KqToInt(wide.c_str())) != 0 || ok;
            EXPECT_EQ(Show(bRead, i, pEnd - text), expected) << text;
            v = std::clamp<long long>(std::strtoll(text, &pC, conversion == 'i' ? 0 : 10),
                                      INT32_MIN, INT32_MAX);
        }
        if (!bCLibrary || (kWindowsCrt && std::strcmp(text, "0xg") == 0)) continue;
        EXPECT_EQ(Show(pC != text, pC != text ? v : 0.0, pC - text), expected) << "C " << text;
    }
}

TEST(NumberText, PrintsAsPrintfAndReadsAsStrtodOnEveryRow) {
    CheckRows(true);
}

TEST(NumberText, SameRowsUnderADecimalCommaLocale) {
    std::string saved;
    if (!UseCommaLocale(LC_NUMERIC, saved)) GTEST_SKIP() << "no locale with a decimal comma";
    CheckRows(false);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, LongTextIsCutAndTheBuilderRemembersIt) {
    char big[1024];
    EXPECT_EQ(gx::FormatFloat(0.5, FormatOf("%.100000f"), big, sizeof(big)), 352u); // 350 decimals
    EXPECT_EQ(gx::FormatFloat(1.5, FormatOf("%5000.1f"), big, 8), 5000u);
    EXPECT_STREQ(big, "       ");
    // Out of range by a long mantissa: 1e-350 and 1e350.
    for (const std::string& text :
         {"1" + std::string(400, '0') + "e-750", "-0." + std::string(400, '0') + "1e750"}) {
        double v = 0;
        EXPECT_TRUE(gx::ParseDouble(text.c_str(), v));
        EXPECT_EQ(v, std::strtod(text.c_str(), nullptr));
    }
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
