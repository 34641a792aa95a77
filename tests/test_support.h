// Small helpers shared by the tests.
#ifndef GEOXFORM_TEST_SUPPORT_H
#define GEOXFORM_TEST_SUPPORT_H

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "geoxform/crsystem.h"
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
    const auto* p = reinterpret_cast<const unsigned char*>(psz);
    return KqString(p, p + std::strlen(psz));
}

// ASCII rendering of UTF-16 text for failure messages; other characters as \uXXXX.
inline std::string Narrow(const KQWCHAR* psz) {
    std::string s;
    for (char buf[8]; *psz != 0; ++psz, s += buf)
        snprintf(buf, sizeof(buf), *psz < 0x80 ? "%c" : "\\u%04X", static_cast<unsigned>(*psz));
    return s;
}

// Switches a locale category to one whose decimal separator is a comma (POSIX and Windows
// names), keeping the previous locale's name in previous; false when the system has none.
inline bool UseCommaLocale(int category, std::string& previous) {
    const char* current = std::setlocale(category, nullptr);
    previous = current != nullptr ? current : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR",
                             "German_Germany.1252", "de-DE"})
        if (std::setlocale(category, name) != nullptr && *std::localeconv()->decimal_point == ',')
            return true;
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
    std::istringstream lines(psz);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line + '|');
        rows.emplace_back();
        for (std::string f; std::getline(fields, f, '|');)
            rows.back().push_back(
                f.erase(0, f.find_first_not_of(' ')).erase(f.find_last_not_of(' ') + 1));
    }
    return rows;
}

// UTF-16 units of a data field with the escapes \n \r \t \0 \\ \xHH \uXXXX and \{count,c}
// (count copies of c, itself plain or escaped).
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
        } else if (c == '{') { // the repeated unit may itself be an escape
            const size_t comma = s.find(',', i), close = s.find('}', comma + 2);
            const KqString unit = Unescape(s.substr(comma + 1, close - comma - 1));
            for (unsigned long n = std::strtoul(s.c_str() + i + 1, nullptr, 10); n > 0; --n)
                out += unit;
            i = close;
        } else {
            out.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? 0 : c);
        }
    }
    return out;
}

// Bytes of UTF-16 units below 256, such as an unescaped data field holding a file's bytes.
inline std::string Bytes(const KqString& s) {
    return std::string(s.begin(), s.end());
}

// Applies edits written as "key=value" words to a record: sys method datum ell units scale ox
// oy n version a b invf pm (numbers), ename (a name), cK=code and vK=value (parameter slot K),
// p=code:value,... (the parameter list); "bng" stands for the British National Grid and "tm"
// for a Transverse Mercator on its own parameters.
inline void Edit(KQCRSystem& r, const std::string& edits) {
    std::istringstream words(edits);
    for (std::string word; words >> word;) {
        if (word == "bng")
            Edit(r, "sys=27700 method=9807 ell=7001 datum=6277 p=8801:0.8552113334772214,8802:"
                    "-0.03490658503988659,8805:0.9996012717,8806:400000,8807:-100000");
        if (word == "tm") Edit(r, "method=9807 p=8801:0.8,8802:0,8805:1,8806:0,8807:0");
        const std::string key = word.substr(0, word.find('=')),
                          value = word.substr(std::min(key.size() + 1, word.size()));
        const double v = std::strtod(value.c_str(), nullptr);
        const int i = static_cast<int>(v), k = std::atoi(key.c_str() + 1);
        int32_t* ints[] = {&r.iSystemCode, &r.iMethodCode,    &r.iDatumCode, &r.iEllipsoidCode,
                           &r.iUnits,      &r.iNumParameters, &r.iVersion};
        double* reals[] = {&r.dScale,         &r.dOffsetX,       &r.dOffsetY,
                           &r.dSemiMajorAxis, &r.dSemiMinorAxis, &r.dInverseFlattening,
                           &r.dPrimeMeridian};
        const std::string intKeys[] = {"sys", "method", "datum", "ell", "units", "n", "version"};
        const std::string realKeys[] = {"scale", "ox", "oy", "a", "b", "invf", "pm"};
        for (int j = 0; j < 7; ++j) {
            if (key == intKeys[j]) *ints[j] = i;
            if (key == realKeys[j]) *reals[j] = v;
        }
        if (key == "ename") {
            for (size_t j = 0; j <= value.size() && j < 100; ++j)
                r.szEllipsoidName[j] = j < value.size() ? static_cast<KQWCHAR>(value[j]) : 0;
        }
        if (key.size() > 1 && key[0] == 'c' && isdigit(key[1])) r.aiParameterCodes[k] = i;
        if (key.size() > 1 && key[0] == 'v' && isdigit(key[1])) r.adParameterValues[k] = v;
        if (key == "p") {
            std::istringstream pairs(value);
            r.iNumParameters = 0;
            for (std::string pair; std::getline(pairs, pair, ',') && r.iNumParameters < 14;
                 ++r.iNumParameters) {
                r.aiParameterCodes[r.iNumParameters] = std::atoi(pair.c_str());
                r.adParameterValues[r.iNumParameters] =
                    std::strtod(pair.c_str() + pair.find(':') + 1, nullptr);
            }
        }
    }
}

#endif
