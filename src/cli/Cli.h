#pragma once

// The command-line companion of the desktop program: import and export of composition
// tables, labels and reports of one preparation or of a whole table, the recomputation of
// the preparations and the check of a data folder, all through the code the screens use.
//
//   velmaro-cli [--home PASTA] [--config ARQUIVO] COMANDO [ARGUMENTOS]
//
// --home and --config are taken off by the program before RunCli, as the desktop
// program takes them.

#include <string>
#include <vector>

#include "cli/CliSupport.h"

namespace velmaro::cli {

// Runs one command line (the arguments after the program's name). Results go to io.out;
// errors to io.err as one line "velmaro-cli: <motivo>" (exit 1), or with the usage text
// of the command (exit 2). "--help" of any command prints its help to io.out (exit 0).
int RunCli(const std::vector<std::string>& args, CliIo& io);

// The general usage text (UTF-8).
std::string UsageText();

}  // namespace velmaro::cli
