// Configuring a coordinate system object from a record or from its one-line text form, and
// reading both back.
#include <cstring>
#include <new>

#include "geoxform/coordsystem.h"
#include "platform/wide_string.h"
#include "refdata/unit_tables.h"
#include "service/parameter_slots.h"
#include "service/parameter_text.h"
#include "service/projection_factory.h"

int CCoordSystem::SetParameters(KQCRSystem* pRecord) {
    if (pRecord == nullptr || ValidateCRSystem(pRecord) != 0) return 0;
    // Copies iSize bytes as the record states them, but never more than the record's 1720.
    const int nSize = pRecord->iSize;
    const size_t nCopy = nSize < 0 ? 0
                         : nSize > static_cast<int>(sizeof(KQCRSystem))
                             ? sizeof(KQCRSystem)
                             : static_cast<size_t>(nSize);
    std::memcpy(&m_CRSystem, pRecord, nCopy);
    delete[] m_pszParameters;
    m_pszParameters = nullptr;
    m_iUnits = m_CRSystem.iUnits;
    m_dScale = m_CRSystem.dScale;
    m_dOffsetX = m_CRSystem.dOffsetX;
    m_dOffsetY = m_CRSystem.dOffsetY;
    gx::KqCopy(m_szUnitsName, gx::LengthUnitName(m_iUnits));
    m_dUnitsFac = m_iUnits < 1 ? 25.4 / m_iResolution : gx::LengthUnitFactor(m_iUnits);
    delete m_pProjection;
    m_pProjection = gx::CreateProjection(&m_CRSystem);
    m_iPrecision = m_CRSystem.iPrecision;
    return 1;
}

int CCoordSystem::GetParameters(KQCRSystem* pRecord) {
    if (pRecord == nullptr) return 0;
    std::memcpy(pRecord, &m_CRSystem, sizeof(KQCRSystem));
    return 1;
}

int CCoordSystem::SetParameters(const KQWCHAR* pszParameters) {
    if (pszParameters == nullptr) return 0;
    const size_t nLength = gx::KqLen(pszParameters);
    // The text form holds at most 1023 characters, the most GetParameters may write back from
    // the cache: a longer text is refused and nothing changes.
    if (nLength > gx::kMaxParameterText) return 0;
    delete[] m_pszParameters;
    m_pszParameters = new (std::nothrow) KQWCHAR[nLength + 1];
    delete m_pProjection;
    m_pProjection = nullptr;
    m_CRSystem.iSystemCode = -1;
    if (m_pszParameters == nullptr) return 0;
    gx::KqCopy(m_pszParameters, nLength + 1, pszParameters);

    const int nFields = gx::ReadParameterText(pszParameters, m_CRSystem);
    if (nFields == 0) return 0;
    // The object mirrors the user part the text reached.
    if (nFields > 0) {
        m_iUnits = m_CRSystem.iUnits;
        m_dUnitsFac = gx::LengthUnitFactor(m_iUnits); // the table's factor, also for pixels
    }
    if (nFields > 1) gx::KqCopy(m_szUnitsName, m_CRSystem.szUnitsName);
    if (nFields > 2) m_dScale = m_CRSystem.dScale;
    if (nFields > 3) m_dOffsetX = m_CRSystem.dOffsetX;
    if (nFields > 4) m_dOffsetY = m_CRSystem.dOffsetY;
    m_pProjection = gx::CreateProjection(&m_CRSystem);
    return 1;
}

int CCoordSystem::GetParameters(KQWCHAR* pszParameters) {
    if (pszParameters == nullptr) return 0;
    if (m_pszParameters == nullptr) {
        // The user part comes from the object's members, the rest from the record.
        KQCRSystem record = m_CRSystem;
        record.iUnits = m_iUnits;
        gx::KqCopy(record.szUnitsName, m_szUnitsName);
        record.dScale = m_dScale;
        record.dOffsetX = m_dOffsetX;
        record.dOffsetY = m_dOffsetY;
        KQWCHAR text[gx::kMaxParameterText + 1];
        // A text form that would pass 1023 characters is not written: empty text, result 0.
        if (!gx::FormatParameterText(record, m_pProjection != nullptr, text)) {
            pszParameters[0] = 0;
            return 0;
        }
        const size_t n = gx::KqLen(text) + 1;
        m_pszParameters = new (std::nothrow) KQWCHAR[n];
        if (m_pszParameters != nullptr) gx::KqCopy(m_pszParameters, n, text);
        gx::KqCopy(pszParameters, n, text);
        return 1;
    }
    gx::KqCopy(pszParameters, gx::kMaxParameterText + 1, m_pszParameters);
    return 1;
}
