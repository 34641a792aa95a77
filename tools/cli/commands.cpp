// The commands: list, info, fwd, inv, sheet, distance and area, each a host of the library
// like any other, through its public interface only.
#include "commands.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "convert.h"
#include "geoxform.h"
#include "host_text.h"

namespace cli {

namespace {

struct Usage {
    const char* command;
    const char* synopsis;
    const char* description;
};

const Usage kUsages[] = {
    {"list", "geoxform list [TEXT]",
     "Predefined systems whose name contains TEXT (any case): code, method, unit and name."},
    {"info", "geoxform info CODE",
     "The completed record of a predefined system: method, datum, ellipsoid, prime meridian,\n"
     "every parameter, and its one-line text form."},
    {"fwd", "geoxform fwd CODE [LON LAT]... [--precision N] [--lat-first] [--csv ...]",
     "Longitude and latitude (east of Greenwich; decimal degrees or DMS text such as\n"
     "12:30:15E or 12\u00B030'15\"E) to easting and northing in the system's unit. Without "
     "coordinates, reads\n"
     "lines of \"LON LAT [rest]\" from standard input and writes \"E N [rest]\"."},
    {"inv", "geoxform inv CODE [E N]... [--precision N] [--dms] [--lat-first] [--csv ...]",
     "Easting and northing in the system's unit to longitude and latitude, in decimal\n"
     "degrees or, with --dms, as degrees, minutes and seconds. Streams standard input like fwd."},
    {"sheet", "geoxform sheet CODE --scale N --units NAME [X Y]... [--csv ...]",
     "Sheet millimetres of a map at 1:N to user coordinates in NAME (a unit of the length\n"
     "table, e.g. Meter, Foot, \"US survey foot\"), to longitude and latitude, and back.\n"
     "Without coordinates, reads pairs \"X Y\" from standard input; with --csv, appends the\n"
     "user coordinates only."},
    {"distance", "geoxform distance [--scale N] [--units NAME]",
     "Length of the polyline of sheet points (\"X Y\" in millimetres per line of standard\n"
     "input) in user units."},
    {"area", "geoxform area [--scale N] [--units NAME]",
     "Area of the polygon of sheet points read like distance, in square user units; the\n"
     "region covered under the even-odd rule."},
};

const char* const kStreamOptions =
    "Options of fwd, inv and sheet:\n"
    "  --precision N  decimals of the output: easting and northing 3, degrees 9, DMS seconds 5\n"
    "  --lat-first    the geographic side in EPSG order, latitude first: fwd reads LAT LON,\n"
    "                 inv and sheet write LAT LON; eastings and sheet points stay X Y\n"
    "  --comment C    lines whose first word starts with C (default #) are copied as they are,\n"
    "                 as are blank lines (sheet skips blank lines)\n"
    "  --csv          standard input is comma-separated with a header row; the output is the\n"
    "                 same rows with the converted values in two new columns; quoted fields\n"
    "                 pass through unchanged; a row that cannot be converted keeps its fields,\n"
    "                 gets empty new ones and makes the exit code 1\n"
    "  --x COL, --y COL  input columns by header name (any case) or number from 1; by default\n"
    "                 the first pair of lon/lat, long/lat, longitude/latitude, lng/lat, x/y,\n"
    "                 easting/northing, east/north, e/n, else the first two columns (with\n"
    "                 --lat-first, fwd takes the first as latitude)\n"
    "  --out-x NAME, --out-y NAME  names of the new columns (default easting and northing;\n"
    "                 inv: lon and lat, written lat first with --lat-first)\n"
    "  --replace      the converted values replace the input columns, which take the new names\n"
    "A line longer than 4 MiB is not read: it gives \"*<tab>*\" (with --csv a row of empty\n"
    "fields) and exit code 1; sheet stops with exit code 2.\n\n";

const char* const kCommonOptions =
    "Options of every command:\n"
    "  --data DIR     reference data file KQUCSData.kqb from DIR instead of Support/\n"
    "  --lang LANG    unit names and DMS strings of language LANG from Support/units.ini\n"
    "  --help         this text\n";

// EPSG parameter names, for info.
struct ParameterName {
    int code;
    const char* name;
};
const ParameterName kParameterNames[] = {
    {8801, "Latitude of natural origin"},
    {8802, "Longitude of natural origin"},
    {8805, "Scale factor at natural origin"},
    {8806, "False easting"},
    {8807, "False northing"},
    {8811, "Latitude of projection centre"},
    {8812, "Longitude of projection centre"},
    {8813, "Azimuth of initial line"},
    {8814, "Angle from Rectified to Skew Grid"},
    {8815, "Scale factor on initial line"},
    {8816, "Easting at projection centre"},
    {8817, "Northing at projection centre"},
    {8818, "Latitude of pseudo standard parallel"},
    {8819, "Scale factor on pseudo standard parallel"},
    {8821, "Latitude of false origin"},
    {8822, "Longitude of false origin"},
    {8823, "Latitude of 1st standard parallel"},
    {8824, "Latitude of 2nd standard parallel"},
    {8826, "Easting at false origin"},
    {8827, "Northing at false origin"},
    {8828, "Spherical latitude of origin"},
    {8829, "Spherical longitude of origin"},
    {8830, "Initial longitude"},
    {8831, "Zone width"},
    {8832, "Latitude of standard parallel"},
    {8833, "Longitude of origin"},
};

enum class ValueKind { kAngle, kLength, kScale };

ValueKind KindOf(int code) {
    switch (code) {
    case 8805:
    case 8815:
    case 8819:
        return ValueKind::kScale;
    case 8806:
    case 8807:
    case 8816:
    case 8817:
    case 8826:
    case 8827:
        return ValueKind::kLength;
    default:
        return ValueKind::kAngle;
    }
}

const char* NameOfParameter(int code) {
    for (const ParameterName& p : kParameterNames)
        if (p.code == code) return p.name;
    return "(unknown parameter)";
}

int Fail(const std::string& message, int code = kExitUsage) {
    std::fprintf(stderr, "geoxform: %s\n", message.c_str());
    return code;
}

struct CoordSystemDeleter {
    void operator()(CCoordSystem* p) const { DeleteCoordSystem(p); }
};
using SystemPtr = std::unique_ptr<CCoordSystem, CoordSystemDeleter>;

// The length table row with this EPSG unit code, or -1.
int LengthUnitOfEpsg(int unitCode) {
    for (int i = 0; i < iNumUnitsDefined; ++i)
        if (csKQCSLengthUnits[i].iEPSGCode == unitCode) return i;
    return -1;
}

// A length table row by name (any case) or by row number.
int LengthUnitByName(const std::string& name) {
    int index = -1;
    if (ParseInteger(name, index)) return index >= 0 && index < iNumUnitsDefined ? index : -1;
    for (int i = 0; i < iNumUnitsDefined; ++i)
        if (Lower(ToUtf8(csKQCSLengthUnits[i].szName)) == Lower(name)) return i;
    return -1;
}

// The first row with the code, through a map of the codes built on the first look-up: the
// data is loaded once a run, and list looks up a unit for every system.
template <class T>
const T* RowByCode(const DynamicClassArray<T>* pArray, int code) {
    static std::unordered_map<int, int> rows;
    if (pArray == nullptr) return nullptr;
    if (rows.empty())
        for (int i = pArray->GetCount() - 1; i >= 0; --i)
            rows[(*pArray)[i].iCode] = i;
    const auto it = rows.find(code);
    return it != rows.end() ? &(*pArray)[it->second] : nullptr;
}

std::string UnitName(int unitCode) {
    const EPSGUnits* pRow = RowByCode(pdaEPSGUnits, unitCode);
    return pRow != nullptr ? ToUtf8(pRow->szName) : "unit " + std::to_string(unitCode);
}

const EPSGSystem* SystemRow(int code) {
    return RowByCode(pdaEPSGSystem, code);
}

// The validated record of a predefined system, in the given length unit row.
bool LoadRecord(const std::string& codeText, int units, double scale, KQCRSystem& record,
                std::string& error) {
    int code = 0;
    if (!ParseInteger(codeText, code) || code < 1) {
        error = "'" + codeText + "' is not an EPSG code";
        return false;
    }
    std::memset(&record, 0, sizeof(record));
    record.iVersion = 0x300;
    record.iSize = sizeof(KQCRSystem);
    record.iUnits = units;
    record.dScale = scale;
    record.iSystemCode = code;
    record.iPrecision = 2;
    const int result = ValidateCRSystem(&record);
    if (result == 1) {
        error = "EPSG:" + std::to_string(code) + " is not a predefined system of the data";
        return false;
    }
    if (result != 0) {
        error = "EPSG:" + std::to_string(code) + " cannot be used (validation result " +
                std::to_string(result) + ")";
        return false;
    }
    return true;
}

// The length table row of a system's own unit (metres when the table lacks it).
int SystemUnits(const std::string& codeText) {
    int code = 0;
    const EPSGSystem* pRow = ParseInteger(codeText, code) ? SystemRow(code) : nullptr;
    const int units = pRow != nullptr ? LengthUnitOfEpsg(pRow->iUnitCode) : -1;
    return units >= 0 ? units : 3;
}

SystemPtr MakeSystem(const KQCRSystem& source, std::string& error) {
    KQCRSystem record = source;
    SystemPtr system(CreateCoordSystem(record.iUnits, record.dScale));
    if (!system || system->SetParameters(&record) != 1 || system->HasProjection() != 1) {
        error = "EPSG:" + std::to_string(record.iSystemCode) + " has no projection";
        return nullptr;
    }
    return system;
}

std::string PlainText(CCoordSystem& system, double value, int precision) {
    KQWCHAR text[256];
    if (system.Value2String(value, text, 0, precision) != 1) return "*";
    return ToUtf8(text);
}

int RunConvert(const Options& options, Direction direction) {
    if (options.arguments.empty()) return Fail("which system? give an EPSG code");
    KQCRSystem record;
    std::string error;
    if (!LoadRecord(options.arguments[0], SystemUnits(options.arguments[0]), 1.0, record, error))
        return Fail(error);
    SystemPtr system = MakeSystem(record, error);
    if (!system) return Fail(error);
    PointText points(*system, options, direction);
    return ConvertStream(points, options, direction);
}

int RunList(const Options& options) {
    const std::string text = options.arguments.empty() ? "" : Lower(options.arguments[0]);
    int shown = 0;
    for (int i = 0; i < pdaEPSGSystem->GetCount(); ++i) {
        const EPSGSystem& row = (*pdaEPSGSystem)[i];
        const std::string name = ToUtf8(row.szName);
        if (Lower(name).find(text) == std::string::npos) continue;
        KQCRSystem record;
        std::string error, method = "?";
        if (LoadRecord(std::to_string(row.iCode), 3, 1.0, record, error))
            method = ToUtf8(record.szMethodName);
        std::printf("%-6d  %-32s  %-16s  %s\n", row.iCode, method.c_str(),
                    UnitName(row.iUnitCode).c_str(), name.c_str());
        ++shown;
    }
    if (shown == 0)
        return Fail("no predefined system's name contains '" + text + "'", kExitBadLines);
    return kExitOk;
}

void PrintParameter(int code, double value) {
    switch (KindOf(code)) {
    case ValueKind::kScale:
        std::printf("  %-5d %-42s %.10g\n", code, NameOfParameter(code), value);
        break;
    case ValueKind::kLength:
        std::printf("  %-5d %-42s %.4f m\n", code, NameOfParameter(code), value);
        break;
    case ValueKind::kAngle:
        std::printf("  %-5d %-42s %.10f deg\n", code, NameOfParameter(code), value / kDegree);
        break;
    }
}

int RunInfo(const Options& options) {
    if (options.arguments.size() != 1) return Fail("info takes one EPSG code");
    KQCRSystem r;
    std::string error;
    if (!LoadRecord(options.arguments[0], SystemUnits(options.arguments[0]), 1.0, r, error))
        return Fail(error);
    const EPSGSystem* pRow = SystemRow(r.iSystemCode);
    std::printf("EPSG:%d  %s\n", r.iSystemCode, ToUtf8(r.szSystemName).c_str());
    std::printf("area         %d  %s\n", r.iAuxCode2, ToUtf8(r.szAuxName).c_str());
    std::printf("base system  EPSG:%d\n", r.iAuxCode1);
    std::printf("conversion   EPSG:%d\n", r.iOperationCode);
    std::printf("method       %s (EPSG:%d, projection %d)\n", ToUtf8(r.szMethodName).c_str(),
                r.iMethodCode, r.iProjection);
    std::printf("datum        EPSG:%d  %s\n", r.iDatumCode, ToUtf8(r.szDatumName).c_str());
    std::printf("ellipsoid    EPSG:%d  %s  a = %.4f m  1/f = %.10g  b = %.4f m\n", r.iEllipsoidCode,
                ToUtf8(r.szEllipsoidName).c_str(), r.dSemiMajorAxis, r.dInverseFlattening,
                r.dSemiMinorAxis);
    std::printf("meridian     EPSG:%d  %s  %.10f deg\n", r.iPrimeMeridianCode,
                ToUtf8(r.szPrimeMeridianName).c_str(), r.dPrimeMeridian / kDegree);
    if (pRow != nullptr)
        std::printf("unit         EPSG:%d  %s\n", pRow->iUnitCode,
                    UnitName(pRow->iUnitCode).c_str());
    std::printf("parameters\n");
    for (int k = 0; k < r.iNumParameters && k < 14; ++k)
        PrintParameter(r.aiParameterCodes[k], r.adParameterValues[k]);
    SystemPtr system = MakeSystem(r, error);
    if (system) {
        KQWCHAR text[1024];
        if (system->GetParameters(text) == 1)
            std::printf("text form\n  %s\n", ToUtf8(text).c_str());
    }
    return kExitOk;
}

int UnitsOption(const Options& options) {
    if (options.units.empty()) return 3;
    return LengthUnitByName(options.units);
}

int RunSheet(const Options& options) {
    if (options.arguments.empty()) return Fail("which system? give an EPSG code");
    const int units = UnitsOption(options);
    if (units < 0) return Fail("unknown unit '" + options.units + "'");
    KQCRSystem record;
    std::string error;
    if (!LoadRecord(options.arguments[0], units, options.scale, record, error)) return Fail(error);
    SystemPtr system = MakeSystem(record, error);
    if (!system) return Fail(error);
    PointText points(*system, options, Direction::kSheet);
    return ConvertStream(points, options, Direction::kSheet);
}

int RunMeasure(const Options& options, bool bArea) {
    if (!options.arguments.empty())
        return Fail(options.command + " reads its points from standard input");
    const int units = UnitsOption(options);
    if (units < 0) return Fail("unknown unit '" + options.units + "'");
    SystemPtr system(CreateCoordSystem(units, options.scale));
    if (!system) return Fail("out of memory");
    std::vector<double> points;
    std::string line;
    long long lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') continue;
        double x, y;
        if (words.size() < 2 || !ParseNumber(words[0], x) || !ParseNumber(words[1], y))
            return Fail("line " + std::to_string(lineNumber) + ": '" + line +
                        "' is not a sheet point");
        points.push_back(x);
        points.push_back(y);
    }
    const int n = static_cast<int>(points.size() / 2);
    const double value =
        bArea ? system->Area(n, points.data(), 0) : system->Distance(n, points.data(), 0);
    const int precision = options.precision >= 0 ? options.precision : 3;
    std::printf("%s %s%s\n", PlainText(*system, value, precision).c_str(), bArea ? "square " : "",
                ToUtf8(system->GetUnitsName()).c_str());
    return kExitOk;
}

// Loads the language and the reference data; false when there is no data.
bool StartLibrary(const Options& options, std::string& error) {
    if (!options.language.empty()) InitCoordSystemLanguage(FromUtf8(options.language).c_str());
    const KqString directory = FromUtf8(options.dataDirectory);
    InitEPSGDataBase(options.dataDirectory.empty() ? nullptr : directory.c_str());
    if (pdaEPSGSystem == nullptr || pdaEPSGSystem->GetCount() == 0) {
        error = "no reference data in " + (options.dataDirectory.empty()
                                               ? std::string("Support/ beside the library")
                                               : options.dataDirectory);
        return false;
    }
    return true;
}

} // namespace

void PrintUsage(std::FILE* pOut, const std::string& command) {
    for (const Usage& usage : kUsages) {
        if (command == usage.command) {
            const bool bStreams = command == "fwd" || command == "inv" || command == "sheet";
            std::fprintf(pOut, "usage: %s\n\n%s\n\n%s%s", usage.synopsis, usage.description,
                         bStreams ? kStreamOptions : "", kCommonOptions);
            return;
        }
    }
    std::fprintf(pOut,
                 "geoxform: coordinate reference systems on the shipped EPSG data\n\nCommands:\n");
    for (const Usage& usage : kUsages)
        std::fprintf(pOut, "  %s\n", usage.synopsis);
    std::fprintf(pOut, "\n%s\"geoxform COMMAND --help\" describes a command.\n", kCommonOptions);
}

int RunCommand(const Options& options) {
    bool bKnown = false;
    for (const Usage& usage : kUsages)
        bKnown = bKnown || options.command == usage.command;
    if (!bKnown) {
        if (!options.command.empty())
            std::fprintf(stderr, "geoxform: unknown command '%s'\n\n", options.command.c_str());
        PrintUsage(options.command.empty() && options.help ? stdout : stderr, "");
        return options.command.empty() && options.help ? kExitOk : kExitUsage;
    }
    if (options.help) {
        PrintUsage(stdout, options.command);
        return kExitOk;
    }
    std::string error;
    if (!StartLibrary(options, error)) return Fail(error);
    int result = kExitUsage;
    if (options.command == "list")
        result = RunList(options);
    else if (options.command == "info")
        result = RunInfo(options);
    else if (options.command == "fwd")
        result = RunConvert(options, Direction::kForward);
    else if (options.command == "inv")
        result = RunConvert(options, Direction::kInverse);
    else if (options.command == "sheet")
        result = RunSheet(options);
    else
        result = RunMeasure(options, options.command == "area");
    FreeEPSGDataBase();
    return result;
}

} // namespace cli
