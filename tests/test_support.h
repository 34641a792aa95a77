// Small helpers shared by the tests.
#ifndef GEOXFORM_TEST_SUPPORT_H
#define GEOXFORM_TEST_SUPPORT_H

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "geoxform/defs.h"
#include "geoxform/refdata.h"

using KqString = std::basic_string<KQWCHAR>;

// The angle constants and the WGS 84 ellipsoid every test uses, written out here rather than
// taken from the library, so that a fault in the library's own constants shows.
namespace testconst {
constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;
constexpr double kWgs84A = 6378137.0;
constexpr double kWgs84InvF = 298.257223563;
} // namespace testconst

// UTF-16 text of an ASCII string.
inline KqString Kq(const char* psz) {
    KqString s;
    for (; *psz != 0; ++psz)
        s.push_back(static_cast<KQWCHAR>(static_cast<unsigned char>(*psz)));
    return s;
}

// ASCII rendering of UTF-16 text for failure messages; other characters as \uXXXX.
inline std::string Narrow(const KQWCHAR* psz) {
    std::string s;
    for (; *psz != 0; ++psz) {
        if (*psz < 0x80) {
            s.push_back(static_cast<char>(*psz));
        } else {
            char buf[8];
            snprintf(buf, sizeof(buf), "\\u%04X", static_cast<unsigned>(*psz));
            s += buf;
        }
    }
    return s;
}

// Switches a locale category to one whose decimal separator is a comma (POSIX and Windows
// names), keeping the previous locale's name in previous; false when the system has none.
inline bool UseCommaLocale(int category, std::string& previous) {
    const char* current = std::setlocale(category, nullptr);
    previous = current != nullptr ? current : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR",
                             "German_Germany.1252", "de-DE"}) {
        if (std::setlocale(category, name) != nullptr && *std::localeconv()->decimal_point == ',')
            return true;
    }
    std::setlocale(category, previous.c_str());
    return false;
}

// Creates the reference arrays and the per-thread table without loading any data file, so
// that a test fills the arrays with exactly the rows it needs.
inline void InitEmptyDatabase() {
    InitEPSGDataBase(KQ_T("/nonexistent-geoxform-directory"));
}

// Rows of a table kept in a data file under tests/data (included as a raw string): one row a
// line, fields split at '|' and trimmed; blank lines and lines starting with '#' are skipped.
inline std::vector<std::vector<std::string>> Rows(const char* psz) {
    std::vector<std::vector<std::string>> rows;
    auto trim = [](std::string f) {
        f.erase(0, f.find_first_not_of(' '));
        return f.erase(f.find_last_not_of(' ') + 1);
    };
    for (std::string line; *psz != 0; line.clear()) {
        for (; *psz != 0 && *psz != '\n'; ++psz)
            line += *psz;
        psz += *psz != 0;
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back();
        for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
            rows.back().push_back(trim(line.substr(start, (end = line.find('|', start)) - start)));
    }
    return rows;
}

// UTF-16 units of a data field with the escapes \n \r \t \0 \\ \xHH \uXXXX and \{count,c}
// (count copies of c).
inline KqString Unescape(const std::string& s) {
    KqString out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out.push_back(static_cast<unsigned char>(s[i]));
            continue;
        }
        const char c = s[++i];
        if (c == 'x' || c == 'u') {
            const size_t n = c == 'x' ? 2 : 4;
            out.push_back(
                static_cast<KQWCHAR>(std::strtoul(s.substr(i + 1, n).c_str(), nullptr, 16)));
            i += n;
        } else if (c == '{') {
            const size_t comma = s.find(',', i);
            out.append(std::strtoul(s.c_str() + i + 1, nullptr, 10), s[comma + 1]);
            i = comma + 2;
        } else {
            out.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? 0 : c);
        }
    }
    return out;
}

#endif
