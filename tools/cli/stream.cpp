#include "stream.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#include <io.h>
#define GX_READ(fd, p, n) _read(fd, p, static_cast<unsigned>(n))
#else
#include <unistd.h>
#define GX_READ(fd, p, n) read(fd, p, n)
#endif

namespace cli {

namespace {

const size_t kBlock = 1u << 20;

} // namespace

LineReader::LineReader(int fd, OutBuffer* pFlushBeforeWait)
    : m_fd(fd), m_pOut(pFlushBeforeWait), m_buffer(kBlock) {}

bool LineReader::Fill() {
    if (m_bEof) return false;
    if (m_begin > 0) { // keep the unfinished line at the front
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_end == m_buffer.size()) {
        if (m_buffer.size() > kMaxLine) return true; // the caller sees a full buffer
        m_buffer.resize(m_buffer.size() * 2 > kMaxLine + 1 ? kMaxLine + 1 : m_buffer.size() * 2);
    }
    // What was converted so far goes out before the read may wait for more input, so that
    // lines typed at a terminal are answered at once.
    if (m_pOut != nullptr) m_pOut->Flush();
    for (;;) {
        const auto n = GX_READ(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (n > 0) {
            m_end += static_cast<size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        m_bEof = true; // end of input, or an error reading it
        return false;
    }
}

bool LineReader::Next(std::string_view& line, bool& bOverlong) {
    bOverlong = false;
    size_t searched = m_begin;
    for (;;) {
        const char* pStart = m_buffer.data();
        const void* pNewline = std::memchr(pStart + searched, '\n', m_end - searched);
        if (pNewline != nullptr) {
            const size_t at = static_cast<size_t>(static_cast<const char*>(pNewline) - pStart);
            line =
                bOverlong ? std::string_view() : std::string_view(pStart + m_begin, at - m_begin);
            m_begin = at + 1;
            ++m_nLine;
            return true;
        }
        if (m_end - m_begin > kMaxLine) { // too long to keep: drop what is read, up to its end
            bOverlong = true;
            m_begin = m_end = 0;
        }
        const size_t kept = m_end - m_begin;
        if (!Fill()) {
            if (kept == 0 && !bOverlong) return false;
            line =
                bOverlong ? std::string_view() : std::string_view(m_buffer.data() + m_begin, kept);
            m_begin = m_end;
            ++m_nLine;
            return true;
        }
        searched = m_begin + kept;
    }
}

OutBuffer::OutBuffer(std::FILE* pOut) : m_pOut(pOut) {
    m_text.reserve(kBlock + 4096);
}

OutBuffer::~OutBuffer() {
    Flush();
}

void OutBuffer::Append(std::string_view text) {
    m_text.append(text.data(), text.size());
    if (m_text.size() >= kBlock) Flush();
}

void OutBuffer::Append(char c) {
    m_text.push_back(c);
}

void OutBuffer::Flush() {
    if (!m_text.empty()) std::fwrite(m_text.data(), 1, m_text.size(), m_pOut);
    m_text.clear();
    std::fflush(m_pOut);
}

bool ReadPlainDecimal(std::string_view token, double& value) {
    // Only [-]digits[.digits]: anything else (a sign '+', exponents, DMS text, hemisphere
    // letters) goes to the library's reader, as before.
    if (token.empty()) return false;
    size_t i = token[0] == '-' ? 1 : 0;
    bool bDigits = false, bPoint = false, bSignificant = false;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c >= '0' && c <= '9') {
            bDigits = true;
            bSignificant = bSignificant || c != '0';
        } else if (c != '.' || bPoint) {
            return false;
        } else {
            bPoint = true;
        }
    }
    if (!bDigits) return false;
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    // A value that underflows into the subnormals is a range error to strtod.
    return result.ec == std::errc() && result.ptr == token.data() + token.size() &&
           (std::isnormal(value) || !bSignificant);
}

bool WriteFixed(double value, int precision, std::string& text, size_t nMaxLength) {
    char digits[400];
    size_t n = 0;
    if (!std::isfinite(value) || precision < 0 || precision > 60) {
        const int length = std::snprintf(digits, sizeof(digits), "%.*f", precision, value);
        if (length < 0 || static_cast<size_t>(length) >= sizeof(digits)) return false;
        n = static_cast<size_t>(length);
    } else { // the digits of printf's %.*f, correctly rounded
        const auto result = std::to_chars(digits, digits + sizeof(digits), value,
                                          std::chars_format::fixed, precision);
        if (result.ec != std::errc()) return false;
        n = static_cast<size_t>(result.ptr - digits);
    }
    if (n > nMaxLength) return false;
    text.assign(digits, n);
    return true;
}

void SplitWords(std::string_view line, std::vector<std::string_view>& words) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
}

} // namespace cli
