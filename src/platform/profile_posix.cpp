// The profile reader for platforms without one: the file is read whole on every call, decoded
// by its byte-order mark, and searched line by line with the rules of profile.h.
#include "platform/profile.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/platform.h"
#include "platform/wide_string.h"

namespace gx {

namespace {

// Larger files are not language files; they read as missing rather than filling memory.
const size_t kMaxFileSize = 16u << 20;

using KqText = std::basic_string<KQWCHAR>;

enum class Encoding { kAnsi, kUtf8, kUtf16 };

struct FileText {
    std::string bytes; // without the byte-order mark
    Encoding encoding = Encoding::kAnsi;
};

bool ReadFileText(const char* pszUtf8Path, FileText& file) {
    std::FILE* pFile = std::fopen(pszUtf8Path, "rb");
    if (pFile == nullptr) return false;
    char chunk[4096];
    size_t n = 0;
    bool bOk = true;
    while (bOk && (n = std::fread(chunk, 1, sizeof(chunk), pFile)) > 0) {
        bOk = file.bytes.size() + n <= kMaxFileSize;
        if (bOk) file.bytes.append(chunk, n);
    }
    std::fclose(pFile);
    if (!bOk) return false;
    if (file.bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        file.encoding = Encoding::kUtf8;
        file.bytes.erase(0, 3);
    } else if (file.bytes.compare(0, 2, "\xFF\xFE") == 0) {
        file.encoding = Encoding::kUtf16;
        file.bytes.erase(0, 2);
    }
    return true;
}

KqText DecodeUtf16(const std::string& bytes) {
    KqText text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) // an odd last byte is dropped
        text.push_back(static_cast<KQWCHAR>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

// The file as UTF-16: ANSI from the system code page, UTF-8 through the converter.
KqText DecodeWide(const FileText& file) {
    if (file.encoding == Encoding::kUtf16) return DecodeUtf16(file.bytes);
    std::vector<KQWCHAR> wide(file.bytes.size() + 1);
    const size_t n =
        MultiByteToKq(file.encoding == Encoding::kUtf8 ? 65001 : kAnsiCodePage, file.bytes.data(),
                      static_cast<ptrdiff_t>(file.bytes.size()), wide.data(), wide.size());
    return KqText(wide.data(), n);
}

// The file as 8-bit text: an ANSI file's own bytes; a Unicode file (UTF-8 or UTF-16 with its
// mark) in the system code page, as Windows gives it.
std::string DecodeNarrow(const FileText& file) {
    if (file.encoding == Encoding::kAnsi) return file.bytes;
    const KqText wide = DecodeWide(file);
    std::vector<char> narrow(2 * wide.size() + 1);
    const size_t n = KqToMultiByte(kAnsiCodePage, wide.c_str(), narrow.data(), narrow.size());
    return std::string(narrow.data(), n);
}

// Case folding for section and key names: the ASCII letters, as the Windows functions fold
// them (under Wine, an "\u00DC" section is not found as "\u00FC").
unsigned Fold(unsigned u) {
    return (u >= 'A' && u <= 'Z') ? u + 32 : u;
}

template <class Char>
unsigned Unit(Char c) {
    return static_cast<unsigned>(static_cast<typename std::make_unsigned<Char>::type>(c));
}

template <class Char>
bool IsBlank(Char c) {
    return c == ' ' || c == '\t';
}

template <class Char>
struct Span {
    const Char* p;
    size_t n;
};

template <class Char>
Span<Char> Trim(const Char* p, size_t n) {
    while (n > 0 && IsBlank(*p))
        ++p, --n;
    while (n > 0 && IsBlank(p[n - 1]))
        --n;
    return {p, n};
}

template <class Char>
bool EqualNoCase(Span<Char> a, const Char* psz) {
    size_t i = 0;
    for (; i < a.n; ++i)
        if (psz[i] == 0 || Fold(Unit(a.p[i])) != Fold(Unit(psz[i]))) return false;
    return psz[i] == 0;
}

// Finds the value of the key in the first section of that name; false when either is missing.
template <class Char>
bool FindValue(const std::basic_string<Char>& text, const Char* pszSection, const Char* pszKey,
               Span<Char>& value) {
    bool bInSection = false;
    bool bSeenSection = false;
    const Char* p = text.data();
    const Char* const pEnd = p + text.size();
    while (p < pEnd) {
        const Char* pLineEnd = p;
        while (pLineEnd < pEnd && *pLineEnd != '\n' && *pLineEnd != '\r')
            ++pLineEnd;
        const Span<Char> line = Trim(p, static_cast<size_t>(pLineEnd - p));
        p = pLineEnd + 1;
        if (line.n > 0 && line.p[0] == '[') {
            if (bSeenSection) return false; // only the first section of the name counts
            size_t nName = 1;
            while (nName < line.n && line.p[nName] != ']')
                ++nName;
            bInSection = EqualNoCase(Trim(line.p + 1, nName - 1), pszSection);
            bSeenSection = bInSection;
            continue;
        }
        if (!bInSection) continue;
        size_t nKey = 0;
        while (nKey < line.n && line.p[nKey] != '=')
            ++nKey;
        if (nKey == line.n || !EqualNoCase(Trim(line.p, nKey), pszKey)) continue;
        value = Trim(line.p + nKey + 1, line.n - nKey - 1);
        const Char first = value.n >= 2 ? value.p[0] : Char(0);
        if ((first == '"' || first == '\'') && value.p[value.n - 1] == first) {
            ++value.p;
            value.n -= 2;
        }
        return true;
    }
    return false;
}

template <class Char>
size_t CopyOut(const Char* p, size_t n, Char* pszOut, size_t nCap) {
    if (nCap == 0) return 0;
    if (n > nCap - 1) n = nCap - 1;
    for (size_t i = 0; i < n; ++i)
        pszOut[i] = p[i];
    pszOut[n] = 0;
    return n;
}

// The default without its trailing spaces, as the Windows functions give it (a trailing tab
// stays).
template <class Char>
size_t CopyDefault(const Char* pszDefault, Char* pszOut, size_t nCap) {
    size_t n = 0;
    if (pszDefault != nullptr)
        while (pszDefault[n] != 0)
            ++n;
    while (n > 0 && pszDefault[n - 1] == ' ')
        --n;
    return CopyOut(pszDefault, n, pszOut, nCap);
}

// Looks the key up in the file decoded by decode; the default when anything is missing.
template <class Char, class Decode>
size_t Lookup(const char* pszUtf8Path, const Char* pszSection, const Char* pszKey,
              const Char* pszDefault, Char* pszOut, size_t nCap, Decode decode) {
    if (nCap == 0) return 0;
    try {
        FileText file;
        if (pszSection != nullptr && pszKey != nullptr && ReadFileText(pszUtf8Path, file)) {
            const std::basic_string<Char> text = decode(file);
            Span<Char> value{nullptr, 0};
            if (FindValue(text, pszSection, pszKey, value))
                return CopyOut(value.p, value.n, pszOut, nCap);
        }
    } catch (...) { // memory exhausted: as if the file were missing
    }
    return CopyDefault(pszDefault, pszOut, nCap);
}

} // namespace

size_t GetProfileStringKq(const KQWCHAR* pszSection, const KQWCHAR* pszKey,
                          const KQWCHAR* pszDefault, KQWCHAR* pszOut, size_t nCap,
                          const KQWCHAR* pszFile) {
    std::vector<char> path;
    try {
        path.resize(pszFile != nullptr ? 3 * KqLen(pszFile) + 1 : 1);
    } catch (...) {
        return CopyDefault(pszDefault, pszOut, nCap);
    }
    if (pszFile != nullptr) KqToMultiByte(65001, pszFile, path.data(), path.size());
    return Lookup(path.data(), pszSection, pszKey, pszDefault, pszOut, nCap, DecodeWide);
}

size_t GetProfileStringAnsi(const char* pszSection, const char* pszKey, const char* pszDefault,
                            char* pszOut, size_t nCap, const char* pszFile) {
    // The name is in the system code page; the file system takes UTF-8.
    std::vector<KQWCHAR> wide;
    std::vector<char> path;
    try {
        const size_t n = pszFile != nullptr ? std::strlen(pszFile) : 0;
        wide.resize(n + 1);
        path.resize(3 * n + 1);
    } catch (...) {
        return CopyDefault(pszDefault, pszOut, nCap);
    }
    if (pszFile != nullptr) {
        MultiByteToKq(kAnsiCodePage, pszFile, -1, wide.data(), wide.size());
        KqToMultiByte(65001, wide.data(), path.data(), path.size());
    }
    return Lookup(path.data(), pszSection, pszKey, pszDefault, pszOut, nCap, DecodeNarrow);
}

} // namespace gx
