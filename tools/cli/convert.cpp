#include "convert.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "commands.h"
#include "csv.h"
#include "host_text.h"
#include "progress.h"
#include "stream.h"

namespace cli {

namespace {


int Fail(const std::string& message) {
    std::fprintf(stderr, "geoxform: %s\n", message.c_str());
    return kExitUsage;
}

void ReportBadLine(long long lineNumber, std::string_view line) {
    std::fprintf(stderr, "geoxform: line %lld: '%.*s' is not a point\n", lineNumber,
                 static_cast<int>(line.size()), line.data());
}

void ReportOverlong(long long lineNumber) {
    std::fprintf(stderr, "geoxform: line %lld: longer than %lu bytes, not read\n", lineNumber,
                 static_cast<unsigned long>(LineReader::kMaxLine));
}

bool StartsWith(std::string_view text, const std::string& prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Lines of words: "A B [rest]" to "X<tab>Y<tab>rest"; blank and comment lines as they are.
int StreamLines(PointText& points, const Options& options, Direction direction) {
    OutBuffer out(stdout);
    LineReader in(0, &out);
    Progress progress;
    std::vector<std::string_view> words;
    std::string x, y;
    std::string_view line;
    bool bOverlong = false;
    long long bad = 0;
    while (in.Next(line, bOverlong)) {
        if (bOverlong) {
            ++bad;
            ReportOverlong(in.LineNumber());
            out.Append("*\t*\n");
            continue;
        }
        SplitWords(line, words);
        if (words.empty() || StartsWith(words[0], options.comment)) {
            out.Append(line);
            out.Append('\n');
            continue;
        }
        bool bPoint = words.size() >= 2;
        if (bPoint) {
            const bool bSwap = options.latFirst && direction == Direction::kForward;
            bPoint = points.Convert(words[bSwap ? 1 : 0], words[bSwap ? 0 : 1], x, y);
        }
        if (!bPoint) {
            ++bad;
            ReportBadLine(in.LineNumber(), line);
            x = y = "*";
        } else if (options.latFirst && direction == Direction::kInverse) {
            std::swap(x, y);
        }
        out.Append(x);
        out.Append('\t');
        out.Append(y);
        for (size_t i = 2; i < words.size(); ++i) {
            out.Append('\t');
            out.Append(words[i]);
        }
        out.Append('\n');
        progress.Count(1);
    }
    progress.Finish();
    return bad > 0 ? kExitBadLines : kExitOk;
}

// Sheet points: pairs of words, which may span lines; the first word that is not a number
// ends the stream.
int StreamSheet(PointText& points, const Options& options) {
    OutBuffer out(stdout);
    LineReader in(0, &out);
    std::vector<std::string_view> words;
    std::string pending, text;
    bool bPending = false;
    std::string_view line;
    bool bOverlong = false;
    while (in.Next(line, bOverlong)) {
        if (bOverlong) {
            ReportOverlong(in.LineNumber());
            return kExitUsage;
        }
        SplitWords(line, words);
        if (!words.empty() && StartsWith(words[0], options.comment)) {
            out.Append(line);
            out.Append('\n');
            continue;
        }
        for (const std::string_view word : words) {
            if (!bPending) {
                pending.assign(word.data(), word.size());
                bPending = true;
                continue;
            }
            bPending = false;
            if (!points.SheetLine(pending, word, text)) {
                out.Flush();
                return Fail("'" + pending + " " + std::string(word) + "' is not a sheet point");
            }
            out.Append(text);
        }
    }
    out.Flush();
    return bPending ? Fail("sheet points come in pairs") : kExitOk;
}

// The input columns by --x and --y, else by the first pair of usual names in the header, else
// the first two columns.
bool PickColumns(const std::vector<std::string_view>& header, const Options& options,
                 Direction direction, size_t& xColumn, size_t& yColumn, std::string& error) {
    std::vector<std::string> names;
    std::string scratch;
    for (const std::string_view field : header)
        names.push_back(Lower(std::string(CsvValue(field, scratch))));
    const auto find = [&names](const std::string& wanted, size_t& column) {
        int number = 0;
        if (ParseInteger(wanted, number)) {
            column = static_cast<size_t>(number > 0 ? number - 1 : names.size());
            return column < names.size();
        }
        for (column = 0; column < names.size(); ++column)
            if (names[column] == Lower(wanted)) return true;
        return false;
    };
    static const char* const kPairs[][2] = {
        {"lon", "lat"}, {"long", "lat"},         {"longitude", "latitude"}, {"lng", "lat"},
        {"x", "y"},     {"easting", "northing"}, {"east", "north"},         {"e", "n"},
    };
    xColumn = options.latFirst && direction == Direction::kForward ? 1 : 0;
    yColumn = 1 - xColumn;
    for (const auto& pair : kPairs) {
        size_t x = 0, y = 0;
        if (find(pair[0], x) && find(pair[1], y)) {
            xColumn = x;
            yColumn = y;
            break;
        }
    }
    for (const auto& column :
         {std::make_pair(&options.xColumn, &xColumn), std::make_pair(&options.yColumn, &yColumn)}) {
        if (!column.first->empty() && !find(*column.first, *column.second)) {
            error = "no column '" + *column.first + "' in the CSV header";
            return false;
        }
    }
    if (xColumn >= names.size() || yColumn >= names.size() || xColumn == yColumn) {
        error = "the CSV header has no two columns to read (--x and --y pick them)";
        return false;
    }
    return true;
}

// CSV rows: the header and every row with two more fields, or with the input ones replaced.
int StreamCsv(PointText& points, const Options& options, Direction direction) {
    OutBuffer out(stdout);
    LineReader in(0, &out);
    Progress progress;
    std::vector<std::string_view> fields;
    std::string scratchX, scratchY, x, y, row;
    std::string_view line;
    bool bOverlong = false, bHeader = false;
    size_t xColumn = 0, yColumn = 0, nColumns = 0;
    long long bad = 0;
    // Appends the row with its two new values (inv --lat-first: latitude first).
    const auto write = [&](std::string_view text, std::string_view lineEnd) {
        const bool bSwap = options.latFirst && direction == Direction::kInverse;
        row.clear();
        if (options.replace) {
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i > 0) row += ',';
                if (i == xColumn || i == yColumn)
                    AppendCsvField(row, i == xColumn ? x : y);
                else
                    row.append(fields[i].data(), fields[i].size());
            }
        } else {
            row.append(text.data(), text.size());
            row += ',';
            AppendCsvField(row, bSwap ? y : x);
            row += ',';
            AppendCsvField(row, bSwap ? x : y);
        }
        row.append(lineEnd.data(), lineEnd.size());
        out.Append(row);
    };
    while (in.Next(line, bOverlong)) {
        if (bOverlong) {
            ReportOverlong(in.LineNumber());
            if (!bHeader) return kExitUsage;
            ++bad; // a row of empty fields keeps the columns in step
            out.Append(std::string(options.replace ? nColumns - 1 : nColumns + 1, ',') + "\n");
            continue;
        }
        std::string_view lineEnd = "\n";
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            lineEnd = "\r\n";
        }
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || StartsWith(line.substr(first), options.comment)) {
            out.Append(line);
            out.Append(lineEnd);
            continue;
        }
        SplitCsv(line, fields);
        if (!bHeader) {
            std::string error;
            if (!PickColumns(fields, options, direction, xColumn, yColumn, error)) {
                out.Flush();
                return Fail(error);
            }
            bHeader = true;
            nColumns = fields.size();
            const bool bInverse = direction == Direction::kInverse;
            x = !options.outX.empty() ? options.outX : bInverse ? "lon" : "easting";
            y = !options.outY.empty() ? options.outY : bInverse ? "lat" : "northing";
            write(line, lineEnd);
            continue;
        }
        const bool bPoint = xColumn < fields.size() && yColumn < fields.size() &&
                            points.Convert(CsvValue(fields[xColumn], scratchX),
                                           CsvValue(fields[yColumn], scratchY), x, y);
        if (!bPoint) {
            ++bad;
            ReportBadLine(in.LineNumber(), line);
            x.clear();
            y.clear();
        }
        write(line, lineEnd);
        progress.Count(1);
    }
    progress.Finish();
    return bad > 0 ? kExitBadLines : kExitOk;
}

} // namespace

PointText::PointText(CCoordSystem& system, const Options& options, Direction direction)
    : m_system(system), m_options(options), m_direction(direction),
      m_unit(ToUtf8(system.GetUnitsName())) {
    KQWCHAR *pszFormat = nullptr, *pszDelimiters = nullptr, *pszNS = nullptr, *pszWE = nullptr;
    GetDmsStrings(pszFormat, pszDelimiters, pszNS, pszWE);
    m_bPlainAngles = true;
    for (const KQWCHAR* p = pszDelimiters; p != nullptr && *p != 0; ++p)
        if ((*p >= '0' && *p <= '9') || *p == '.' || *p == '-') m_bPlainAngles = false;
}

bool PointText::ReadAngle(std::string_view word, int axis, double& radians) {
    double degrees = 0;
    if (m_bPlainAngles && ReadPlainDecimal(word, degrees)) {
        // As the library's reader does: beyond 180 degrees, brought into (-180, 180].
        if (std::fabs(degrees) > 180) degrees -= 360 * std::floor(degrees / 360 + 0.5);
        radians = degrees * kDegree;
        return true;
    }
    if (word.find('\0') != std::string_view::npos) return false;
    m_word.assign(word.data(), word.size());
    return m_system.String2Value(FromUtf8(m_word).c_str(), radians, CS_DMS | axis) == 1;
}

bool PointText::ReadNumber(std::string_view word, double& value) {
    if (ReadPlainDecimal(word, value)) return true;
    m_word.assign(word.data(), word.size());
    return ParseNumber(m_word, value);
}

void PointText::Plain(double value, std::string& text) {
    const int precision = m_options.precision >= 0 ? m_options.precision : 3;
    if (std::isfinite(value)) {
        if (!WriteFixed(value, precision, text)) text = "*"; // more than the 255 characters
        return;
    }
    KQWCHAR wide[256];
    text = m_system.Value2String(value, wide, 0, precision) == 1 ? ToUtf8(wide) : "*";
}

void PointText::Angle(double radians, int axis, std::string& text) {
    if (!std::isfinite(radians)) {
        text = "*";
    } else if (!m_options.dms) {
        WriteFixed(radians / kDegree, m_options.precision >= 0 ? m_options.precision : 9, text,
                   400);
        if (text.size() > 63) text.resize(63); // as the 64-byte "%.*f" buffer it replaces
    } else {
        KQWCHAR wide[256];
        wide[0] = 0;
        m_system.Value2String(radians, wide, CS_DMS | axis,
                              m_options.precision >= 0 ? m_options.precision : 5);
        text = ToUtf8(wide);
    }
}

bool PointText::Convert(std::string_view a, std::string_view b, std::string& x, std::string& y) {
    double u = 0, v = 0, wx = 0, wy = 0, p = 0, q = 0;
    switch (m_direction) {
    case Direction::kForward:
        if (!ReadAngle(a, CS_LONGITUDE, u) || !ReadAngle(b, CS_LATITUDE, v)) return false;
        m_system.User2World(u, v, wx, wy, 1);
        m_system.World2User(wx, wy, p, q, 0);
        if (!std::isfinite(p) || !std::isfinite(q)) return false;
        Plain(p, x);
        Plain(q, y);
        return true;
    case Direction::kInverse:
        if (!ReadNumber(a, u) || !ReadNumber(b, v)) return false;
        m_system.User2World(u, v, wx, wy, 0);
        m_system.World2User(wx, wy, p, q, 1);
        if (!std::isfinite(p) || !std::isfinite(q)) return false;
        Angle(p, CS_LONGITUDE, x);
        Angle(q, CS_LATITUDE, y);
        return true;
    case Direction::kSheet:
        if (!ReadNumber(a, wx) || !ReadNumber(b, wy)) return false;
        m_system.World2User(wx, wy, p, q, 0);
        if (!std::isfinite(p) || !std::isfinite(q)) return false;
        Plain(p, x);
        Plain(q, y);
        return true;
    }
    return false;
}

bool PointText::SheetLine(std::string_view a, std::string_view b, std::string& line) {
    double wx = 0, wy = 0;
    if (!ReadNumber(a, wx) || !ReadNumber(b, wy)) return false;
    double x, y, lon, lat, bx, by;
    m_system.World2User(wx, wy, x, y, 0);
    m_system.World2User(wx, wy, lon, lat, 1);
    m_system.User2World(lon, lat, bx, by, 1);
    std::string* const t = m_text;
    const double sheet[4] = {wx, wy, bx, by};
    for (int i = 0; i < 4; ++i) { // as "%.3f" and "%.6f" in a 64-byte buffer
        WriteFixed(sheet[i], i < 2 ? 3 : 6, t[i], 400);
        if (t[i].size() > 63) t[i].resize(63);
    }
    Plain(x, t[4]);
    Plain(y, t[5]);
    const bool bLatFirst = m_options.latFirst;
    line = "sheet " + t[0] + " " + t[1] + " mm  ->  " + t[4] + " " + t[5] + " " + m_unit + "  ->  ";
    Angle(bLatFirst ? lat : lon, bLatFirst ? CS_LATITUDE : CS_LONGITUDE, t[4]);
    Angle(bLatFirst ? lon : lat, bLatFirst ? CS_LONGITUDE : CS_LATITUDE, t[5]);
    line += t[4] + " " + t[5] + "  ->  sheet " + t[2] + " " + t[3] + " mm\n";
    return true;
}

int ConvertStream(PointText& points, const Options& options, Direction direction) {
    const std::vector<std::string>& args = options.arguments;
    const bool bSheet = direction == Direction::kSheet;
    if (args.size() <= 1) {
        if (options.csv) return StreamCsv(points, options, direction);
        return bSheet ? StreamSheet(points, options) : StreamLines(points, options, direction);
    }
    if (args.size() % 2 == 0)
        return Fail(bSheet ? "sheet points come in pairs" : "coordinates come in pairs");
    OutBuffer out(stdout);
    std::string x, y;
    for (size_t i = 1; i + 1 < args.size(); i += 2) {
        const bool bSwap = options.latFirst && direction == Direction::kForward;
        const bool bPoint =
            bSheet ? points.SheetLine(args[i], args[i + 1], x)
                   : points.Convert(args[i + (bSwap ? 1 : 0)], args[i + (bSwap ? 0 : 1)], x, y);
        if (!bPoint) {
            out.Flush();
            return Fail("'" + args[i] + " " + args[i + 1] + "' is not a " +
                        (bSheet ? "sheet point" : "point"));
        }
        if (!bSheet && options.latFirst && direction == Direction::kInverse) std::swap(x, y);
        out.Append(bSheet ? x : x + "\t" + y + "\n");
    }
    return kExitOk;
}

} // namespace cli
