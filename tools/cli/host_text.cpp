#include "host_text.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "stream.h"

namespace cli {

KqString FromUtf8(const std::string& text) {
    KqString out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned code = 0xFFFD;
        size_t n = 1;
        if (c < 0x80) {
            code = c;
        } else if ((c >> 5) == 6 && i + 1 < text.size()) {
            code = (c & 0x1Fu) << 6 | (text[i + 1] & 0x3F);
            n = 2;
        } else if ((c >> 4) == 14 && i + 2 < text.size()) {
            code = (c & 0x0Fu) << 12 | (text[i + 1] & 0x3F) << 6 | (text[i + 2] & 0x3F);
            n = 3;
        } else if ((c >> 3) == 30 && i + 3 < text.size()) {
            code = (c & 0x07u) << 18 | (text[i + 1] & 0x3F) << 12 | (text[i + 2] & 0x3F) << 6 |
                   (text[i + 3] & 0x3F);
            n = 4;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<KQWCHAR>(0xD800 + (code >> 10)));
            out.push_back(static_cast<KQWCHAR>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<KQWCHAR>(code));
        }
        i += n;
    }
    return out;
}

std::string ToUtf8(const KQWCHAR* psz) {
    std::string out;
    for (; *psz != 0; ++psz) {
        unsigned code = static_cast<unsigned>(*psz) & 0xFFFF;
        if (code >= 0xD800 && code < 0xDC00 && (psz[1] & 0xFC00) == 0xDC00) {
            code = 0x10000 + ((code - 0xD800) << 10) + ((psz[1] & 0x3FF));
            ++psz;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | code >> 6));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | code >> 12));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | code >> 18));
            out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* pEnd = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &pEnd);
    return pEnd == text.c_str() + text.size() && errno != ERANGE;
}

bool ParseInteger(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* pEnd = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &pEnd, 10);
    if (pEnd != text.c_str() + text.size() || errno == ERANGE || v < -2147483647L ||
        v > 2147483647L)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string_view> words;
    SplitWords(line, words);
    return {words.begin(), words.end()};
}

} // namespace cli
