#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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

// The rows with their fields unescaped and their numbers read once, in the C locale, before
// any test changes it: (fields, the value of a print row or of a read row).
const auto kRows = [] {
    std::vector<std::pair<std::vector<std::string>, double>> rows;
    for (auto& row : Rows(
#include "data/refdata/number_text_cases.txt"
             )) {
        for (std::string& field : row)
            field = Bytes(Unescape(field));
        rows.emplace_back(row, std::strtod(row[row[0] == "print" ? 1 : 4].c_str(), nullptr));
    }
    return rows;
}();

std::string Show(bool ok, double value, long consumed) {
    char text[80];
    snprintf(text, sizeof(text), "%s %.17g, end at %ld", ok ? "read" : "none", value, consumed);
    return text;
}

// Every row; and, unless the C locale has been changed, the C library on the same row.
void CheckRows(bool bCLibrary) {
    size_t cap = 0;
    for (const auto& [row, value] : kRows) {
        if (row[0] != "print") continue;
        const char *format = row[2].c_str(), *printed = row[3].c_str();
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
    for (const auto& [row, value] : kRows) {
        if (row[0] != "read") continue;
        const char* text = row[1].c_str();
        const char conversion = row[2][0];
        const bool ok = row[3] == "1";
        const long consumed = std::stol(row[5]);
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
#ifdef _WIN32
        if (std::strcmp(text, "0xg") == 0) continue; // the CRT's strtoll reads nothing, C11 the 0
#endif
        if (!bCLibrary) continue;
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
