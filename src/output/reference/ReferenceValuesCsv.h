#pragma once

// The reference portions of packaged foods from and to a spreadsheet. The import fills
// the data home's "ValRef.dad" (one record a food, its seven fields padded to their
// widths, in sorted order) and "TabValRef.dad" (the reference tables, the food groups
// the rows name) from a CSV file, replacing the list they held; the export writes the
// list as a CSV file that the import reads back into the same bytes.
//
// The file: UTF-8 or Windows-1252, ";" or "," (both detected), a header row naming the
// columns (case, accents and units in parentheses do not matter): alimento, valor de
// referência, unidade, medida caseira, peso médio, apresentação no rótulo, tabela. The
// columns alimento, valor de referência, unidade and tabela must be there.

#include <array>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ingredients/CompositionImport.h"

namespace velmaro {

// The columns of the spreadsheet, in the order of the fields of a record (1 to 7), with
// the header the export writes (UTF-8) and the width of the field.
struct ReferenceColumn {
    std::string_view header;
    size_t width;
};
inline constexpr std::array<ReferenceColumn, 7> kReferenceColumns = {{
    {"alimento", 140},
    {"valor de referência", 70},
    {"unidade", 2},
    {"medida caseira", 60},
    {"peso médio", 70},
    {"apresentação no rótulo", 70},
    {"tabela", 76},
}};

struct ReferenceImportResult {
    bool written = false;
    // Row errors ("Linha N: ..."), then errors of the whole file; Windows-1252.
    std::vector<ImportError> errors;
    int imported = 0;       // foods written
    int tables = 0;         // reference tables written
    int refusedRows = 0;    // rows with errors
    int previousFoods = 0;  // foods the list held before, now replaced
    // Header cells (Windows-1252) that name no column; their cells are left aside.
    std::vector<std::string> ignoredColumns;
};

// Checks every row: the food is required, at most 140 characters, without the
// characters names cannot hold, and not repeated (without regard to case); the reference
// value is required; the unit is "g" or "ml" (stored in lower case), empty only for a
// reference value that is a text, not a number; the reference table
// is required, a name like the food's, of at most 76 characters (tables that differ only
// in case are one table, spelt as first seen); every text within the width of its field,
// without "|" or control characters, and in Windows-1252. With a row refused nothing is
// written, unless `importValidRows`: then the valid rows are. Errors of the whole file (no
// header, a required column missing or given twice, a quote never closed, no valid row)
// always stop it. Both files are written together; a failed write leaves both as they
// were.
ReferenceImportResult ImportReferenceValues(const std::filesystem::path& home, std::istream& csv,
                                            bool importValidRows);

// The list as stored: the records of "ValRef.dad" that hold seven fields, each field
// without the spaces that pad it (Windows-1252), in the order of the file, and the lines
// (1-based) that do not. Creates nothing in the data home; a list that does not exist is
// empty. Throws StorageError when the file cannot be read.
struct StoredReferenceValues {
    std::vector<std::array<std::string, 7>> foods;
    std::vector<int> unreadableLines;
    // A food whose name an earlier line already holds: the line, and that earlier line.
    // Left out (the import takes a name once).
    std::vector<std::pair<int, int>> repeatedLines;
};
StoredReferenceValues ReadReferenceValues(const std::filesystem::path& home);

struct ReferenceExportResult {
    std::string csv;  // the whole file: UTF-8 with a byte-order mark, ";", CR LF
    int exported = 0;
    // Lines of "ValRef.dad" that are not records: left out of the file.
    std::vector<int> unreadableLines;
    // Lines of a name an earlier line holds (the line, the earlier one): left out.
    std::vector<std::pair<int, int>> repeatedLines;
    // Reference tables (Windows-1252, trimmed) that no food names: the file cannot hold
    // them.
    std::vector<std::string> tablesWithoutFoods;
};

// The list as a CSV file: the header, then one row per food in the order of the file.
// Creates nothing in the data home; an empty list exports as the header alone.
ReferenceExportResult ExportReferenceValues(const std::filesystem::path& home);

}  // namespace velmaro
