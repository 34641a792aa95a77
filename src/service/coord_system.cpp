// The coordinate system object: creation, copying and accessors.
#include <new>

#include "geoxform/coordsystem.h"
#include "geoxform/refdata.h"
#include "platform/wide_string.h"
#include "refdata/unit_tables.h"
#include "service/coord_system_access.h"
#include "service/crsystem_init.h"
#include "service/projection_factory.h"

CCoordSystem::CCoordSystem(int iUnits, double dScale)
    : m_iUnits(iUnits), m_iResolution(300), m_dUnitsFac(1.0), m_szUnitsName{}, m_dScale(dScale),
      m_dOffsetX(0), m_dOffsetY(0), m_pProjection(nullptr), m_iPrecision(2),
      m_pszParameters(nullptr) {
    gx::InitCRSystem(&m_CRSystem, iUnits, dScale);
    m_dUnitsFac = gx::LengthUnitFactor(iUnits);
    gx::KqCopy(m_szUnitsName, gx::LengthUnitName(iUnits));
    gx::KqCopy(m_CRSystem.szUnitsName, m_szUnitsName);
}

CCoordSystem::~CCoordSystem() {
    delete[] m_pszParameters;
    delete m_pProjection;
}

CCoordSystem* CreateCoordSystem(int iUnits, double dScale) {
    ReadEPSGData(nullptr);
    return CCoordSystemLifetime::Create(iUnits, dScale);
}

void DeleteCoordSystem(CCoordSystem* pSystem) {
    CCoordSystemLifetime::Delete(pSystem);
}

CCoordSystem& CCoordSystem::operator=(const CCoordSystem& other) {
    if (this == &other) return *this;
    m_iUnits = other.m_iUnits;
    m_iResolution = other.m_iResolution;
    m_dUnitsFac = other.m_dUnitsFac;
    gx::KqCopy(m_szUnitsName, other.m_szUnitsName);
    m_dScale = other.m_dScale;
    m_dOffsetX = other.m_dOffsetX;
    m_dOffsetY = other.m_dOffsetY;
    m_iPrecision = other.m_iPrecision;
    m_CRSystem = other.m_CRSystem;
    // The copy owns its own text form (none when memory is short: it is printed afresh on
    // demand) and its own projection, rebuilt from the copied record as the original's was.
    delete[] m_pszParameters;
    m_pszParameters = nullptr;
    if (other.m_pszParameters != nullptr) {
        const size_t n = gx::KqLen(other.m_pszParameters) + 1;
        m_pszParameters = new (std::nothrow) KQWCHAR[n];
        if (m_pszParameters != nullptr) gx::KqCopy(m_pszParameters, n, other.m_pszParameters);
    }
    delete m_pProjection;
    m_pProjection = other.m_pProjection != nullptr ? gx::CreateProjection(&m_CRSystem) : nullptr;
    return *this;
}

int CCoordSystem::GetUnits() {
    return m_iUnits;
}
double CCoordSystem::GetUnitsFac() {
    return m_dUnitsFac;
}
KQWCHAR* CCoordSystem::GetUnitsName() {
    return m_szUnitsName;
}
double CCoordSystem::GetScale() {
    return m_dScale;
}
int CCoordSystem::HasProjection() {
    return m_pProjection != nullptr ? 1 : 0;
}
int CCoordSystem::GetUnProjectFlag() {
    return m_CRSystem.iUnProject;
}
void CCoordSystem::SetUnProjectFlag(int iFlag) {
    m_CRSystem.iUnProject = iFlag;
}
int CCoordSystem::GetResolution() {
    return m_iResolution;
}
int CCoordSystem::GetPrecision() {
    return m_iPrecision;
}

void CCoordSystem::SetResolution(int iDotsPerInch) {
    if (iDotsPerInch < 1) return; // a resolution below one dot per inch is refused: no change
    m_iResolution = iDotsPerInch;
    if (m_iUnits == 0) m_dUnitsFac = 25.4 / iDotsPerInch;
}

void CCoordSystem::SetPrecision(int iPrecision) {
    m_iPrecision = iPrecision;
    m_CRSystem.iPrecision = iPrecision;
}
