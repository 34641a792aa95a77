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

const double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide;

// |value| x 10^precision rounded to a whole number as printf rounds it: to the nearest, ties
// to even, on the exact binary value. False from 2^53 on, and when the result needs more
// than 64 bits.
bool ScaledMagnitude(double value, int precision, uint64_t& scaled) {
    static const auto kPowersOfFive = [] {
        std::array<uint64_t, 20> powers{};
        powers[0] = 1;
        for (size_t i = 1; i < powers.size(); ++i)
            powers[i] = powers[i - 1] * 5;
        return powers;
    }();
    if (precision < 0 || precision > 19) return false;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    const int biased = static_cast<int>(bits >> 52 & 0x7FF);
    uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
    if (biased != 0) mantissa |= uint64_t(1) << 52;
    const int exponent = biased != 0 ? biased - 1075 : -1074; // |value| = mantissa x 2^exponent
    if (exponent > 0) return false;
    // |value| x 10^p = mantissa x 5^p x 2^(exponent + p), below 2^53 x 5^19 x 2^19 < 2^117
    Wide n = static_cast<Wide>(mantissa) * kPowersOfFive[precision];
    const int shift = -(exponent + precision);
    if (shift <= 0) {
        n <<= -shift;
    } else if (shift >= 127) {
        n = 0; // below 2^-38: rounds to 0
    } else {
        const Wide rest = n & ((Wide(1) << shift) - 1), half = Wide(1) << (shift - 1);
        n >>= shift;
        if (rest > half || (rest == half && (n & 1) != 0)) ++n;
    }
    if ((n >> 64) != 0) return false;
    scaled = static_cast<uint64_t>(n);
    return true;
}
#else
bool ScaledMagnitude(double, int, uint64_t&) {
    return false;
}
#endif

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
    // Forty characters carry every digit a double keeps; longer tokens go the general way.
    if (token.empty() || token.size() > 40) return false;
    const bool bNegative = token[0] == '-';
    uint64_t digits = 0;
    int nSignificant = 0, nDecimals = 0;
    bool bDigits = false, bPoint = false;
    for (size_t i = bNegative ? 1 : 0; i < token.size(); ++i) {
        const char c = token[i];
        if (c >= '0' && c <= '9') {
            bDigits = true;
            if (nSignificant > 0 || c != '0') ++nSignificant;
            if (nSignificant <= 19) digits = digits * 10 + static_cast<unsigned>(c - '0');
            if (bPoint) ++nDecimals;
        } else if (c == '.' && !bPoint) {
            bPoint = true;
        } else {
            return false;
        }
    }
    if (!bDigits) return false;
    // Both exact as doubles: one division rounds the quotient correctly (Clinger's fast path).
    if (nSignificant <= 19 && digits <= (uint64_t(1) << 53) && nDecimals <= 22) {
        value = static_cast<double>(digits) / kPowersOfTen[nDecimals];
        if (bNegative) value = -value;
        return true;
    }
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    // A value that underflows into the subnormals is a range error to strtod.
    return result.ec == std::errc() && result.ptr == token.data() + token.size() &&
           (std::isnormal(value) || nSignificant == 0);
}

bool WriteFixed(double value, int precision, std::string& text, size_t nMaxLength) {
    char digits[400];
    size_t n = 0;
    uint64_t scaled = 0;
    if (std::isfinite(value) && precision >= 0 && ScaledMagnitude(value, precision, scaled)) {
        // The digits from the last, two at a time, then the sign.
        static const auto kPairs = [] {
            std::array<char, 200> pairs{};
            for (size_t i = 0; i < 100; ++i) {
                pairs[2 * i] = static_cast<char>('0' + i / 10);
                pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
            }
            return pairs;
        }();
        char reversed[24];
        size_t nDigits = 0;
        while (scaled >= 100) {
            const unsigned pair = static_cast<unsigned>(scaled % 100) * 2;
            scaled /= 100;
            reversed[nDigits++] = kPairs[pair + 1];
            reversed[nDigits++] = kPairs[pair];
        }
        reversed[nDigits++] = static_cast<char>('0' + scaled % 10);
        if (scaled >= 10) reversed[nDigits++] = static_cast<char>('0' + scaled / 10);
        while (nDigits <= static_cast<size_t>(precision))
            reversed[nDigits++] = '0';
        if (std::signbit(value)) digits[n++] = '-';
        while (nDigits > 0) {
            if (nDigits == static_cast<size_t>(precision)) digits[n++] = '.';
            digits[n++] = reversed[--nDigits];
        }
    } else if (!std::isfinite(value) || precision > 60) {
        const int length = std::snprintf(digits, sizeof(digits), "%.*f", precision, value);
        if (length < 0 || static_cast<size_t>(length) >= sizeof(digits)) return false;
        n = static_cast<size_t>(length);
    } else {
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
