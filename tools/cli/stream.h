// Streams of the host: standard input read in large blocks and cut into lines, standard output
// gathered in a large buffer, and plain decimal numbers read and written without the C
// library's locale-aware formatted input and output.
#ifndef GEOXFORM_CLI_STREAM_H
#define GEOXFORM_CLI_STREAM_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class OutBuffer;

// Lines of a file descriptor, read in blocks of up to 1 MiB. Memory stays bounded whatever the
// input: a line longer than kMaxLine bytes is not kept; it is delivered empty with bOverlong
// set. The output buffer given is flushed before every read that may wait for input.
class LineReader {
public:
    static const size_t kMaxLine = 4u << 20;
    LineReader(int fd, OutBuffer* pFlushBeforeWait);
    // The next line without its '\n' (a '\r' before it stays); false at the end of the input.
    // A last line without a final newline is a line.
    bool Next(std::string_view& line, bool& bOverlong);
    long long LineNumber() const { return m_nLine; }

private:
    bool Fill(); // false when nothing more can be read
    int m_fd;
    OutBuffer* m_pOut;
    std::vector<char> m_buffer;
    size_t m_begin = 0, m_end = 0;
    bool m_bEof = false;
    long long m_nLine = 0;
};

// Standard output in blocks of 1 MiB.
class OutBuffer {
public:
    explicit OutBuffer(std::FILE* pOut);
    ~OutBuffer();
    OutBuffer(const OutBuffer&) = delete;
    OutBuffer& operator=(const OutBuffer&) = delete;
    void Append(std::string_view text);
    void Append(char c);
    void Flush();

private:
    std::FILE* m_pOut;
    std::string m_text;
};

// Reads a token that is entirely a plain decimal number ("-12.5", "3", ".5"; no sign '+', no
// exponent, no other characters) as strtod would; false for anything else, and for numbers
// strtod reports out of range (the caller's general reader decides those).
bool ReadPlainDecimal(std::string_view token, double& value);

// Replaces text with value as printf's "%.*f"; false (text unspecified) when the result would
// have more than nMaxLength characters.
bool WriteFixed(double value, int precision, std::string& text, size_t nMaxLength = 255);

// The whitespace-separated words of a line (blanks, tabs and carriage returns separate).
void SplitWords(std::string_view line, std::vector<std::string_view>& words);

} // namespace cli

#endif
