#include "refdata/data_file.h"

#include <cstdio>
#include <cstdlib>

#include <zlib.h>

#include "platform/number_text.h"
#include "platform/platform.h"

namespace gx {

namespace {

const uint32_t kMagic = 0x44534355; // the bytes "UCSD"
const uint32_t kVersion = 1;
const size_t kHeaderSize = 16;
// The inflate buffer holds this much more than the declared text, so that a stream that
// inflates to more is seen as too long rather than cut to the declared length.
const uint32_t kInflateSlack = 32;
const char kFileName[] = "KQUCSData.kqb";
const char kSupportDirectory[] = "Support";

uint32_t LittleEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// True when the file holds at least nBytes after the current position.
bool FileHolds(std::FILE* pFile, uint32_t nBytes) {
    const long nPosition = std::ftell(pFile);
    if (nPosition < 0 || std::fseek(pFile, 0, SEEK_END) != 0) return false;
    const long nEnd = std::ftell(pFile);
    if (nEnd < nPosition || std::fseek(pFile, nPosition, SEEK_SET) != 0) return false;
    return static_cast<unsigned long>(nEnd - nPosition) >= nBytes;
}

// Checks the header and reads the stream that follows it; null on any failure.
unsigned char* ReadStream(std::FILE* pFile, uint32_t& nCompressed, uint32_t& nText) {
    unsigned char header[kHeaderSize];
    if (std::fread(header, 1, kHeaderSize, pFile) != kHeaderSize) return nullptr;
    if (LittleEndian32(header) != kMagic || LittleEndian32(header + 4) != kVersion) return nullptr;
    nCompressed = LittleEndian32(header + 8);
    nText = LittleEndian32(header + 12);
    // A zero text length is refused here: an empty text holds no line and fails anyway.
    if (nCompressed == 0 || nCompressed > kMaxDataLength || nText == 0 || nText > kMaxDataLength)
        return nullptr;
    if (!FileHolds(pFile, nCompressed)) return nullptr;
    auto* pStream = static_cast<unsigned char*>(std::malloc(nCompressed));
    if (pStream == nullptr) return nullptr;
    if (std::fread(pStream, 1, nCompressed, pFile) != nCompressed) {
        std::free(pStream);
        return nullptr;
    }
    return pStream;
}

// Inflates the stream in one call into a buffer of the text length plus the slack; the
// result must be exactly the declared length.
char* Inflate(const unsigned char* pStream, uint32_t nCompressed, uint32_t nText) {
    uLongf nSize = static_cast<uLongf>(nText) + kInflateSlack;
    auto* pText = static_cast<char*>(std::malloc(nSize));
    if (pText == nullptr) return nullptr;
    if (uncompress(reinterpret_cast<Bytef*>(pText), &nSize, pStream, nCompressed) != Z_OK ||
        nSize != nText) {
        std::free(pText);
        return nullptr;
    }
    pText[nText] = 0;
    return pText;
}

} // namespace

bool DataFileName(const KQWCHAR* pszPath, KQWCHAR (&name)[kMaxDataPath]) {
    KqTextBuilder path(name, kMaxDataPath);
    if (pszPath != nullptr && pszPath[0] != 0) {
        path.Append(pszPath);
    } else {
        KQWCHAR directory[kMaxDataPath];
        if (LibraryDirectory(directory, kMaxDataPath) == 0) return false;
        path.Append(directory);
        path.AppendChar(kPathSeparator);
        path.AppendAscii(kSupportDirectory);
    }
    if (name[path.Length() - 1] != kPathSeparator) path.AppendChar(kPathSeparator);
    path.AppendAscii(kFileName);
    return !path.Overflowed();
}

char* ReadDataFileText(const KQWCHAR* pszFileName) {
    std::FILE* pFile = OpenSharedDenyWrite(pszFileName);
    if (pFile == nullptr) return nullptr;
    uint32_t nCompressed = 0;
    uint32_t nText = 0;
    unsigned char* pStream = ReadStream(pFile, nCompressed, nText);
    std::fclose(pFile);
    if (pStream == nullptr) return nullptr;
    char* pText = Inflate(pStream, nCompressed, nText);
    std::free(pStream);
    return pText;
}

} // namespace gx
