#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "geoxform/units.h"
#include "platform/wide_string.h"
#include "test_support.h"

namespace {

const double kRadiansPerDegree = 0.017453292519943295;

double Radians(double degrees, double minutes = 0, double seconds = 0) {
    return (degrees + minutes / 60 + seconds / 3600) * kRadiansPerDegree;
}

// A metre object with the built-in DMS strings, which it puts back when a test changed them.
class ValueTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSystem = CreateCoordSystem(3, 1.0);
        ASSERT_NE(m_pSystem, nullptr);
        KQWCHAR *pTokNS, *pTokWE;
        GetDmsStrings(m_pFormat, m_pTok, pTokNS, pTokWE);
        m_savedFormat = m_pFormat;
        m_savedTok = m_pTok;
    }
    void TearDown() override {
        gx::KqCopy(m_pFormat, 64, m_savedFormat.c_str());
        gx::KqCopy(m_pTok, 32, m_savedTok.c_str());
        DeleteCoordSystem(m_pSystem);
    }
    KqString Print(double v, int flags, int decimals) {
        KQWCHAR text[256];
        text[0] = 0;
        m_iLastResult = m_pSystem->Value2String(v, text, flags, decimals);
        return text;
    }

    CCoordSystem* m_pSystem = nullptr;
    KQWCHAR* m_pFormat = nullptr;
    KQWCHAR* m_pTok = nullptr;
    KqString m_savedFormat, m_savedTok;
    int m_iLastResult = -1;
};

TEST_F(ValueTextTest, PrintsAnglesAndPlainValues) {
    const int kLon = CS_DMS | CS_LONGITUDE;
    const int kLat = CS_DMS | CS_LATITUDE;
    struct Case {
        double value;
        int flags;
        int decimals;
        KqString expected;
    } cases[] = {
        {0.5, kLon, 2, KQ_T("28\u00B038'52.40\"E")},
        {-0.5, kLat, 2, KQ_T("28\u00B038'52.40\"S")},
        {-0.5, CS_DMS, 2, KQ_T("-28\u00B038'52.40\"")},
        {0.5, kLat, 2, KQ_T("28\u00B038'52.40\"N")},
        {-0.5, kLon, 2, KQ_T("28\u00B038'52.40\"W")},
        // One rounding on the total seconds carries through minutes and degrees.
        {Radians(12, 59, 59.999), kLon, 2, KQ_T("13\u00B000'00.00\"E")},
        {Radians(12, 59, 59.4), kLon, 0, KQ_T("12\u00B059'059\"E")},
        {Radians(12, 30, 5), kLon, 0, KQ_T("12\u00B030'005\"E")},
        {Radians(12, 30, 5.123456789), kLat, 8, KQ_T("12\u00B030'05.12345679\"N")},
        // Wrapping: beyond 180 with an axis flag, at 360 and beyond without one.
        {Radians(190), kLon, 2, KQ_T("170\u00B000'00.00\"W")},
        {Radians(190), CS_DMS, 2, KQ_T("190\u00B000'00.00\"")},
        {Radians(180), kLon, 1, KQ_T("180\u00B000'00.0\"E")},
        {Radians(-180), kLon, 1, KQ_T("180\u00B000'00.0\"W")},
        {Radians(540), kLat, 1, KQ_T("180\u00B000'00.0\"S")},
        {Radians(360), CS_DMS, 1, KQ_T("0\u00B000'00.0\"")},
        {Radians(-370), CS_DMS, 1, KQ_T("-10\u00B000'00.0\"")},
        // Without an axis flag the sign stays visible on zero degrees.
        {Radians(-0.5), CS_DMS, 2, KQ_T("-0\u00B030'00.00\"")},
        {-0.0, kLon, 0, KQ_T("0\u00B000'000\"E")},
        // Negative decimals (other than -1): no rounding to decimals, and printf's rules for
        // the seconds' width decimals + 3 and precision decimals (negative: six decimals).
        {Radians(12, 30, 5), kLon, -2, KQ_T("12\u00B030'5.000000\"E")},
        {Radians(12, 30, 5), kLon, -9, KQ_T("12\u00B030'5.000000\"E")},
        // Plain values: "%.*f" with the decimals, a point as separator.
        {1234.5678, 0, 2, KQ_T("1234.57")},
        {-0.004, 0, 2, KQ_T("-0.00")},
        {2.5, 0, 0, KQ_T("2")},
        {1234.5678, 0, -3, KQ_T("1234.567800")},
        {0.5, CS_LONGITUDE | CS_DEGREES, 3, KQ_T("0.500")},
        {INFINITY, 0, 2, KQ_T("inf")},
        {-INFINITY, CS_LATITUDE, 2, KQ_T("-inf")},
        {1e21, 0, 0, KQ_T("1000000000000000000000")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Print(c.value, c.flags, c.decimals), c.expected)
            << c.value << " " << c.flags << " " << c.decimals;
        EXPECT_EQ(m_iLastResult, 1);
    }
}

TEST_F(ValueTextTest, DefaultDecimalsAreTheObjectsPrecision) {
    EXPECT_EQ(Print(1234.5678, 0, -1), KQ_T("1234.57"));
    EXPECT_EQ(Print(0.5, CS_DMS | CS_LONGITUDE, -1), KQ_T("28\u00B038'52.40\"E"));
    m_pSystem->SetPrecision(4);
    EXPECT_EQ(Print(1234.5678, 0, -1), KQ_T("1234.5678"));
    EXPECT_EQ(Print(0.5, CS_DMS | CS_LONGITUDE, -1), KQ_T("28\u00B038'52.4031\"E"));
    m_pSystem->SetPrecision(-1); // "%.*f" with a negative precision: six decimals
    EXPECT_EQ(Print(1234.5678, 0, -1), KQ_T("1234.567800"));
    m_pSystem->SetPrecision(INT_MAX);
    EXPECT_EQ(Print(1.5, CS_DMS, -1), KQ_T(""));
    EXPECT_EQ(m_iLastResult, 0);
}

// Not a number, and an infinite angle (which has no degrees, minutes and seconds), fail and
// leave the text alone.
TEST_F(ValueTextTest, NotANumberLeavesTheTextAlone) {
    const struct {
        double value;
        int flags;
    } cases[] = {{std::nan(""), 0},
                 {-std::nan(""), CS_DMS},
                 {std::nan(""), CS_DMS | CS_LATITUDE},
                 {HUGE_VAL, CS_DMS | CS_LONGITUDE},
                 {-HUGE_VAL, CS_DMS},
                 {1e308, CS_DMS | CS_LATITUDE}};
    for (const auto& c : cases) {
        KQWCHAR text[256] = KQ_T("keep");
        EXPECT_EQ(m_pSystem->Value2String(c.value, text, c.flags, 2), 0) << c.value;
        EXPECT_EQ(KqString(text), KQ_T("keep"));
        EXPECT_EQ(m_pSystem->Value2String(c.value, nullptr, c.flags, 2), 0);
    }
    EXPECT_EQ(m_pSystem->Value2String(0.5, nullptr, CS_DMS, 2), 1);
}

// Results of up to 255 characters are delivered; longer ones are not cut into another
// number: the text is emptied and the result is 0. Nothing is written past 256 characters.
TEST_F(ValueTextTest, ResultsBeyond255CharactersAreRefused) {
    struct Case {
        double value;
        int flags;
        int decimals;
        size_t length; // 0: refused
    } cases[] = {
        {1e252, 0, 1, 255},
        {1e252, 0, 2, 0},
        {-1e252, 0, 1, 0},
        {1e300, 0, 2, 0},
        {DBL_MAX, 0, 0, 0},
        {0.5, 0, 253, 255},
        {0.5, 0, 254, 0},
        {0.5, 0, 100000, 0},
        {0.5, CS_DMS | CS_LONGITUDE, 244, 255},
        {0.5, CS_DMS | CS_LONGITUDE, 245, 0},
        {0.5, CS_DMS, INT_MAX, 0},
        {0.5, CS_DMS, INT_MIN, 0},
        {0.5, 0, INT_MIN, 8},
    };
    for (const Case& c : cases) {
        KQWCHAR text[300];
        for (KQWCHAR& unit : text)
            unit = 'x';
        text[0] = 0;
        const int result = m_pSystem->Value2String(c.value, text, c.flags, c.decimals);
        EXPECT_EQ(result, c.length > 0 ? 1 : 0) << c.value << " " << c.decimals;
        EXPECT_EQ(gx::KqLen(text), c.length) << c.value << " " << c.decimals;
        for (size_t i = 256; i < 300; ++i)
            ASSERT_EQ(text[i], 'x') << "written past the result at " << i;
    }
}

TEST_F(ValueTextTest, ParsesAnglesAndPlainValues) {
    const int kLonDeg = CS_DMS | CS_LONGITUDE | CS_DEGREES;
    const int kLatDeg = CS_DMS | CS_LATITUDE | CS_DEGREES;
    const int kDeg = CS_DMS | CS_DEGREES;
    struct Case {
        KqString text;
        int flags;
        int result;
        double value;
    } cases[] = {
        {KQ_T("28\u00B038'52.40\"E"), kLonDeg, 1, 28 + 38 / 60.0 + 52.4 / 3600},
        {KQ_T("28 38 52.40"), kLonDeg, 1, 28}, // blanks are not separators
        {KQ_T("-12\u00B030'"), kDeg, 1, -12.5},
        {KQ_T("12\u00B030'S"), kLatDeg, 1, -12.5},
        {KQ_T("-12\u00B030'S"), kLatDeg, 1, 12.5}, // minus and S cancel
        {KQ_T("12\u00B030'W"), kLatDeg, 1, -12.5}, // S or W, whatever the axis
        {KQ_T("12s30w"), kDeg, 1, -12.5},          // both negate once; lower case counts
        {KQ_T("12\u00B030'N"), kLatDeg, 1, 12.5},
        {KQ_T("12:30:36"), kDeg, 1, 12.51},
        {KQ_T("12\u00B0 30' 36\""), kDeg, 1, 12.51},
        {KQ_T("190"), kLonDeg, 1, -170},
        {KQ_T("190"), kDeg, 1, 190},
        {KQ_T("360"), kDeg, 1, 0},
        {KQ_T("180"), kLatDeg, 1, 180},
        {KQ_T("180W"), kLonDeg, 1, -180},
        {KQ_T("1e5"), kDeg, 1, 1 + 5 / 60.0}, // E separates
        {KQ_T("12,5"), kDeg, 1, 12},          // a comma is neither separator nor point
        {KQ_T("12.5abc"), kDeg, 1, 12.5},
        // Signs in odd places: only a leading minus is the sign; others belong to a number.
        {KQ_T(" -12\u00B030'"), kDeg, 1, -11.5},
        {KQ_T("12\u00B0-30'"), kDeg, 1, 11.5},
        {KQ_T("+12\u00B030'"), kDeg, 1, 12.5},
        {KQ_T("--12"), kDeg, 1, 12},
        {KQ_T("-12-30"), kDeg, 1, -12}, // one token: "%lf" stops at the second minus
        {KQ_T("-"), kDeg, 0, 0},
        // Empty and blank texts: no token reads as 0 degrees; a blank token reads no number.
        {KQ_T(""), kDeg, 1, 0},
        {KQ_T("NSWE\u00B0"), kDeg, 1, 0},
        {KQ_T("   "), kDeg, 0, 0},
        {KQ_T("12\u00B030' "), kDeg, 0, 0},
        // At most three numbers.
        {KQ_T("1\u00B02'3\"4"), kDeg, 0, 0},
        {KQ_T("1:2:3:"), kDeg, 1, 1 + 2 / 60.0 + 3 / 3600.0},
        {KQ_T("1:2:3:x"), kDeg, 0, 0},
        // Texts that name no number, or numbers beyond the doubles.
        {KQ_T("abc"), kDeg, 0, 0},
        {KQ_T("nan"), kDeg, 0, 0},
        {KQ_T("inf"), kDeg, 0, 0},
        {KQ_T("0x1p9999"), kDeg, 0, 0},
        // Plain values: "%lf" from the start of the text.
        {KQ_T("12.5abc"), 0, 1, 12.5},
        {KQ_T("  7e2"), CS_LONGITUDE, 1, 700},
        {KQ_T("12,5"), 0, 1, 12},
        {KQ_T("abc"), 0, 0, 0},
        {KQ_T(""), 0, 1, 0},
        {KQ_T(" \t "), 0, 1, 0},
        {KQ_T("-"), 0, 0, 0},
        {KQ_T("-1e400"), 0, 1, -HUGE_VAL},
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(m_pSystem->String2Value(c.text.c_str(), value, c.flags), c.result)
            << Narrow(c.text.c_str()) << " " << c.flags;
        if (std::isinf(c.value))
            EXPECT_EQ(value, c.value) << Narrow(c.text.c_str());
        else
            EXPECT_NEAR(value, c.value, 1e-12) << Narrow(c.text.c_str()) << " " << c.flags;
    }
    // Radians unless degrees are asked for.
    double value = -99;
    EXPECT_EQ(m_pSystem->String2Value(KQ_T("28\u00B038'52.40\"E"), value, CS_DMS | CS_LONGITUDE),
              1);
    EXPECT_NEAR(value, 0.5, 0.005 / 3600 * kRadiansPerDegree);
    EXPECT_EQ(m_pSystem->String2Value(nullptr, value, CS_DMS), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(m_pSystem->String2Value(KQ_T("inf"), value, 0), 1); // "%lf" reads it
    EXPECT_EQ(value, HUGE_VAL);
}

TEST_F(ValueTextTest, AngleTextsOf255AndMoreCharacters) {
    // 12°30' followed by separators up to the length.
    auto text = [](size_t n) {
        KqString s = KQ_T("12\u00B030'");
        s.resize(n, ':');
        return s;
    };
    double value = 0;
    EXPECT_EQ(m_pSystem->String2Value(text(255).c_str(), value, CS_DMS | CS_DEGREES), 1);
    EXPECT_EQ(value, 12.5);
    EXPECT_EQ(m_pSystem->String2Value(text(256).c_str(), value, CS_DMS | CS_DEGREES), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(m_pSystem->String2Value(text(5000).c_str(), value, CS_DMS | CS_DEGREES), 0);
    // Plain values have no length limit.
    KqString plain(1000, ' ');
    plain += KQ_T("42");
    EXPECT_EQ(m_pSystem->String2Value(plain.c_str(), value, 0), 1);
    EXPECT_EQ(value, 42);
}

// Print, then parse: the angle comes back to within half a unit of the last decimal of the
// seconds, for every precision from 0 to 8 and every axis.
TEST_F(ValueTextTest, PrintThenParseRoundTrips) {
    for (int flags : {+CS_LONGITUDE, +CS_LATITUDE, 0}) {
        const double limit = flags != 0 ? 180 : 359.9;
        for (int decimals = 0; decimals <= 8; ++decimals) {
            const double tolerance = 0.5 * std::pow(10.0, -decimals) / 3600 + 1e-12;
            for (double degrees = -limit; degrees <= limit; degrees += 0.7310411) {
                KQWCHAR text[256];
                ASSERT_EQ(m_pSystem->Value2String(degrees * kRadiansPerDegree, text, flags | CS_DMS,
                                                  decimals),
                          1);
                double back = 0;
                ASSERT_EQ(m_pSystem->String2Value(text, back, flags | CS_DMS | CS_DEGREES), 1)
                    << Narrow(text);
                EXPECT_NEAR(back, degrees, tolerance) << Narrow(text) << " " << decimals;
            }
        }
    }
}

TEST_F(ValueTextTest, CoordinatePairs) {
    KQWCHAR x[256], y[256];
    // Mode -1 on a plane object: plain numbers with the object's precision.
    EXPECT_EQ(m_pSystem->XY2String(1234.5678, -0.125, x, y, -1), 1);
    EXPECT_EQ(KqString(x), KQ_T("1234.57"));
    EXPECT_EQ(KqString(y), KQ_T("-0.12"));
    // Mode 1: longitude and latitude.
    EXPECT_EQ(m_pSystem->XY2String(0.5, -0.5, x, y, 1), 1);
    EXPECT_EQ(KqString(x), KQ_T("28\u00B038'52.40\"E"));
    EXPECT_EQ(KqString(y), KQ_T("28\u00B038'52.40\"S"));
    m_pSystem->SetUnProjectFlag(1);
    EXPECT_EQ(m_pSystem->XY2String(-0.5, 0.5, x, y, -1), 1);
    EXPECT_EQ(KqString(x), KQ_T("28\u00B038'52.40\"W"));
    EXPECT_EQ(KqString(y), KQ_T("28\u00B038'52.40\"N"));
    double dx = 0, dy = 0;
    EXPECT_EQ(m_pSystem->String2XY(x, y, dx, dy, -1), 1);
    EXPECT_NEAR(dx, -0.5, 1e-7);
    EXPECT_NEAR(dy, 0.5, 1e-7);
    m_pSystem->SetUnProjectFlag(2); // only 1 means geographic
    EXPECT_EQ(m_pSystem->XY2String(0.5, 2, x, y, -1), 1);
    EXPECT_EQ(KqString(x), KQ_T("0.50"));
    // Both halves are always done; the result is their product.
    KQWCHAR keep[256] = KQ_T("keep");
    EXPECT_EQ(m_pSystem->XY2String(NAN, 3.0, keep, y, 0), 0);
    EXPECT_EQ(KqString(keep), KQ_T("keep"));
    EXPECT_EQ(KqString(y), KQ_T("3.00"));
    EXPECT_EQ(m_pSystem->String2XY(KQ_T("abc"), KQ_T("12.5"), dx, dy, 0), 0);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 12.5);
    EXPECT_EQ(m_pSystem->String2XY(KQ_T("10\u00B0W"), KQ_T("1:2:3:4"), dx, dy, 1), 0);
    EXPECT_NEAR(dx, -10 * kRadiansPerDegree, 1e-15);
    EXPECT_EQ(dy, 0);
    EXPECT_EQ(m_pSystem->XY2String(1, 2, nullptr, nullptr, 1), 1);
}

// The live strings decide how angles are written and read.
TEST_F(ValueTextTest, LocalisedStrings) {
    gx::KqCopy(m_pFormat, 64, KQ_T("%.f\u00B0 %02.f' %0*.*f\" %s"));
    gx::KqCopy(m_pTok, 32, KQ_T("NSWE nswe\u00B0'\":"));
    EXPECT_EQ(Print(0.5, CS_DMS | CS_LONGITUDE, 2), KQ_T("28\u00B0 38' 52.40\" E"));
    double value = 0;
    EXPECT_EQ(m_pSystem->String2Value(KQ_T("28\u00B0 38' 52.40\" E"), value,
                                      CS_DMS | CS_LONGITUDE | CS_DEGREES),
              1);
    EXPECT_NEAR(value, 28 + 38 / 60.0 + 52.4 / 3600, 1e-12);
    EXPECT_EQ(m_pSystem->String2Value(KQ_T("28 38 52.40"), value, CS_DMS | CS_DEGREES), 1);
    EXPECT_NEAR(value, 28 + 38 / 60.0 + 52.4 / 3600, 1e-12);
    // An empty delimiter set reads the whole text as one number.
    m_pTok[0] = 0;
    EXPECT_EQ(m_pSystem->String2Value(KQ_T("12:30"), value, CS_DMS | CS_DEGREES), 1);
    EXPECT_EQ(value, 12);
    // A format written into the live buffer that does not take the six values is not used:
    // the built-in one is.
    gx::KqCopy(m_pFormat, 64, KQ_T("%n%s%s%s%s"));
    EXPECT_EQ(Print(0.5, CS_DMS | CS_LONGITUDE, 2), KQ_T("28\u00B038'52.40\"E"));
    m_pFormat[0] = 0;
    EXPECT_EQ(Print(-0.5, CS_DMS | CS_LATITUDE, 1), KQ_T("28\u00B038'52.4\"S"));
}

TEST_F(ValueTextTest, APointWhateverTheHostsLocale) {
    std::string saved;
    if (!UseCommaLocale(LC_ALL, saved)) GTEST_SKIP() << "no locale with a decimal comma";
    EXPECT_EQ(Print(1234.5678, 0, 2), KQ_T("1234.57"));
    EXPECT_EQ(Print(0.5, CS_DMS | CS_LONGITUDE, 2), KQ_T("28\u00B038'52.40\"E"));
    double value = 0;
    EXPECT_EQ(m_pSystem->String2Value(KQ_T("12,5"), value, 0), 1);
    EXPECT_EQ(value, 12);
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
