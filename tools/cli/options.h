// The command line of the host: a command, its positional arguments and the options.
#ifndef GEOXFORM_CLI_OPTIONS_H
#define GEOXFORM_CLI_OPTIONS_H

#include <string>
#include <vector>

namespace cli {

struct Options {
    std::string command;
    std::vector<std::string> arguments;
    std::string dataDirectory; // --data DIR
    std::string language;      // --lang LANGUAGE
    std::string units;         // --units NAME
    double scale = 1.0;        // --scale N
    int precision = -1;        // --precision N; -1: the command's default
    bool dms = false;          // --dms
    bool latFirst = false;     // --lat-first
    std::string comment = "#"; // --comment PREFIX
    bool csv = false;          // --csv
    std::string xColumn;       // --x NAME or NUMBER
    std::string yColumn;       // --y NAME or NUMBER
    std::string outX, outY;    // --out-x NAME, --out-y NAME
    bool replace = false;      // --replace
    bool help = false;         // --help
};

// Parses argv; false with a message in error for an unknown option or a bad value. Words that
// start with a minus sign and a digit are numbers, not options.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

} // namespace cli

#endif
