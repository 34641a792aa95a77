// Life cycle of the reference data: the six record arrays and the per-thread table.
#include <new>

#include "geoxform/refdata.h"
#include "service/thread_handler.h"

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

// Creates the six arrays together or none of them, so that the systems array existing always
// means that all six exist.
void CreateArrays() {
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

} // namespace

void InitEPSGDataBase(const KQWCHAR* pszPath) {
    if (g_pThreadHandler == nullptr) g_pThreadHandler = new (std::nothrow) CThreadHandler;
    if (pdaEPSGSystem == nullptr) CreateArrays();
    ReadEPSGData(pszPath);
}

void FreeEPSGDataBase() {
    if (pdaEPSGSystem != nullptr) {
        Release(pdaEPSGSystem);
        Release(pdaEPSGDatum);
        Release(pdaEPSGPrimeMeridian);
        Release(pdaEPSGEllipsoid);
        Release(pdaEPSGUnits);
        Release(pdaEPSGParams);
    }
    delete g_pThreadHandler;
    g_pThreadHandler = nullptr;
}
