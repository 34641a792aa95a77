#include "service/thread_handler.h"

#include <cstring>
#include <new>

#include "geoxform/coordsystem.h"

CThreadHandler* g_pThreadHandler = nullptr;

CThreadHandler::CThreadHandler()
    : m_pTable(new (std::nothrow) Entry[kGrowBy]()),
      m_nTableSize(m_pTable != nullptr ? kGrowBy : 0), m_dwLastThreadId(0), m_pLastValue(0) {}

CThreadHandler::~CThreadHandler() {
    for (int i = 0; i < m_nTableSize; ++i)
        if (m_pTable[i].hThread != nullptr) gx::CloseThreadHandle(m_pTable[i].hThread);
    delete[] m_pTable;
}

void CThreadHandler::SetValue(uintptr_t value) {
    gx::LockGuard guard(m_csLock);
    const uint32_t dwThreadId = gx::CurrentThreadId();
    m_dwLastThreadId = 0;
    const int chosen = ChooseEntry(dwThreadId, value);
    if (chosen < 0) return; // stored in the caller's own entry, or no memory to grow: nothing lost
    Entry& entry = m_pTable[chosen];
    entry.dwThreadId = dwThreadId;
    entry.pValue = value;
    m_dwLastThreadId = dwThreadId;
    m_pLastValue = value;
    entry.hThread = gx::DuplicateCurrentThreadHandle();
}

// Walks the table: stores the value in the caller's own entry (result -1), or frees the
// entries of ended threads on the way and returns the entry to fill, growing the table when
// none is free (-1 when it cannot grow).
int CThreadHandler::ChooseEntry(uint32_t dwThreadId, uintptr_t value) {
    int chosen = -1;
    for (int i = 0; i < m_nTableSize; ++i) {
        Entry& entry = m_pTable[i];
        if (entry.dwThreadId == dwThreadId) {
            entry.pValue = value;
            m_dwLastThreadId = dwThreadId;
            m_pLastValue = value;
            return -1;
        }
        if (entry.dwThreadId == 0) {
            if (chosen < 0) chosen = i;
        } else if (entry.hThread == nullptr) {
            entry.dwThreadId = 0;
            if (chosen < 0) chosen = i;
        } else if (i != 0 && gx::ThreadHasEnded(entry.hThread)) {
            // Entry 0 is never freed for an ended thread: it is everyone's default.
            entry.dwThreadId = 0;
            gx::CloseThreadHandle(entry.hThread);
            entry.hThread = nullptr;
            chosen = i;
        }
    }
    return chosen >= 0 ? chosen : Grow();
}

int CThreadHandler::Grow() {
    Entry* pNew = new (std::nothrow) Entry[m_nTableSize + kGrowBy]();
    if (pNew == nullptr) return -1;
    if (m_nTableSize > 0) std::memcpy(pNew, m_pTable, sizeof(Entry) * m_nTableSize);
    delete[] m_pTable;
    m_pTable = pNew;
    const int chosen = m_nTableSize;
    m_nTableSize += kGrowBy;
    return chosen;
}

uintptr_t CThreadHandler::GetValue() {
    gx::LockGuard guard(m_csLock);
    const uint32_t dwThreadId = gx::CurrentThreadId();
    if (dwThreadId == m_dwLastThreadId) return m_pLastValue;
    uintptr_t value = m_nTableSize > 0 ? m_pTable[0].pValue : 0;
    for (int i = 0; i < m_nTableSize; ++i) {
        if (m_pTable[i].dwThreadId == dwThreadId) {
            value = m_pTable[i].pValue;
            break;
        }
    }
    m_dwLastThreadId = dwThreadId;
    m_pLastValue = value;
    return value;
}

void SetActiveCoordSystem(CCoordSystem* pSystem) {
    if (g_pThreadHandler != nullptr)
        g_pThreadHandler->SetValue(reinterpret_cast<uintptr_t>(pSystem));
}

CCoordSystem* GetActiveCoordSystem() {
    if (g_pThreadHandler == nullptr) return nullptr;
    return reinterpret_cast<CCoordSystem*>(g_pThreadHandler->GetValue());
}
