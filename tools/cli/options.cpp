#include "options.h"

#include "host_text.h"

namespace cli {

namespace {

bool IsNumberLike(const std::string& word) {
    return word.size() > 1 && word[0] == '-' &&
           ((word[1] >= '0' && word[1] <= '9') || word[1] == '.');
}

} // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    bool bOptionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (bOptionsEnded || word.empty() || word[0] != '-' || IsNumberLike(word)) {
            if (options.command.empty())
                options.command = word;
            else
                options.arguments.push_back(word);
            continue;
        }
        if (word == "--") {
            bOptionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            options.help = true;
            continue;
        }
        bool* const pFlag = word == "--dms"         ? &options.dms
                            : word == "--lat-first" ? &options.latFirst
                            : word == "--csv"       ? &options.csv
                            : word == "--replace"   ? &options.replace
                                                    : nullptr;
        if (pFlag != nullptr) {
            *pFlag = true;
            continue;
        }
        std::string* const pText = word == "--data"      ? &options.dataDirectory
                                   : word == "--lang"    ? &options.language
                                   : word == "--units"   ? &options.units
                                   : word == "--comment" ? &options.comment
                                   : word == "--x"       ? &options.xColumn
                                   : word == "--y"       ? &options.yColumn
                                   : word == "--out-x"   ? &options.outX
                                   : word == "--out-y"   ? &options.outY
                                                         : nullptr;
        const bool bTakesValue =
            pText != nullptr || word == "--scale" || word == "--precision" || word == "-p";
        if (!bTakesValue) {
            error = "unknown option " + word;
            return false;
        }
        if (i + 1 >= argc) {
            error = word + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (pText != nullptr) {
            *pText = value;
            const bool bMayBeEmpty = pText == &options.dataDirectory ||
                                     pText == &options.language || pText == &options.units;
            if (value.empty() && !bMayBeEmpty) {
                error = word + " needs a value that is not empty";
                return false;
            }
        } else if (word == "--scale") {
            if (!ParseNumber(value, options.scale) || !(options.scale > 0)) {
                error = "--scale needs a positive number, not '" + value + "'";
                return false;
            }
        } else if (!ParseInteger(value, options.precision) || options.precision < 0 ||
                   options.precision > 15) {
            error = "--precision needs a whole number from 0 to 15, not '" + value + "'";
            return false;
        }
    }
    return true;
}

} // namespace cli
