#pragma once

// The subcommands of the command-line companion. Each takes its parsed arguments (the
// operands checked in number by the dispatcher) and returns the exit status; it throws
// UserError or UsageError, and lets StorageError through, for the dispatcher to report.

#include "cli/Arguments.h"
#include "cli/CliSupport.h"

namespace velmaro::cli {

int TableImportCommand(const Arguments& arguments, CliIo& io);
int TableExportCommand(const Arguments& arguments, CliIo& io);
int TableListCommand(const Arguments& arguments, CliIo& io);
int TableSugarsCommand(const Arguments& arguments, CliIo& io);
int ReferenceImportCommand(const Arguments& arguments, CliIo& io);
int ReferenceExportCommand(const Arguments& arguments, CliIo& io);
int ReferenceListCommand(const Arguments& arguments, CliIo& io);
int LabelCommand(const Arguments& arguments, CliIo& io);
int ReportCommand(const Arguments& arguments, CliIo& io);
int BatchCommand(const Arguments& arguments, CliIo& io);
int RecomputeCommand(const Arguments& arguments, CliIo& io);
int CheckCommand(const Arguments& arguments, CliIo& io);

}  // namespace velmaro::cli
