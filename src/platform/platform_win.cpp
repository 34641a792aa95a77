// Windows side of the platform layer, on the real APIs.
#include "platform/platform.h"

#include <new>
#include <stdlib.h>
#include <vector>

#include <share.h>
#include <stdio.h>
#include <windows.h>

namespace gx {

uint32_t CurrentThreadId() {
    return static_cast<uint32_t>(GetCurrentThreadId());
}

void* DuplicateCurrentThreadHandle() {
    HANDLE hThread = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &hThread, 0,
                         FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return hThread;
}

bool ThreadHasEnded(void* hThread) {
    DWORD dwExitCode = 0;
    if (hThread == nullptr || !GetExitCodeThread(static_cast<HANDLE>(hThread), &dwExitCode))
        return true;
    return dwExitCode != STILL_ACTIVE;
}

void CloseThreadHandle(void* hThread) {
    if (hThread != nullptr) CloseHandle(static_cast<HANDLE>(hThread));
}

static_assert(sizeof(CRITICAL_SECTION) <= 64 && alignof(CRITICAL_SECTION) <= 16,
              "lock storage too small");

PlatformLock::PlatformLock() {
    InitializeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}
PlatformLock::~PlatformLock() {
    DeleteCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}
void PlatformLock::Enter() {
    EnterCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}
void PlatformLock::Leave() {
    LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(m_storage));
}

size_t LibraryDirectory(KQWCHAR* pDir, size_t nCap) {
    if (nCap == 0) return 0;
    pDir[0] = 0;
    // The library's own module; the main program's when no module of that name is loaded.
    wchar_t path[2048];
    const DWORD n = GetModuleFileNameW(GetModuleHandleW(L"geoxform.dll"), path, 2048);
    if (n == 0 || n >= 2048) return 0;
    const wchar_t* pSlash = wcsrchr(path, L'\\');
    if (pSlash == nullptr) return 0;
    size_t nOut = 0;
    for (const wchar_t* p = path; p < pSlash && nOut + 1 < nCap; ++p)
        pDir[nOut++] = *p;
    pDir[nOut] = 0;
    return nOut;
}

std::FILE* OpenSharedDenyWrite(const KQWCHAR* pszPath) {
    // Readers share the file (hosts that start together all load it); writers are kept out
    // while it is read.
    return _wfsopen(pszPath, L"rb", _SH_DENYWR);
}

size_t MultiByteToKq(unsigned uCodePage, const char* pSrc, ptrdiff_t nSrc, KQWCHAR* pDst,
                     size_t nDstCap) {
    if (nDstCap == 0) return 0;
    const UINT cp = uCodePage == kAnsiCodePage ? CP_ACP : uCodePage;
    const int nIn =
        nSrc < 0 ? static_cast<int>(strlen(pSrc)) : static_cast<int>(strnlen(pSrc, nSrc));
    const int nNeeded = nIn > 0 ? MultiByteToWideChar(cp, 0, pSrc, nIn, nullptr, 0) : 0;
    std::vector<wchar_t> wide(static_cast<size_t>(nNeeded > 0 ? nNeeded : 0) + 1);
    const int nDone = nNeeded > 0 ? MultiByteToWideChar(cp, 0, pSrc, nIn, wide.data(), nNeeded) : 0;
    size_t nOut = 0;
    for (int i = 0; i < nDone && nOut + 1 < nDstCap; ++i)
        pDst[nOut++] = wide[i];
    pDst[nOut] = 0;
    return nOut;
}

size_t KqToMultiByte(unsigned uCodePage, const KQWCHAR* pSrc, char* pDst, size_t nDstCap) {
    if (nDstCap == 0) return 0;
    const UINT cp = uCodePage == kAnsiCodePage ? CP_ACP : uCodePage;
    const int nIn = static_cast<int>(wcslen(pSrc));
    // Characters the code page lacks become '?' as on other platforms, not a look-alike.
    const DWORD flags = (cp == CP_UTF8 || cp == CP_UTF7) ? 0 : WC_NO_BEST_FIT_CHARS;
    const int nNeeded =
        nIn > 0 ? WideCharToMultiByte(cp, flags, pSrc, nIn, nullptr, 0, nullptr, nullptr) : 0;
    std::vector<char> bytes(static_cast<size_t>(nNeeded > 0 ? nNeeded : 0) + 1);
    const int nDone = nNeeded > 0 ? WideCharToMultiByte(cp, flags, pSrc, nIn, bytes.data(), nNeeded,
                                                        nullptr, nullptr)
                                  : 0;
    size_t nOut = 0;
    for (int i = 0; i < nDone && nOut + 1 < nDstCap; ++i)
        pDst[nOut++] = bytes[i];
    pDst[nOut] = 0;
    return nOut;
}

} // namespace gx

// The library needs no per-thread notifications; MinGW's runtime may refuse to switch them
// off (it uses thread-local storage), so the entry point accepts them either way.
BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(hInstance);
    return TRUE;
}
