// The six record arrays of the reference data and the indexes of their codes.
#include "refdata/database.h"

#include <algorithm>
#include <new>
#include <vector>

#include "geoxform/refdata.h"
#include "platform/platform.h"
#include "refdata/reference_lookup.h"

DynamicClassArray<EPSGSystem>* pdaEPSGSystem = nullptr;
DynamicClassArray<EPSGDatum>* pdaEPSGDatum = nullptr;
DynamicClassArray<EPSGPrimeMeridian>* pdaEPSGPrimeMeridian = nullptr;
DynamicClassArray<EPSGEllipsoid>* pdaEPSGEllipsoid = nullptr;
DynamicClassArray<EPSGUnits>* pdaEPSGUnits = nullptr;
DynamicClassArray<EPSGParams>* pdaEPSGParams = nullptr;

namespace {

template <class T>
void Release(DynamicClassArray<T>*& pArray) {
    delete pArray;
    pArray = nullptr;
}

// One run of consecutive rows with the same code: the code, its first row and its length.
struct CodeRun {
    int32_t iCode;
    int32_t iFirst;
    int32_t nCount;
};

// The first run of each code of one array, sorted by code, and what it was built from.
struct CodeIndex {
    const void* pArray = nullptr;
    const void* pRows = nullptr;
    int nCount = -1;
    unsigned nGeneration = 0;
    std::vector<CodeRun> runs;
};

// Guards the indexes and the generation: validations on several threads share them.
gx::PlatformLock& IndexLock() {
    static gx::PlatformLock s_lock;
    return s_lock;
}
unsigned s_nGeneration = 1; // raised whenever rows may have been rewritten in place

template <class T>
CodeIndex& IndexOf() {
    static CodeIndex s_index;
    return s_index;
}

template <class T>
bool IsCurrent(const CodeIndex& index, const DynamicClassArray<T>& array) {
    const int n = array.GetCount();
    return index.pArray == &array && index.nCount == n && index.nGeneration == s_nGeneration &&
           index.pRows == (n > 0 ? &array[0] : nullptr);
}

// Builds the index of the array on the code field Key: false when memory runs out.
template <class T, int32_t T::*Key>
bool Build(const DynamicClassArray<T>& array, CodeIndex& index) {
    index.nCount = -1;
    const int n = array.GetCount();
    try {
        index.runs.clear();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && array[i].*Key == array[i - 1].*Key)
                ++index.runs.back().nCount;
            else
                index.runs.push_back({array[i].*Key, i, 1});
        }
    } catch (...) {
        return false;
    }
    std::sort(index.runs.begin(), index.runs.end(), [](const CodeRun& a, const CodeRun& b) {
        return a.iCode < b.iCode || (a.iCode == b.iCode && a.iFirst < b.iFirst);
    });
    index.runs.erase(
        std::unique(index.runs.begin(), index.runs.end(),
                    [](const CodeRun& a, const CodeRun& b) { return a.iCode == b.iCode; }),
        index.runs.end()); // each code keeps its first run
    index.pArray = &array;
    index.pRows = n > 0 ? &array[0] : nullptr;
    index.nCount = n;
    index.nGeneration = s_nGeneration;
    return true;
}

// The first run of rows whose field Key equals the code; none also when no index could be
// built for want of memory.
template <class T, int32_t T::*Key>
gx::ParameterRun FirstRun(const DynamicClassArray<T>* pArray, int iCode) {
    gx::ParameterRun run;
    if (pArray == nullptr) return run;
    gx::LockGuard guard(IndexLock());
    CodeIndex& index = IndexOf<T>();
    if (!IsCurrent(index, *pArray) && !Build<T, Key>(*pArray, index)) return run;
    const auto it = std::lower_bound(index.runs.begin(), index.runs.end(), iCode,
                                     [](const CodeRun& r, int code) { return r.iCode < code; });
    if (it != index.runs.end() && it->iCode == iCode) {
        run.iFirst = it->iFirst;
        run.nCount = it->nCount;
    }
    return run;
}

} // namespace

namespace gx {

template <class T>
int FindByCode(const DynamicClassArray<T>* pArray, int iCode) {
    return FirstRun<T, &T::iCode>(pArray, iCode).iFirst;
}
template int FindByCode(const DynamicClassArray<EPSGSystem>*, int);
template int FindByCode(const DynamicClassArray<EPSGDatum>*, int);
template int FindByCode(const DynamicClassArray<EPSGPrimeMeridian>*, int);
template int FindByCode(const DynamicClassArray<EPSGEllipsoid>*, int);
template int FindByCode(const DynamicClassArray<EPSGUnits>*, int);

ParameterRun FindParameterRun(int iOperationCode) {
    return FirstRun<EPSGParams, &EPSGParams::iOperationCode>(pdaEPSGParams, iOperationCode);
}

void ReferenceRowsChanged() {
    LockGuard guard(IndexLock());
    ++s_nGeneration;
}

void CreateReferenceArrays() {
    if (pdaEPSGSystem != nullptr) return;
    ReferenceRowsChanged();
    auto* pSystems = new (std::nothrow) DynamicClassArray<EPSGSystem>(64);
    auto* pDatums = new (std::nothrow) DynamicClassArray<EPSGDatum>(32);
    auto* pMeridians = new (std::nothrow) DynamicClassArray<EPSGPrimeMeridian>(8);
    auto* pEllipsoids = new (std::nothrow) DynamicClassArray<EPSGEllipsoid>(32);
    auto* pUnits = new (std::nothrow) DynamicClassArray<EPSGUnits>(32);
    auto* pParams = new (std::nothrow) DynamicClassArray<EPSGParams>(256);
    if (pSystems && pDatums && pMeridians && pEllipsoids && pUnits && pParams) {
        pdaEPSGSystem = pSystems;
        pdaEPSGDatum = pDatums;
        pdaEPSGPrimeMeridian = pMeridians;
        pdaEPSGEllipsoid = pEllipsoids;
        pdaEPSGUnits = pUnits;
        pdaEPSGParams = pParams;
        return;
    }
    delete pSystems;
    delete pDatums;
    delete pMeridians;
    delete pEllipsoids;
    delete pUnits;
    delete pParams;
}

void FreeReferenceArrays() {
    if (pdaEPSGSystem == nullptr) return;
    ReferenceRowsChanged();
    Release(pdaEPSGSystem);
    Release(pdaEPSGDatum);
    Release(pdaEPSGPrimeMeridian);
    Release(pdaEPSGEllipsoid);
    Release(pdaEPSGUnits);
    Release(pdaEPSGParams);
}

} // namespace gx
