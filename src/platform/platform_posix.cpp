// POSIX side of the platform layer.
#include "platform/platform.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <iconv.h>

#include "platform/codepage_1252.h"

namespace gx {

namespace {

std::atomic<uint32_t> s_lastThreadId{0};

uint32_t NextThreadId() {
    uint32_t id = ++s_lastThreadId;
    while (id == 0)
        id = ++s_lastThreadId; // 0 marks a free entry
    return id;
}

// A POSIX thread has no handle that outlives it; instead each thread owns a token whose
// destructor, run when the thread ends, marks a flag that the table's handles share. The
// token also numbers the thread: the kernel's ids (gettid) are reused as soon as a thread
// ends, whereas a Windows thread id stays taken while a handle to the thread is open, which
// the per-thread table relies on. Numbers from a process-wide counter are never reused.
struct ThreadLifeToken {
    std::shared_ptr<std::atomic<bool>> pEnded = std::make_shared<std::atomic<bool>>(false);
    uint32_t dwId = NextThreadId();
    ~ThreadLifeToken() { pEnded->store(true); }
};

thread_local ThreadLifeToken t_lifeToken;

using EndedFlag = std::shared_ptr<std::atomic<bool>>;

} // namespace

uint32_t CurrentThreadId() {
    return t_lifeToken.dwId;
}

void* DuplicateCurrentThreadHandle() {
    return new (std::nothrow) EndedFlag(t_lifeToken.pEnded);
}

bool ThreadHasEnded(void* hThread) {
    return hThread == nullptr || static_cast<EndedFlag*>(hThread)->get()->load();
}

void CloseThreadHandle(void* hThread) {
    delete static_cast<EndedFlag*>(hThread);
}

static_assert(sizeof(std::mutex) <= 64 && alignof(std::mutex) <= 16, "lock storage too small");

PlatformLock::PlatformLock() {
    new (m_storage) std::mutex();
}
PlatformLock::~PlatformLock() {
    reinterpret_cast<std::mutex*>(m_storage)->~mutex();
}
void PlatformLock::Enter() {
    reinterpret_cast<std::mutex*>(m_storage)->lock();
}
void PlatformLock::Leave() {
    reinterpret_cast<std::mutex*>(m_storage)->unlock();
}

size_t LibraryDirectory(KQWCHAR* pDir, size_t nCap) {
    if (nCap == 0) return 0;
    pDir[0] = 0;
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&LibraryDirectory), &info) == 0 || info.dli_fname == nullptr)
        return 0;
    const char* pSlash = std::strrchr(info.dli_fname, '/');
    if (pSlash == nullptr) return 0;
    return MultiByteToKq(65001, info.dli_fname, pSlash - info.dli_fname, pDir, nCap);
}

std::FILE* OpenSharedDenyWrite(const KQWCHAR* pszPath) {
    // POSIX has no sharing modes: a plain read-only open. Paths are UTF-8 bytes.
    char path[4 * 2048];
    KqToMultiByte(65001, pszPath, path, sizeof(path));
    return std::fopen(path, "rb");
}

namespace {

bool IsWindows1252(unsigned uCodePage) {
    return uCodePage == kAnsiCodePage || uCodePage == 1252;
}

std::string IconvName(unsigned uCodePage) {
    if (uCodePage == 65001) return "UTF-8";
    return "CP" + std::to_string(uCodePage);
}

// Runs iconv over the whole input, replacing each unit it cannot convert (nUnit bytes) by
// pReplacement; false when the code page is unknown to iconv.
bool IconvAll(const char* pTo, const char* pFrom, const char* pIn, size_t nIn, size_t nUnit,
              const char* pReplacement, std::vector<char>& out) {
    iconv_t cd = iconv_open(pTo, pFrom);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.assign(nIn * 4 + 8, 0);
    char* pSrc = const_cast<char*>(pIn);
    char* pDst = out.data();
    size_t nLeft = out.size();
    while (nIn > 0) {
        if (iconv(cd, &pSrc, &nIn, &pDst, &nLeft) != static_cast<size_t>(-1)) break;
        if ((errno != EILSEQ && errno != EINVAL) || nIn < nUnit || nLeft < 2) break;
        pSrc += nUnit;
        nIn -= nUnit;
        for (const char* p = pReplacement; *p != 0 && nLeft > 0; ++p, --nLeft)
            *pDst++ = *p;
    }
    out.resize(out.size() - nLeft);
    iconv_close(cd);
    return true;
}

} // namespace

size_t MultiByteToKq(unsigned uCodePage, const char* pSrc, ptrdiff_t nSrc, KQWCHAR* pDst,
                     size_t nDstCap) {
    if (nDstCap == 0) return 0;
    const size_t n = nSrc < 0 ? std::strlen(pSrc) : static_cast<size_t>(nSrc);
    size_t nOut = 0;
    if (IsWindows1252(uCodePage)) {
        for (size_t i = 0; i < n && pSrc[i] != 0 && nOut + 1 < nDstCap; ++i)
            pDst[nOut++] = Cp1252ToUtf16(static_cast<unsigned char>(pSrc[i]));
    } else {
        std::vector<char> utf16;
        if (IconvAll("UTF-16LE", IconvName(uCodePage).c_str(), pSrc, strnlen(pSrc, n), 1,
                     "\xFD\xFF", utf16)) {
            for (size_t i = 0; i + 1 < utf16.size() && nOut + 1 < nDstCap; i += 2)
                pDst[nOut++] = static_cast<KQWCHAR>(static_cast<unsigned char>(utf16[i]) |
                                                    static_cast<unsigned char>(utf16[i + 1]) << 8);
        }
    }
    pDst[nOut] = 0;
    return nOut;
}

size_t KqToMultiByte(unsigned uCodePage, const KQWCHAR* pSrc, char* pDst, size_t nDstCap) {
    if (nDstCap == 0) return 0;
    size_t nOut = 0;
    if (IsWindows1252(uCodePage)) {
        for (size_t i = 0; pSrc[i] != 0 && nOut + 1 < nDstCap; ++i) {
            const int c = Utf16ToCp1252(static_cast<uint16_t>(pSrc[i]));
            pDst[nOut++] = c < 0 ? '?' : static_cast<char>(c);
        }
    } else {
        std::vector<char> in;
        for (size_t i = 0; pSrc[i] != 0; ++i) {
            in.push_back(static_cast<char>(pSrc[i] & 0xFF));
            in.push_back(static_cast<char>(pSrc[i] >> 8));
        }
        std::vector<char> bytes;
        if (IconvAll(IconvName(uCodePage).c_str(), "UTF-16LE", in.data(), in.size(), 2, "?", bytes))
            for (size_t i = 0; i < bytes.size() && nOut + 1 < nDstCap; ++i)
                pDst[nOut++] = bytes[i];
    }
    pDst[nOut] = 0;
    return nOut;
}

} // namespace gx
