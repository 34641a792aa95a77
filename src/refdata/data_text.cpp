#include "refdata/data_text.h"

#include "platform/number_text.h"

namespace gx {

namespace {

struct HeaderName {
    const char* pszName;
    DataSection section;
};

const HeaderName kHeaders[] = {
    {"[Measure]", kSectionMeasure},
    {"[Data]", kSectionData},
    {"[Datum]", kSectionDatum},
    {"[Prime Meridian]", kSectionPrimeMeridian},
    {"[Ellipsoid]", kSectionEllipsoid},
    {"[Parameters]", kSectionParameters},
    {"[EOF]", kSectionEnd},
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const char* a, const char* b) {
    for (; *a != 0 && LowerAscii(*a) == LowerAscii(*b); ++a, ++b) {
    }
    return LowerAscii(*a) == LowerAscii(*b);
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

DataSection SectionOfHeader(const char* pLine) {
    for (const HeaderName& header : kHeaders)
        if (EqualNoCase(pLine, header.pszName)) return header.section;
    return kSectionUnknown;
}

char* LineSplitter::Next() {
    while (IsLineBreak(*m_p))
        ++m_p;
    if (*m_p == 0) return nullptr;
    char* pLine = m_p;
    while (*m_p != 0 && !IsLineBreak(*m_p))
        ++m_p;
    if (*m_p != 0) *m_p++ = 0;
    while (*pLine == ' ' || *pLine == '\t')
        ++pLine;
    return pLine;
}

bool FieldReader::Separator() {
    if (m_nMatched == 0) return true;
    if (*m_p != ',') return false;
    ++m_p;
    return true;
}

bool FieldReader::Accept(bool bMatched) {
    if (bMatched)
        ++m_nMatched;
    else
        m_bStopped = true;
    return bMatched;
}

bool FieldReader::Int(int32_t& iValue) {
    if (!Matchable()) return Accept(false);
    return Accept(ParseInt(m_p, iValue, &m_p));
}

bool FieldReader::Double(double& dValue) {
    if (!Matchable()) return Accept(false);
    return Accept(ParseDouble(m_p, dValue, &m_p));
}

bool FieldReader::Text(TextField& field) {
    if (!Matchable()) return Accept(false);
    size_t n = 0;
    while (n < kMaxTextField && m_p[n] != 0 && m_p[n] != ',')
        ++n;
    if (n == 0) return Accept(false); // an empty field ends the matching
    field.p = m_p;
    field.n = n;
    m_p += n;
    return Accept(true);
}

} // namespace gx
