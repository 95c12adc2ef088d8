#pragma once

// Writing comma-separated text that spreadsheets and the imports of this program read:
// UTF-8 with a byte-order mark (so spreadsheets take it as UTF-8), ";" between cells,
// CR LF line ends; a cell holding the separator, a double quote or a line break is quoted
// (RFC 4180), as CsvReader reads it back.

#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

inline constexpr char kCsvSeparator = ';';
inline constexpr std::string_view kCsvLineEnd = "\r\n";
inline constexpr std::string_view kCsvByteOrderMark = "\xEF\xBB\xBF";

// One cell (UTF-8) as it is written.
std::string CsvCell(std::string_view utf8);

// One row: its cells (UTF-8) joined by the separator, and the line end.
std::string CsvRow(const std::vector<std::string>& cells);

}  // namespace velmaro
