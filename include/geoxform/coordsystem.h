// The coordinate system object: user units and drawing scale, the embedded record and its
// projection, and everything a host does with one map's coordinates.
#ifndef GEOXFORM_COORDSYSTEM_H
#define GEOXFORM_COORDSYSTEM_H

#include <cstdint>

#include "geoxform/crsystem.h"
#include "geoxform/defs.h"
#include "geoxform/projection.h"

class CCoordSystem;

// Creates an object for a length unit row and a drawing scale (null when memory is short).
GEOXFORM_API CCoordSystem* CreateCoordSystem(int iUnits = 1, double dScale = 1.0);
// Deletes an object made by CreateCoordSystem; null is ignored.
GEOXFORM_API void DeleteCoordSystem(CCoordSystem* pSystem);

class GEOXFORM_API CCoordSystem {
public:
    // A copy owns its own text form and its own projection, rebuilt from the copied record.
    CCoordSystem& operator=(const CCoordSystem& other);

    int GetUnits();
    double GetUnitsFac(); // millimetres per user unit
    KQWCHAR* GetUnitsName();
    double GetScale();
    int HasProjection();
    int GetUnProjectFlag();
    void SetUnProjectFlag(int iFlag); // only 1 switches geographic output on
    int GetResolution();
    void SetResolution(int iDotsPerInch);
    int GetPrecision();
    void SetPrecision(int iPrecision);

    // World millimetres to user coordinates and back. Mode -1: the record's unproject flag;
    // a resolved mode of 1 means longitude and latitude in radians. Both return 1.
    int World2User(double dWorldX, double dWorldY, double& dUserX, double& dUserY, int iMode);
    int User2World(double dUserX, double dUserY, double& dWorldX, double& dWorldY, int iMode);
    // A world length in millimetres as a length in user units.
    double Scale2UserUnits(double dWorldLength);

    // Value text: plane values as decimals, angles (CS_DMS) as degrees, minutes, seconds.
    // Output texts hold at least 256 characters.
    int Value2String(double dValue, KQWCHAR* pszText, int iFlags, int iDecimals);
    int String2Value(const KQWCHAR* pszText, double& dValue, int iFlags);
    int XY2String(double dX, double dY, KQWCHAR* pszX, KQWCHAR* pszY, int iMode);
    int String2XY(const KQWCHAR* pszX, const KQWCHAR* pszY, double& dX, double& dY, int iMode);

    // Configuration from and to a record or the one-line text form (at most 1023 characters
    // and a terminator).
    int SetParameters(KQCRSystem* pRecord);
    int GetParameters(KQCRSystem* pRecord);
    int SetParameters(const KQWCHAR* pszParameters);
    int GetParameters(KQWCHAR* pszParameters);

    // Length of a polyline and area of a polygon given as n (x, y) pairs in world millimetres.
    double Distance(int nPoints, double* pdPoints, int iMode);
    double Area(int nPoints, double* pdPoints, int iMode);

private:
    explicit CCoordSystem(int iUnits = 1, double dScale = 1.0);
    ~CCoordSystem();
    CCoordSystem(const CCoordSystem&) = delete;

    // Only CreateCoordSystem and DeleteCoordSystem make and end objects, through this class
    // of the library's own (a friend class rather than friend functions, which MinGW cannot
    // mark as imported).
    friend struct CCoordSystemLifetime;

    int32_t m_iUnits;
    int32_t m_iResolution;
    double m_dUnitsFac;
    KQWCHAR m_szUnitsName[64];
    double m_dScale;
    double m_dOffsetX;
    double m_dOffsetY;
    CProjection* m_pProjection;
    int32_t m_iPrecision;
    KQWCHAR* m_pszParameters;
    KQCRSystem m_CRSystem;
};

// Per-thread active coordinate system. Before InitEPSGDataBase the set does nothing and the
// get returns null; a thread that never set one sees the first thread's value.
GEOXFORM_API void SetActiveCoordSystem(CCoordSystem* pSystem);
GEOXFORM_API CCoordSystem* GetActiveCoordSystem();

#endif
