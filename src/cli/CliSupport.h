#pragma once

// What every command of the command-line companion shares: where it reads and writes,
// how it fails, and the conversions between the Windows-1252 texts of the data files and
// the UTF-8 of the terminal.

#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ImageOutput.h"

namespace velmaro::cli {

// The exit status of a run.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;  // the data or the files did not allow the work
inline constexpr int kExitUsage = 2;  // the command line does not follow the usage

// A reason the work could not be done (a table that does not exist, a file that cannot be
// written): one line in Portuguese, UTF-8.
class UserError : public std::runtime_error {
  public:
    explicit UserError(const std::string& message) : std::runtime_error(message) {}
};

// A command line that does not follow the usage: the reason, then the usage text.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// What the program hands to the commands.
struct CliIo {
    std::filesystem::path home;  // the data home
    ImageOutput& images;         // BMP, PNG and PDF files
    std::ostream& out;           // results
    std::ostream& err;           // errors, warnings and the progress bar
    bool errIsTerminal = false;  // the progress bar is redrawn in place on a terminal
    int terminalColumns = 80;
    // The files delivered with the program (the reference list a home without one gets);
    // empty: none.
    std::filesystem::path delivered = {};
};

// A Windows-1252 text of the data files as UTF-8, for the terminal.
std::string Utf8(std::string_view cp1252);
// A UTF-8 text of the command line as Windows-1252; UserError when a character cannot be
// held ("o nome da tabela" is `what`).
std::string FromUtf8(std::string_view utf8, std::string_view what);
// A name typed on the command line without the blanks (spaces, tabs) around it.
std::string TrimmedName(std::string_view utf8);
// A path given on the command line, and a path as shown in a message.
std::filesystem::path ArgumentPath(std::string_view utf8);
std::string Shown(const std::filesystem::path& path);

// "1 linha com erro", "2 linhas com erro": the count and the word that goes with it.
std::string Plural(int count, std::string_view one, std::string_view many);

// The CSV text a command makes: to the standard output when `operand` is "-", else
// written whole to that file, whose path it gives (UserError when it cannot be written).
std::optional<std::filesystem::path> WriteCsvOutput(std::string_view operand, std::string_view csv,
                                                    CliIo& io);

}  // namespace velmaro::cli
