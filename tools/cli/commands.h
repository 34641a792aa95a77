// The commands of the host.
#ifndef GEOXFORM_CLI_COMMANDS_H
#define GEOXFORM_CLI_COMMANDS_H

#include <cstdio>
#include <string>

#include "options.h"

namespace cli {

// Exit codes: 0 done; 1 some lines of a stream could not be converted; 2 the command could
// not run (unknown command or system, bad argument, no reference data).
const int kExitOk = 0;
const int kExitBadLines = 1;
const int kExitUsage = 2;

int RunCommand(const Options& options);

// The usage of one command, or of the whole program for an empty or unknown name.
void PrintUsage(std::FILE* pOut, const std::string& command);

} // namespace cli

#endif
