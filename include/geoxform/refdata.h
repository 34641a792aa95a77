// Reference data: the growable record arrays, the six record types read from the reference
// data file, their global arrays, the loader and unit conversion.
#ifndef GEOXFORM_REFDATA_H
#define GEOXFORM_REFDATA_H

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "geoxform/defs.h"

// A growable array of plain records. Rows are copied bytewise when the block grows; a fresh
// row holds undefined bytes until its writer clears it.
template <class T>
class DynamicClassArray {
public:
    explicit DynamicClassArray(int nGrowBy)
        : m_pData(nullptr), m_nCount(0), m_nCapacity(0), m_nGrowBy(nGrowBy != 0 ? nGrowBy : 32) {
        if (m_nGrowBy < 0) m_nGrowBy = 32; // a negative step would never grow the block
    }
    ~DynamicClassArray() { std::free(m_pData); }
    DynamicClassArray(const DynamicClassArray&) = delete;
    DynamicClassArray& operator=(const DynamicClassArray&) = delete;

    int GetCount() const { return m_nCount; }

    // The record at nIndex, growing the array and raising the count to cover it.
    T& GetAt(int nIndex) {
        T* pRow = TryGetAt(nIndex);
        if (pRow != nullptr) return *pRow;
        // A negative index or exhausted memory: hand out a scratch row instead of failing,
        // so that the caller writes nowhere it should not; count and block stay as they were.
        static T s_scratch;
        std::memset(static_cast<void*>(&s_scratch), 0, sizeof(T));
        return s_scratch;
    }

    // As GetAt, but null for a negative index or when the block cannot grow.
    T* TryGetAt(int nIndex) {
        if (nIndex < 0) return nullptr;
        if (nIndex >= m_nCapacity) {
            const int64_t step = m_nGrowBy;
            const int64_t byIndex = (step + nIndex) / step;
            const int64_t byStep = m_nCapacity / step + 1;
            const int64_t capacity = step * (byIndex > byStep ? byIndex : byStep);
            if (capacity > INT32_MAX) return nullptr;
            T* pNew = static_cast<T*>(std::malloc(static_cast<size_t>(capacity) * sizeof(T)));
            if (pNew == nullptr) return nullptr;
            if (m_nCount > 0) std::memcpy(pNew, m_pData, static_cast<size_t>(m_nCount) * sizeof(T));
            std::free(m_pData);
            m_pData = pNew;
            m_nCapacity = static_cast<int32_t>(capacity);
        }
        if (nIndex >= m_nCount) m_nCount = nIndex + 1;
        return m_pData + nIndex;
    }

    // Read-only row access for callers that stay below GetCount().
    const T& operator[](int nIndex) const { return m_pData[nIndex]; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGrowBy() const { return m_nGrowBy; }

private:
    T* m_pData;
    int32_t m_nCount;
    int32_t m_nCapacity;
    int32_t m_nGrowBy;
};

// One predefined coordinate reference system ("[Data]").
struct EPSGSystem {
    int32_t iCode;
    KQWCHAR szName[100];
    int32_t iOperationCode; // key of the system's rows in pdaEPSGParams
    int32_t iMethodCode;
    int32_t iAuxCode1;      // base geographic system; carried, not interpreted
    int32_t iUnitCode;      // unit of the system's coordinates
    int32_t iAuxCode2;      // area of use; carried, not interpreted
    KQWCHAR szAuxName[100]; // area name; carried, not interpreted
    int32_t iDatumCode;
    int32_t iEllipsoidCode;
};

// One geodetic datum ("[Datum]").
struct EPSGDatum {
    int32_t iCode;
    KQWCHAR szName[100];
    int32_t iEllipsoidCode;
    int32_t iPrimeMeridianCode;
};

// One prime meridian ("[Prime Meridian]").
struct EPSGPrimeMeridian {
    int32_t iCode;
    KQWCHAR szName[100];
    double dLongitude; // radians east of Greenwich
};

// One ellipsoid ("[Ellipsoid]").
struct EPSGEllipsoid {
    int32_t iCode;
    KQWCHAR szName[100];
    double dSemiMajorAxis;     // metres
    double dInverseFlattening; // 0 for a sphere
    double dSemiMinorAxis;     // metres
};

// One unit of measure ("[Measure]"): value in target unit = value * B / C.
struct EPSGUnits {
    int32_t iCode;
    KQWCHAR szName[100];
    KQWCHAR szType[100];
    int32_t iTargetCode;
    double dFactorB;
    double dFactorC;
};

// One parameter value of one projection conversion ("[Parameters]").
struct EPSGParams {
    int32_t iOperationCode;
    int32_t iAuxCode;
    int32_t iParameterCode;
    double dParameterValue; // metres, radians or unitless
    int32_t iUnitCode;      // unit the value was written in
};

// The six reference arrays: null before InitEPSGDataBase and after FreeEPSGDataBase.
extern GEOXFORM_API DynamicClassArray<EPSGSystem>* pdaEPSGSystem;
extern GEOXFORM_API DynamicClassArray<EPSGDatum>* pdaEPSGDatum;
extern GEOXFORM_API DynamicClassArray<EPSGPrimeMeridian>* pdaEPSGPrimeMeridian;
extern GEOXFORM_API DynamicClassArray<EPSGEllipsoid>* pdaEPSGEllipsoid;
extern GEOXFORM_API DynamicClassArray<EPSGUnits>* pdaEPSGUnits;
extern GEOXFORM_API DynamicClassArray<EPSGParams>* pdaEPSGParams;

// Creates the per-thread active-system table and the six arrays, then loads the reference
// data file from pszPath (a directory), or from Support/ beside the library when null.
GEOXFORM_API void InitEPSGDataBase(const KQWCHAR* pszPath);
// Loads the reference data file once: 1 when the data is in memory, 0 when it is not.
GEOXFORM_API int ReadEPSGData(const KQWCHAR* pszPath);
// Releases the arrays and the per-thread table.
GEOXFORM_API void FreeEPSGDataBase();

// Converts dValue in place from the EPSG unit iUnitCode to metre or radian: 1 on success.
GEOXFORM_API int ConvertUnit(double& dValue, int iUnitCode);

#endif
