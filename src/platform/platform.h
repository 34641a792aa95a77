// The small layer that stands in for the operating system's interfaces: thread identity,
// the lock of the active-system table, and code page conversion. Windows builds use the real
// APIs; other platforms have equivalents with the same rules. Nothing outside this directory
// talks to the operating system directly.
#ifndef GEOXFORM_PLATFORM_H
#define GEOXFORM_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "geoxform/defs.h"

namespace gx {

// Identity of the calling thread; never 0.
uint32_t CurrentThreadId();

// A handle that tells later whether the calling thread has ended; null when none can be had.
void* DuplicateCurrentThreadHandle();
// True when the thread behind the handle is no longer running.
bool ThreadHasEnded(void* hThread);
void CloseThreadHandle(void* hThread);

// A non-recursive lock with the storage inline, so that its users need no system header.
class PlatformLock {
public:
    PlatformLock();
    ~PlatformLock();
    PlatformLock(const PlatformLock&) = delete;
    PlatformLock& operator=(const PlatformLock&) = delete;
    void Enter();
    void Leave();

private:
    alignas(16) unsigned char m_storage[64];
};

class LockGuard {
public:
    explicit LockGuard(PlatformLock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~LockGuard() { m_lock.Leave(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    PlatformLock& m_lock;
};

// Code page 0 is the system ANSI code page (Windows-1252 where the system has none).
const unsigned kAnsiCodePage = 0;

// Converts nSrc bytes (or up to the NUL when nSrc < 0) of 8-bit text in the code page into
// UTF-16 in pDst, which holds nDstCap units; the result is cut to fit and always
// NUL-terminated. Returns the number of units written without the NUL.
size_t MultiByteToKq(unsigned uCodePage, const char* pSrc, ptrdiff_t nSrc, KQWCHAR* pDst,
                     size_t nDstCap);
// Converts UTF-16 up to its NUL into 8-bit text in the code page, cut to nDstCap - 1 bytes
// and NUL-terminated; characters the code page lacks become '?'.
size_t KqToMultiByte(unsigned uCodePage, const KQWCHAR* pSrc, char* pDst, size_t nDstCap);

// Path separator of the platform's file names.
#if defined(_WIN32)
const KQWCHAR kPathSeparator = L'\\';
#else
const KQWCHAR kPathSeparator = u'/';
#endif

// Directory of the library's own file (of the program, when the library is linked into it),
// without a trailing separator, cut to nCap - 1 units. Returns its length; 0 when unknown.
size_t LibraryDirectory(KQWCHAR* pDir, size_t nCap);

// Opens a file for binary reading that other readers may hold open at the same time, with
// writers denied where the platform can deny them. Null when it cannot be opened.
std::FILE* OpenSharedDenyWrite(const KQWCHAR* pszPath);

} // namespace gx

#endif
