#pragma once

// The checks a cell of a spreadsheet passes before its text goes into a record (spaces,
// the Windows-1252 form, widths, the characters a field cannot hold) and the pieces of
// the messages that name a cell and its line. Shared by the imports of composition
// tables and of reference values.

#include <optional>
#include <string>
#include <string_view>

#include "storage/Text.h"

namespace velmaro::sheet {

// Ends trimmed (spaces, tabs, line breaks); inner runs of white space made one space when
// `collapse` is set.
std::string CleanSpaces(std::string_view text, bool collapse = true);

// A text of the file in a message, in quotes; a very long one (a damaged file's cell of
// megabytes) shown by its start.
std::string Quoted(std::string_view cp1252);

// "Linha N: " and the message (Windows-1252).
std::string AtLine(int line, const std::string& message);

// The message with its first letter in upper case.
std::string Capitalized(std::string text);

// The text with its letters A to Z in lower case.
using velmaro::AsciiLower;

// The text padded with spaces on the right to `width` bytes (never cut).
std::string Pad(std::string text, size_t width);

// The reason a text cannot be stored in a name field, or in a free text field when
// `isName` is false (there only "|" and control characters are refused), or nothing.
// `what` is the Windows-1252 subject of the message ("o nome", "o grupo", "a fonte");
// `maxWidth` 0 means no limit.
std::optional<std::string> NameProblem(std::string_view cp1252, std::string_view what,
                                       size_t maxWidth, bool isName);

// The Windows-1252 form of a UTF-8 cell; nothing, with the reason in `problem`, when it
// holds characters Windows-1252 has not.
std::optional<std::string> ToCp1252(std::string_view utf8, std::string_view what,
                                    std::string& problem);

}  // namespace velmaro::sheet
