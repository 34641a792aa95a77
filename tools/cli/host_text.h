// Text helpers of the command-line host: UTF-8 on the command line and in streams, UTF-16
// (KQWCHAR) at the library's interface.
#ifndef GEOXFORM_CLI_HOST_TEXT_H
#define GEOXFORM_CLI_HOST_TEXT_H

#include <string>
#include <vector>

#include "geoxform.h"

namespace cli {

using KqString = std::basic_string<KQWCHAR>;

KqString FromUtf8(const std::string& text);
std::string ToUtf8(const KQWCHAR* psz);

// True when the whole text is one decimal number (no trailing characters).
bool ParseNumber(const std::string& text, double& value);
bool ParseInteger(const std::string& text, int& value);

// ASCII lower case, for case-insensitive matching of names.
std::string Lower(std::string text);

// The whitespace-separated words of a line.
std::vector<std::string> Words(const std::string& line);

} // namespace cli

#endif
