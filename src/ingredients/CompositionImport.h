#pragma once

// Import of a composition table from a CSV file of foods: one food a row, a header row
// naming the columns, UTF-8 (or Windows-1252) text, "." or "," as decimal sign. The import
// writes a new composition table into a data home (its record in the table list, its
// scrambled ingredient file and its ingredient group file), or adds foods to a table that
// exists and replaces those it already has. Every row is checked first; when any row is
// refused, nothing is written (unless only the valid rows are asked for).

#include <array>
#include <filesystem>
#include <istream>
#include <map>
#include <string>
#include <vector>

namespace velmaro {

// Where the import finds its data and how it reads it. Texts are UTF-8, as in the CSV.
struct CompositionTableSetup {
    std::string tableName;    // the table-list key: up to 20 characters
    std::string description;  // up to 65 characters
    std::string flag = "1";   // "1": a table of the user's; any other: consultation only
    // Whether the table's carbohydrate includes dietary fibre (TableCarbohydrate.h), for a
    // new table whose file has no column "Carboidrato inclui fibra" saying it. A supplied
    // table's definition sets it; the import writes it beside the new table.
    bool carbohydrateIncludesFibre = false;

    // The cell separator; kDetectSeparator: ";" when the header line holds one outside
    // quotes, else ",".
    char separator = ',';
    // Utf8: the text is UTF-8. Detect: UTF-8 when every byte sequence is valid UTF-8,
    // else Windows-1252.
    enum class Encoding { Utf8, Detect } encoding = Encoding::Utf8;

    // Columns found by their Portuguese names (RecogniseColumn, CompositionColumns.h) in
    // place of the names given below: then any field of the record may have its column
    // (name, values, group, factors, cost, quotation date, sources), and a column that
    // names nothing is left aside (ImportResult::ignoredColumns).
    bool recogniseColumns = false;
    // Header names of the columns (compared without regard to case). The value columns
    // follow the nutrient order: energy (kcal), carbohydrate, protein, total fat,
    // saturated fat (g), cholesterol (mg), fibre (g), calcium, iron, sodium (mg), per 100 g.
    std::string nameColumn;
    std::string groupColumn;  // empty: no groups
    std::array<std::string, 10> valueColumns;
    // The source of each present value: the text of this column, or `sourceText` when
    // there is no such column or its cell is empty.
    std::string sourceColumn;
    std::string sourceText;

    // Cell texts (compared without regard to case) that mean a trace, stored as 0, and
    // those that mean "no value", stored blank. An empty cell is always "no value".
    std::vector<std::string> traceCodes = {"Tr"};
    std::vector<std::string> blankCodes = {"NA", "*"};

    // Fixed changes applied to the texts of the file before they are checked: a food's
    // name (as it reads once its spaces are cleaned) to the name stored, and a group of
    // the file to the group name stored.
    std::map<std::string, std::string> renamedFoods;
    std::map<std::string, std::string> groupNames;

    // Inner runs of white space in names, groups and sources made one space (the ends are
    // always trimmed).
    bool collapseSpaces = true;
    // A table that exists gets the foods of the file: a food of the same name (without
    // regard to case) is replaced, keeping its stored name and the fields the file has no
    // column for; the others are added. Without it an existing table is refused.
    bool addToExistingTable = false;
    // Refused rows are reported and the valid ones imported. Errors of the whole file (no
    // header, a missing name column, a quote never closed, no valid row) still stop it.
    bool importValidRows = false;
};

inline constexpr char kDetectSeparator = 0;

enum class ImportStatus {
    Imported,
    InvalidData,  // a row or the description of the table was refused; nothing written
    TableExists,  // the table list or the table's files already hold data; nothing written
    WriteFailed,  // a file could not be written; what was written is undone
    // The table exists and is for consultation only (its flag is not "1"), and the import
    // was not asked for such a table (its flag is "1"); nothing written.
    ReadOnlyTable,
};

struct ImportError {
    int line = 0;         // line of the CSV, 0 when the error is not about one line
    std::string message;  // Portuguese, Windows-1252; starts with "Linha N: " when line > 0
};

struct ImportResult {
    ImportStatus status = ImportStatus::InvalidData;
    // Row errors (line > 0), then errors of the whole file or table. With
    // importValidRows, an import that wrote the valid rows still lists the refused ones.
    std::vector<ImportError> errors;
    int ingredientCount = 0;  // rows imported
    int groupCount = 0;       // groups written to a new table, or added to an existing one
    int added = 0;            // foods new to the table
    int replaced = 0;         // foods the table had, replaced
    int refusedRows = 0;
    bool tableCreated = false;
    // The stored keys (60 characters) of the replaced foods.
    std::vector<std::string> replacedNames;
    // Header cells (Windows-1252) that name no column, with recogniseColumns.
    std::vector<std::string> ignoredColumns;
    // Whether the table's carbohydrate includes fibre, as stored after the import.
    bool carbohydrateIncludesFibre = false;
    bool Ok() const { return status == ImportStatus::Imported; }
};

// Names and spaces: the name, the group and the source of every row have their spaces
// at both ends removed and their inner runs of white space made one space.
//
// Each row becomes one ingredient record: the name padded to 60, the ten values in the
// text of their masks ("9999,99", sodium "99999,99"), the empty field 12, the group
// padded to 20, blank factors, cost and date, and the source of every present value
// (a blank value has a blank source).
//
// Factors and cost are written in their masks ("999,99", "999999,99"), the quotation date
// as "dd/mm/yy" (from "d/m/yy", "dd/mm/yyyy" or "yyyy-mm-dd"); a source column of a value
// gives that value's source, even for a blank value.
//
// Refused, with the line and the reason: a blank name, a name over 60 characters, a
// name or a group or a source with a character that names cannot hold, a name equal to
// an earlier one without regard to case, a group over 20 characters, a value that is not
// a number or a code, a negative value, a value too wide for its mask, a date that is
// not a date, a cost source over 33 characters, a row with a wrong number of cells. A
// table name or description that is invalid, a table that is already in the table list
// (unless addToExistingTable), or existing files of a table not in the list that hold
// other data are refused as a whole. The ingredient file is written once, scrambled.
//
// A column "Carboidrato inclui fibra" (any header that reads so, with or without
// "alimentar"; in both ways of finding columns) says for the whole table whether its
// carbohydrate includes dietary fibre: "sim" / "s" / "1" or "não" / "nao" / "n" / "0" in
// every row that fills it (an empty cell says nothing). A row that says otherwise than
// an earlier one, or something else, is refused. Without the column a new table takes
// the setup's answer and an existing one keeps its own. A user table that already holds
// foods and answers otherwise than the file is refused as a whole (its carbohydrates
// would mean two things); an empty one takes the file's answer.
ImportResult ImportCompositionTable(const std::filesystem::path& home,
                                    const CompositionTableSetup& setup, std::istream& csv);

}  // namespace velmaro
