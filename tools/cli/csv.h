// Comma-separated lines: fields as they stand (quotes included) and their values.
#ifndef GEOXFORM_CLI_CSV_H
#define GEOXFORM_CLI_CSV_H

#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The fields of one line (without its line end), each as it stands in the line. A field that
// starts with a quote runs to the quote that closes it ("" inside is a quote) and on to the
// next comma; a field does not continue on the next line.
void SplitCsv(std::string_view line, std::vector<std::string_view>& fields);

// The value of a field: blanks around it dropped, its quotes removed and "" read as ".
std::string_view CsvValue(std::string_view field, std::string& scratch);

// Appends text as one field, quoted when it holds a comma, a quote or a line end.
void AppendCsvField(std::string& out, std::string_view text);

} // namespace cli

#endif
