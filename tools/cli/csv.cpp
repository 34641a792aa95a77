#include "csv.h"

namespace cli {

void SplitCsv(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    size_t start = 0;
    for (;;) {
        size_t i = start;
        if (i < line.size() && line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] != '"') continue;
                if (i + 1 < line.size() && line[i + 1] == '"')
                    ++i;
                else
                    break;
            }
        }
        const size_t comma = line.find(',', i < line.size() ? i : line.size());
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string_view CsvValue(std::string_view field, std::string& scratch) {
    const size_t first = field.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    field = field.substr(first, field.find_last_not_of(" \t") - first + 1);
    if (field.size() < 2 || field.front() != '"' || field.back() != '"') return field;
    field = field.substr(1, field.size() - 2);
    if (field.find('"') == std::string_view::npos) return field;
    scratch.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        scratch.push_back(field[i]);
        if (field[i] == '"' && i + 1 < field.size() && field[i + 1] == '"') ++i;
    }
    return scratch;
}

void AppendCsvField(std::string& out, std::string_view text) {
    bool bQuote = false;
    for (const char c : text)
        bQuote = bQuote || c == ',' || c == '"' || c == '\r' || c == '\n';
    if (!bQuote) {
        out.append(text.data(), text.size());
        return;
    }
    out.push_back('"');
    for (const char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

} // namespace cli
