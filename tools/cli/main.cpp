// geoxform: the command-line host of the library.
#include <cstdio>
#include <string>

#include "commands.h"
#include "options.h"

int main(int argc, char** argv) {
    cli::Options options;
    std::string error;
    if (!cli::ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "geoxform: %s\n\n", error.c_str());
        cli::PrintUsage(stderr, options.command);
        return cli::kExitUsage;
    }
    return cli::RunCommand(options);
}
