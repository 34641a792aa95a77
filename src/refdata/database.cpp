// The six record arrays of the reference data.
#include "refdata/database.h"

#include <new>

#include "geoxform/refdata.h"

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

} // namespace

namespace gx {

void CreateReferenceArrays() {
    if (pdaEPSGSystem != nullptr) return;
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
    Release(pdaEPSGSystem);
    Release(pdaEPSGDatum);
    Release(pdaEPSGPrimeMeridian);
    Release(pdaEPSGEllipsoid);
    Release(pdaEPSGUnits);
    Release(pdaEPSGParams);
}

} // namespace gx
