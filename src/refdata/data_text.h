// The text of the reference data file: its lines, section headers and the fields of one
// record line.
#ifndef GEOXFORM_DATA_TEXT_H
#define GEOXFORM_DATA_TEXT_H

#include <cstddef>
#include <cstdint>

namespace gx {

// The most characters a text field takes from a line, as "%255[^,]" takes them: a longer
// field is cut there, and as no comma follows the cut, the matching of the line ends with it.
const size_t kMaxTextField = 255;

enum DataSection {
    kSectionNone,    // before the first header: lines are ignored
    kSectionUnknown, // a header that names no known section: lines are ignored
    kSectionMeasure,
    kSectionData,
    kSectionDatum,
    kSectionPrimeMeridian,
    kSectionEllipsoid,
    kSectionParameters,
    kSectionEnd // "[EOF]": nothing after it is read
};

// The section a header line starts: the whole line compared without regard to case.
DataSection SectionOfHeader(const char* pLine);

// Splits a NUL-terminated text in place into its lines: the non-empty runs between CR and LF
// characters. Each line is NUL-terminated where its line break stood, and its leading blanks
// and tabs are skipped. A NUL inside the text ends the text, as for any C string.
class LineSplitter {
public:
    explicit LineSplitter(char* pText) : m_p(pText) {}
    // The next line, or null at the end of the text.
    char* Next();

private:
    char* m_p;
};

// A text field of a record line: its first character and its length, not NUL-terminated.
struct TextField {
    const char* p = nullptr;
    size_t n = 0;
};

// Reads the fields of one record line in order with the C library's scanf conventions for a
// format of "%i", "%lf" and "%255[^,]" conversions separated by commas: numbers skip leading
// white space, a comma of the format must stand in the line, and the first field that does not
// match ends the matching, so that every later read fails too and leaves its target alone.
class FieldReader {
public:
    explicit FieldReader(const char* pLine) : m_p(pLine) {}
    bool Int(int32_t& iValue);
    bool Double(double& dValue);
    // One or more characters up to the next comma, at most kMaxTextField; leading blanks are
    // part of the field.
    bool Text(TextField& field);
    // Number of fields matched so far.
    int Matched() const { return m_nMatched; }

private:
    bool Separator();
    bool Matchable() { return !m_bStopped && Separator(); }
    bool Accept(bool bMatched);

    const char* m_p;
    int m_nMatched = 0;
    bool m_bStopped = false;
};

} // namespace gx

#endif
