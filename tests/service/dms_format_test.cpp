#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/number_text.h"
#include "service/dms_format.h"
#include "test_support.h"

namespace {

TEST(DmsFormat, AcceptsExactlyTheSixValuesInOrder) {
    struct Case {
        KqString format;
        bool valid;
    } cases[] = {
        {KQ_T("%.f\u00B0%02.f'%0*.*f\"%s"), true},
        {KQ_T("%lf %lf %*.*lf %ls"), true},
        {KQ_T("%e|%G|%-*.*g|%S"), true},
        {KQ_T("100%% %+08.3F %#f %0*.*E %-5.2s %%"), true},
        {KQ_T("%.f %.f %*.*f %255s"), true},
        {KQ_T(""), false},
        {KQ_T("no conversions"), false},
        {KQ_T("%.f %.f %*.*f %s %n"), false},
        {KQ_T("%n %.f %*.*f %s"), false},
        {KQ_T("%.f %.f %*.*f"), false},
        {KQ_T("%.f %.f %*.*f %s %s"), false},
        {KQ_T("%.f %.f %*.*f %s %f"), false},
        {KQ_T("%s %.f %*.*f %s"), false},
        {KQ_T("%.f %.f %*.*s %s"), false},
        {KQ_T("%.f %.f %*.*f %f"), false},
        {KQ_T("%.f %.f %.*f %s"), false},
        {KQ_T("%.f %.f %*.f %s"), false},
        {KQ_T("%.f %.f %*f %s"), false},
        {KQ_T("%*.f %.f %*.*f %s"), false},
        {KQ_T("%.*f %.f %*.*f %s"), false},
        {KQ_T("%d %.f %*.*f %s"), false},
        {KQ_T("%i %i %*.*f %s"), false},
        {KQ_T("%1$f %2$f %*.*f %s"), false},
        {KQ_T("%Lf %.f %*.*f %s"), false},
        {KQ_T("%llf %.f %*.*f %s"), false},
        {KQ_T("%.f %.f %*.*f %hs"), false},
        {KQ_T("%.f %.f %*.*f %c"), false},
        {KQ_T("%.f %.f %*.*f %p"), false},
        {KQ_T("%.f %.f %*.*f %a"), false},
        {KQ_T("%.f %.f %*.*f %0s"), false},
        {KQ_T("%.f %.f %*.*f %*s"), false},
        {KQ_T("%.f %.f %*.*f %s%"), false},
        {KQ_T("%256f %.f %*.*f %s"), false},
        {KQ_T("%.f %.999f %*.*f %s"), false},
        {KQ_T("%.f %.f %*.*f %99999999999999999999s"), false},
        {KQ_T("%'.f %.f %*.*f %s"), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gx::IsValidDmsFormat(c.format.c_str()), c.valid) << Narrow(c.format.c_str());
    EXPECT_FALSE(gx::IsValidDmsFormat(nullptr));
}

// The formatter writes what printf writes for the same format and values.
TEST(DmsFormat, MatchesPrintf) {
    const char* formats[] = {
        "%.f %02.f' %0*.*f\" %s", "%+.2f|%-6.1f|%-*.*f|%-4s|", "% f %#.0f %*.*e %.1s",
        "%g %G %0*.*g %3s",       "%.3e %10.4E %*.*G %-3.0s",  "%lf %5.f %+*.*f %s %%",
    };
    struct Values {
        double degrees, minutes;
        int width, precision;
        double seconds;
        const char* hemisphere;
    } values[] = {
        {28, 38, 5, 2, 52.4, "E"},
        {-0.0, 0, 3, 0, 5, "W"},
        {-179, 59, 11, 8, 59.99999999, "N"},
        {1e15, 1e-5, -9, 3, 0.000123456, "S"}, // a negative width pads on the right
        {12, 30, 4, -2, 7.25, ""},             // a negative precision counts as none
        {INFINITY, NAN, 0, 1, -INFINITY, "EW"},
        {123456789.0, 0.5, 1, 15, 1e-300, "N"},
    };
    for (const char* format : formats) {
        for (const Values& v : values) {
            char expected[512];
            std::snprintf(expected, sizeof(expected), format, v.degrees, v.minutes, v.width,
                          v.precision, v.seconds, v.hemisphere);
            gx::DmsValues dms;
            dms.dDegrees = v.degrees;
            dms.dMinutes = v.minutes;
            dms.iSecondsWidth = v.width;
            dms.iSecondsPrecision = v.precision;
            dms.dSeconds = v.seconds;
            const KqString hemisphere = Kq(v.hemisphere);
            dms.pszHemisphere = hemisphere.c_str();
            KQWCHAR out[512];
            size_t n = 0;
            ASSERT_TRUE(gx::FormatDms(Kq(format).c_str(), dms, out, 512, n)) << format;
            EXPECT_EQ(KqString(out), Kq(expected)) << format << " " << v.degrees;
            EXPECT_EQ(n, std::strlen(expected));
        }
    }
}

TEST(DmsFormat, CutsToTheBufferButCountsEverything) {
    gx::DmsValues dms;
    dms.dDegrees = 28;
    dms.dMinutes = 38;
    dms.iSecondsWidth = 300;
    dms.iSecondsPrecision = 2;
    dms.dSeconds = 52.4;
    KQWCHAR out[16];
    size_t n = 0;
    ASSERT_TRUE(gx::FormatDms(KQ_T("%.f\u00B0%02.f'%0*.*f\"%s"), dms, out, 16, n));
    EXPECT_EQ(n, 3u + 3u + 300u + 1u); // a null hemisphere prints as nothing
    EXPECT_EQ(KqString(out), KqString(KQ_T("28\u00B038'")) + KqString(9, '0'));
    // Widths at the limits of int neither overflow nor write past the buffer.
    for (int width : {INT_MAX, INT_MIN, INT_MIN + 1}) {
        dms.iSecondsWidth = width;
        ASSERT_TRUE(gx::FormatDms(KQ_T("%.f %.f %0*.*f %s"), dms, out, 16, n));
        EXPECT_GT(n, 1000000u);
        EXPECT_LE(KqString(out).size(), 15u);
    }
    // A refused format leaves an empty text.
    out[0] = 'x';
    EXPECT_FALSE(gx::FormatDms(KQ_T("%n"), dms, out, 16, n));
    EXPECT_EQ(KqString(out), KQ_T(""));
    EXPECT_EQ(n, 0u);
}

// The e and g conversions of the shared number printer, against printf.
TEST(DmsFormat, ScientificAndGeneralConversionsMatchPrintf) {
    struct Case {
        const char* format;
        char conversion;
        bool left, plus, zero, point;
        int width, precision;
    } cases[] = {
        {"%e", 'e', false, false, false, false, 0, 6},
        {"%.3E", 'E', false, false, false, false, 0, 3},
        {"%.0e", 'e', false, false, false, false, 0, 0},
        {"%#.0e", 'e', false, false, false, true, 0, 0},
        {"%012.2e", 'e', false, false, true, false, 12, 2},
        {"%g", 'g', false, false, false, false, 0, 6},
        {"%.0g", 'g', false, false, false, false, 0, 0},
        {"%.10g", 'g', false, false, false, false, 0, 10},
        {"%#g", 'g', false, false, false, true, 0, 6},
        {"%#.1g", 'g', false, false, false, true, 0, 1},
        {"%-12G", 'G', true, false, false, false, 12, 6},
        {"%+.17g", 'g', false, true, false, false, 0, 17},
        {"%F", 'F', false, false, false, false, 0, 6},
    };
    const double values[] = {0.0,   -0.0,    1.0,         0.5,       9.9999995, 99999.95,  123456.0,
                             1e-4,  9.5e-5,  0.000123456, 1e15,      1e100,     -2.5e-300, 5e-324,
                             1e308, 1.7e308, INFINITY,    -INFINITY, NAN,       59.999999, 100.0};
    for (const Case& c : cases) {
        gx::FloatFormat format;
        format.cConversion = c.conversion;
        format.bLeft = c.left;
        format.bPlus = c.plus;
        format.bZeroPad = c.zero;
        format.bPoint = c.point;
        format.iWidth = c.width;
        format.iPrecision = c.precision;
        for (double v : values) {
            char expected[512];
            std::snprintf(expected, sizeof(expected), c.format, v);
            char text[512];
            const size_t n = gx::FormatFloat(v, format, text, sizeof(text));
            EXPECT_EQ(std::string(text), expected) << c.format << " " << v;
            EXPECT_EQ(n, std::strlen(text));
        }
    }
}

} // namespace
