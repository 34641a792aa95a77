// Angles and values as text, and the degree-minute-second formatter against printf.
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "geoxform/units.h"
#include "platform/wide_string.h"
#include "refdata/dms_format.h"
#include "test_support.h"

namespace {

using testconst::kDegree;

int Flags(const std::string& letters) { // D: DMS, L: longitude, A: latitude, G: degrees
    const int bits[] = {CS_DMS, CS_LONGITUDE, CS_LATITUDE, CS_DEGREES};
    int flags = 0;
    for (char c : letters)
        if (const size_t k = std::string("DLAG").find(c); k != std::string::npos) flags |= bits[k];
    return flags;
}
double Value(const std::string& field) {
    double d = 0, m = 0, s = 0;
    if (std::sscanf(field.c_str(), "r:%lf,%lf,%lf", &d, &m, &s) == 3)
        return (d + m / 60 + s / 3600) * kDegree;
    return std::strtod(field.c_str(), nullptr);
}

// A metre object with the built-in DMS strings, which it puts back when a test changed them.
class ValueText : public ::testing::Test {
protected:
    void SetUp() override {
        m_pSystem = CreateCoordSystem(3, 1.0);
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
    KqString Print(double v, int flags, int decimals, int expectedResult = 1) {
        KQWCHAR text[256] = {0};
        EXPECT_EQ(m_pSystem->Value2String(v, text, flags, decimals), expectedResult);
        return text;
    }
    double Parse(const KqString& text, int flags, int expectedResult = 1) {
        double value = -99;
        EXPECT_EQ(m_pSystem->String2Value(text.c_str(), value, flags), expectedResult)
            << Narrow(text.c_str());
        return value;
    }
    CCoordSystem* m_pSystem = nullptr;
    KQWCHAR* m_pFormat = nullptr;
    KQWCHAR* m_pTok = nullptr;
    KqString m_savedFormat, m_savedTok;
};

TEST_F(ValueText, PrintAndParse) {
    for (auto row : Rows(
#include "data/refdata/value_text_cases.txt"
             )) {
        row.resize(5); // the precision, format and tokens rows have two fields
        const std::string what = row[0] + " " + row[1] + " " + row[2];
        const int flags = Flags(row[2]);
        if (row[0] == "print") {
            EXPECT_EQ(Print(Value(row[1]), flags, std::stoi(row[3])), Unescape(row[4])) << what;
        } else if (row[0] == "length" || row[0] == "fail") {
            KQWCHAR text[300];
            std::fill(std::begin(text), std::end(text), 'x');
            text[0] = 0;
            const bool fail = row[0] == "fail";
            const size_t length = fail ? 0 : std::stoul(row[4]);
            const int decimals = fail ? 2 : std::stoi(row[3]);
            EXPECT_EQ(m_pSystem->Value2String(Value(row[1]), text, flags, decimals), length > 0)
                << what;
            EXPECT_EQ(gx::KqLen(text), length) << what;
            for (size_t i = length + 1; i < 300; ++i)
                ASSERT_EQ(text[i], 'x') << what << ": written past the result at " << i;
            if (fail) {
                EXPECT_EQ(m_pSystem->Value2String(Value(row[1]), nullptr, flags, 2), 0);
            }
        } else if (row[0] == "pair") {
            int flag = 0, mode = 0;
            std::istringstream(row[1]) >> flag >> mode;
            m_pSystem->SetUnProjectFlag(flag);
            const double x = Value(row[2]), y = Value(row[2].substr(row[2].find(' ')));
            KQWCHAR textX[256] = {'k', 'e', 'e', 'p'}, textY[256] = {};
            EXPECT_EQ(m_pSystem->XY2String(x, y, textX, textY, mode), !std::isnan(x)) << what;
            EXPECT_EQ(KqString(textX) + KQ_T("|") + textY, Unescape(row[3] + "|" + row[4])) << what;
            double dx = 0, dy = 0;
            EXPECT_TRUE(std::isnan(x) || m_pSystem->String2XY(textX, textY, dx, dy, mode) == 1);
            EXPECT_TRUE(std::isnan(x) || std::hypot(dx - x, dy - y) < 1e-2) << what;
        } else if (row[0] == "precision") {
            m_pSystem->SetPrecision(std::stoi(row[1]));
        } else if (row[0] == "format" || row[0] == "tokens") {
            const bool format = row[0] == "format";
            gx::KqCopy(format ? m_pFormat : m_pTok, format ? 64 : 32, Unescape(row[1]).c_str());
        } else {
            const double value = Parse(Unescape(row[1]), flags, std::stoi(row[3]));
            const double expected = Value(row[4]); // exact when infinite
            EXPECT_LE(value == expected ? 0 : std::fabs(value - expected), 1e-12) << what;
        }
    }
    EXPECT_EQ(m_pSystem->Value2String(0.5, nullptr, CS_DMS, 2), 1);
    EXPECT_EQ(Parse(KqString(), CS_DMS, 1), 0);
    double value = 5;
    EXPECT_EQ(m_pSystem->String2Value(nullptr, value, CS_DMS), 0);
    EXPECT_EQ(value, 0);
}

// Print, then parse: the angle comes back to within half a unit of the last decimal of the
// seconds, for every precision from 0 to 8 and every axis.
TEST_F(ValueText, PrintThenParseRoundTrips) {
    for (int flags : {+CS_LONGITUDE, +CS_LATITUDE, 0}) {
        const double limit = flags != 0 ? 180 : 359.9;
        for (int decimals = 0; decimals <= 8; ++decimals) {
            const double tolerance = 0.5 * std::pow(10.0, -decimals) / 3600 + 1e-12;
            for (double degrees = -limit; degrees <= limit; degrees += 0.7310411) {
                const KqString text = Print(degrees * kDegree, flags | CS_DMS, decimals);
                EXPECT_NEAR(Parse(text, flags | CS_DMS | CS_DEGREES), degrees, tolerance)
                    << Narrow(text.c_str()) << " " << decimals;
            }
        }
    }
}

// Both halves of a pair are always read; the result is their product.
TEST_F(ValueText, CoordinatePairHalves) {
    double dx = 0, dy = 0;
    EXPECT_EQ(m_pSystem->String2XY(KQ_T("abc"), KQ_T("12.5"), dx, dy, 0), 0);
    EXPECT_EQ(dx * 100 + dy, 12.5);
    EXPECT_EQ(m_pSystem->String2XY(KQ_T("10\u00B0W"), KQ_T("1:2:3:4"), dx, dy, 1), 0);
    EXPECT_NEAR(std::fabs(dx + 10 * kDegree) + std::fabs(dy), 0, 1e-15);
    EXPECT_EQ(m_pSystem->XY2String(1, 2, nullptr, nullptr, 1), 1);
}

TEST_F(ValueText, APointWhateverTheHostsLocale) {
    std::string saved;
    if (!UseCommaLocale(LC_ALL, saved)) GTEST_SKIP() << "no locale with a decimal comma";
    EXPECT_EQ(Print(1234.5678, 0, 2), KQ_T("1234.57"));
    EXPECT_EQ(Print(0.5, CS_DMS | CS_LONGITUDE, 2), KQ_T("28\u00B038'52.40\"E"));
    EXPECT_EQ(Parse(KQ_T("12,5"), 0), 12);
    std::setlocale(LC_ALL, saved.c_str());
}

// Formats are valid when they take exactly the six values in order; the formatter writes what
// printf writes for the same format and values, cut to the buffer but counting everything.
TEST(DmsFormat, AcceptsTheSixValuesInOrderAndMatchesPrintf) {
    std::vector<std::pair<gx::DmsValues, std::string>> values; // with their hemispheres
    for (const auto& row : Rows(
#include "data/refdata/dms_formats.txt"
             )) {
        char* p = const_cast<char*>(row[1].c_str());
        if (row[0] == "values") {
            values.push_back(
                {{std::strtod(p, &p), std::strtod(p, &p), static_cast<int>(std::strtol(p, &p, 10)),
                  static_cast<int>(std::strtol(p, &p, 10)), std::strtod(p, &p)},
                 row[2]});
            continue;
        }
        EXPECT_EQ(gx::IsValidDmsFormat(Unescape(row[1]).c_str()), row[0] != "invalid") << row[1];
        if (row[0] != "printf") continue;
        for (auto [v, hemisphereText] : values) {
            const char* format = row[1].c_str();
            const KqString hemisphere = Kq(hemisphereText.c_str());
            v.pszHemisphere = hemisphere.c_str();
            char expected[512];
            std::snprintf(expected, sizeof(expected), format, v.dDegrees, v.dMinutes,
                          v.iSecondsWidth, v.iSecondsPrecision, v.dSeconds, hemisphereText.c_str());
            for (size_t cap : {size_t{512}, size_t{9}, size_t{1}}) {
                KQWCHAR out[512] = {'x', 'y'};
                size_t n = 0;
                ASSERT_TRUE(gx::FormatDms(Kq(format).c_str(), v, out, cap, n)) << format;
                EXPECT_EQ(KqString(out), Kq(expected).substr(0, cap - 1))
                    << format << " " << v.dDegrees;
                EXPECT_EQ(n, std::strlen(expected));
            }
        }
    }
    // Widths at the limits of int neither overflow nor write past the buffer.
    KQWCHAR out[16];
    size_t n = 0;
    for (int width : {INT_MAX, INT_MIN, INT_MIN + 1}) {
        const gx::DmsValues v = {28, 38, width, 2, 52.4, nullptr};
        ASSERT_TRUE(gx::FormatDms(KQ_T("%.f %.f %0*.*f %s"), v, out, 16, n));
        EXPECT_GT(n, 1000000u);
        EXPECT_LE(KqString(out).size(), 15u);
    }
    out[0] = 'x'; // a refused format leaves an empty text
    EXPECT_FALSE(gx::FormatDms(KQ_T("%n"), values[0].first, out, 16, n));
    EXPECT_EQ(KqString(out) + Kq(std::to_string(n).c_str()), KQ_T("0"));
    EXPECT_FALSE(gx::IsValidDmsFormat(nullptr));
}

} // namespace
