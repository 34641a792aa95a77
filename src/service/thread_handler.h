// One pointer-sized value per thread, with a process-wide default in the first entry. Entries
// of ended threads are reused, so a host that starts and ends many threads keeps a small table.
#ifndef GEOXFORM_THREAD_HANDLER_H
#define GEOXFORM_THREAD_HANDLER_H

#include <cstdint>

#include "platform/platform.h"

class CThreadHandler {
public:
    CThreadHandler();
    virtual ~CThreadHandler();
    CThreadHandler(const CThreadHandler&) = delete;
    CThreadHandler& operator=(const CThreadHandler&) = delete;

    // Stores the value for the calling thread.
    virtual void SetValue(uintptr_t value);
    // The calling thread's value, or the first entry's value for a thread without one.
    virtual uintptr_t GetValue();

    struct Entry {
        uint32_t dwThreadId; // 0 marks a free entry
        void* hThread;       // tells whether the thread has ended; may be null
        uintptr_t pValue;
    };

    // For inspection by tests.
    int GetTableSize() const { return m_nTableSize; }

private:
    static const int kGrowBy = 5;

    int ChooseEntry(uint32_t dwThreadId, uintptr_t value);
    int Grow();

    gx::PlatformLock m_csLock;
    Entry* m_pTable;
    int32_t m_nTableSize;
    uint32_t m_dwLastThreadId;
    uintptr_t m_pLastValue;
};

// The library's table: created by InitEPSGDataBase, destroyed by FreeEPSGDataBase.
extern CThreadHandler* g_pThreadHandler;

#endif
