// Small helpers shared by the tests.
#ifndef GEOXFORM_TEST_SUPPORT_H
#define GEOXFORM_TEST_SUPPORT_H

#include <clocale>
#include <string>

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

#endif
