// The library's life cycle: the per-thread table of active coordinate systems is created and
// freed together with the reference data arrays.
#include <new>

#include "geoxform/refdata.h"
#include "refdata/database.h"
#include "service/thread_handler.h"

void InitEPSGDataBase(const KQWCHAR* pszPath) {
    if (g_pThreadHandler == nullptr) g_pThreadHandler = new (std::nothrow) CThreadHandler;
    gx::CreateReferenceArrays();
    ReadEPSGData(pszPath);
}

void FreeEPSGDataBase() {
    gx::FreeReferenceArrays();
    delete g_pThreadHandler;
    g_pThreadHandler = nullptr;
}
