#pragma once

// Export of a composition table's ingredients as a CSV file that the import reads back
// unchanged: plain UTF-8 text with a byte-order mark (so spreadsheets take it as UTF-8),
// ";" between cells, CR LF line ends, a header row with the names of kExportColumns
// (CompositionColumns.h) and "carboidrato inclui fibra" (the table's answer, "sim" or "não"
// in every row, TableCarbohydrate.h), then one row per ingredient in the order of the
// ingredient file.
// Numbers are written as stored, without their padding (decimal comma); a blank value, a
// blank date and an empty group are empty cells. A cell holding ";", a double quote or a
// line break is quoted; one that a spreadsheet would run as a formula starts with an
// apostrophe (CsvFormulaCells.h), which the import takes off again.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

struct ExportResult {
    std::string csv;  // the whole file
    int exported = 0;
    // Lines of the ingredient file (1-based) that do not hold the 30 fields of an
    // ingredient: they are left out of the file.
    std::vector<int> unreadableLines;
    // Lines of the file of the values beside the records (ExtraValues.h) that could not be
    // read: their values are missing from the file.
    std::vector<int> unreadableExtraLines;
};

// The CSV of table `table` (its key as stored). Throws StorageError when the ingredient
// file cannot be read.
ExportResult ExportCompositionTable(const std::filesystem::path& home, std::string_view table);

}  // namespace velmaro
