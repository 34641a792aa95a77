#include "service/parameter_text.h"

#include <cstddef>
#include <cstring>

#include "platform/number_text.h"
#include "platform/wide_string.h"
#include "service/parameter_slots.h"

namespace gx {

namespace {

// Fields 0 to 23 of the text form: how each is printed and read, and the record field it is.
enum FieldKind { kInteger, kName, kReal };
struct TextField {
    FieldKind kind;
    size_t offset;
};

#define GX_FIELD(kind, member)                                                                     \
    { kind, offsetof(KQCRSystem, member) }
const TextField kTextFields[] = {
    GX_FIELD(kInteger, iUnits),
    GX_FIELD(kName, szUnitsName),
    GX_FIELD(kReal, dScale),
    GX_FIELD(kReal, dOffsetX),
    GX_FIELD(kReal, dOffsetY),
    GX_FIELD(kInteger, iSystemCode),
    GX_FIELD(kName, szSystemName),
    GX_FIELD(kInteger, iAuxCode1),
    GX_FIELD(kInteger, iAuxCode2),
    GX_FIELD(kName, szAuxName),
    GX_FIELD(kInteger, iOperationCode),
    GX_FIELD(kInteger, iMethodCode),
    GX_FIELD(kName, szMethodName),
    GX_FIELD(kInteger, iDatumCode),
    GX_FIELD(kName, szDatumName),
    GX_FIELD(kInteger, iEllipsoidCode),
    GX_FIELD(kName, szEllipsoidName),
    GX_FIELD(kReal, dSemiMajorAxis),
    GX_FIELD(kReal, dInverseFlattening),
    GX_FIELD(kReal, dSemiMinorAxis),
    GX_FIELD(kInteger, iPrimeMeridianCode),
    GX_FIELD(kName, szPrimeMeridianName),
    GX_FIELD(kReal, dPrimeMeridian),
    GX_FIELD(kInteger, iNumParameters),
};
#undef GX_FIELD
const int kNumTextFields = sizeof(kTextFields) / sizeof(kTextFields[0]);
const int kFirstSystemField = 5;
const int kScaleField = 2;
const int kCountField = 23;
const size_t kNameCapacity = 100;

const int kMaxPairField = kNumTextFields + 2 * kMaxParameters;

void ApplyField(KQCRSystem& record, int n, const KQWCHAR* pszField) {
    if (n >= kMaxPairField) return; // later fields are ignored
    if (n >= kNumTextFields) {
        const int k = (n - kNumTextFields) / 2;
        if ((n - kNumTextFields) % 2 == 0)
            record.aiParameterCodes[k] = KqToInt(pszField);
        else
            record.adParameterValues[k] = KqToDouble(pszField);
        return;
    }
    char* pField = reinterpret_cast<char*>(&record) + kTextFields[n].offset;
    switch (kTextFields[n].kind) {
    case kInteger: {
        int32_t value = KqToInt(pszField);
        // The record holds 14 parameter slots: a count outside 0..14 is brought into it.
        if (n == kCountField)
            value = value < 0 ? 0 : value > kMaxParameters ? kMaxParameters : value;
        std::memcpy(pField, &value, sizeof(value));
        return;
    }
    case kName:
        KqCopy(reinterpret_cast<KQWCHAR*>(pField), kNameCapacity, pszField);
        return;
    case kReal: {
        double value = KqToDouble(pszField);
        if (n == kScaleField && value == 0) value = 1.0; // a zero or unreadable scale is 1
        std::memcpy(pField, &value, sizeof(value));
        return;
    }
    }
}

void AppendField(KqTextBuilder& text, const KQCRSystem& record, int n) {
    const char* pField = reinterpret_cast<const char*>(&record) + kTextFields[n].offset;
    switch (kTextFields[n].kind) {
    case kInteger: {
        int32_t value;
        std::memcpy(&value, pField, sizeof(value));
        text.AppendInt(value);
        return;
    }
    case kName:
        text.Append(reinterpret_cast<const KQWCHAR*>(pField));
        return;
    case kReal: {
        double value;
        std::memcpy(&value, pField, sizeof(value));
        text.AppendFixed(value, 15);
        return;
    }
    }
}

bool IsSeparator(KQWCHAR c) {
    return c == ',' || c == ';';
}

} // namespace

int ReadParameterText(const KQWCHAR* pszText, KQCRSystem& record) {
    KQWCHAR field[kMaxParameterText + 1];
    int nFields = 0;
    const KQWCHAR* p = pszText;
    while (*p != 0) {
        // A field runs to the next comma or semicolon, which is consumed; a separator at the
        // very end starts no further field.
        size_t n = 0;
        for (; *p != 0 && !IsSeparator(*p); ++p)
            if (n < kMaxParameterText) field[n++] = *p;
        field[n] = 0;
        if (*p != 0) ++p;
        ApplyField(record, nFields++, field);
    }
    return nFields;
}

bool FormatParameterText(const KQCRSystem& record, bool bWithSystem,
                         KQWCHAR (&text)[kMaxParameterText + 1]) {
    KqTextBuilder builder(text, kMaxParameterText + 1);
    for (int n = 0; n < kFirstSystemField; ++n) {
        if (n > 0) builder.AppendChar(',');
        AppendField(builder, record, n);
    }
    if (bWithSystem) {
        builder.AppendChar(';');
        for (int n = kFirstSystemField; n < kNumTextFields; ++n) {
            if (n > kFirstSystemField) builder.AppendChar(',');
            AppendField(builder, record, n);
        }
        const int nParameters = UsedParameterSlots(record);
        for (int k = 0; k < nParameters; ++k) {
            builder.AppendChar(',');
            builder.AppendInt(record.aiParameterCodes[k]);
            builder.AppendChar(',');
            builder.AppendFixed(record.adParameterValues[k], 15);
        }
    }
    if (builder.Overflowed()) {
        text[0] = 0;
        return false;
    }
    return true;
}

} // namespace gx
