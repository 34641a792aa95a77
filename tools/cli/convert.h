// Points in text through a system: the conversions of fwd, inv and sheet, and the streams of
// lines or comma-separated rows they read.
#ifndef GEOXFORM_CLI_CONVERT_H
#define GEOXFORM_CLI_CONVERT_H

#include <string>
#include <string_view>

#include "geoxform.h"
#include "options.h"

namespace cli {

const double kDegree = 0.017453292519943295; // radians per degree

enum class Direction { kForward, kInverse, kSheet };

// Plain decimal numbers are read and written here, with the same results as the library's
// readers and printf; other words (degrees, minutes and seconds, hemisphere letters, numbers
// with exponents) go through the library's readers, and --dms text through its writer.
class PointText {
public:
    PointText(CCoordSystem& system, const Options& options, Direction direction);
    // fwd: longitude and latitude to easting and northing; inv: back, longitude first; sheet:
    // sheet millimetres to user units. False when the words are not a point.
    bool Convert(std::string_view a, std::string_view b, std::string& x, std::string& y);
    // The sheet's sentence for a point: user units, longitude and latitude, and back.
    bool SheetLine(std::string_view a, std::string_view b, std::string& line);

private:
    bool ReadAngle(std::string_view word, int axis, double& radians);
    bool ReadNumber(std::string_view word, double& value);
    void Plain(double value, std::string& text);
    void Angle(double radians, int axis, std::string& text);

    CCoordSystem& m_system;
    const Options& m_options;
    Direction m_direction;
    bool m_bPlainAngles; // no digit, point or minus sign among the DMS delimiters
    std::string m_unit, m_word, m_text[6];
};

// Converts the arguments after the code or, without any, standard input (lines of words or,
// with --csv, rows); returns the exit code.
int ConvertStream(PointText& points, const Options& options, Direction direction);

} // namespace cli

#endif
