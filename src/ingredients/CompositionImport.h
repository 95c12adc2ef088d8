#pragma once

// Import of a composition table from a CSV file of foods: one food a row, a header row
// naming the columns, UTF-8 text, "." (or ",") as decimal sign. The import writes a new
// composition table into a data home: its record in the table list, its scrambled
// ingredient file and its ingredient group file. Every row is checked first; when any
// row is refused, nothing is written.

#include <array>
#include <filesystem>
#include <istream>
#include <map>
#include <string>
#include <vector>

namespace velmaro {

// Where the import finds its data and how it reads it. Texts are UTF-8, as in the CSV.
struct CompositionTableSpec {
    std::string tableName;    // the table-list key: up to 20 characters
    std::string description;  // up to 65 characters
    std::string flag = "1";   // "1": a table of the user's; any other: consultation only

    char separator = ',';
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
};

enum class ImportStatus {
    Imported,
    InvalidData,  // a row or the description of the table was refused; nothing written
    TableExists,  // the table list or the table's files already hold data; nothing written
    WriteFailed,  // a file could not be written; what was written is undone
};

struct ImportError {
    int line = 0;         // line of the CSV, 0 when the error is not about one line
    std::string message;  // Portuguese, Windows-1252; starts with "Linha N: " when line > 0
};

struct ImportResult {
    ImportStatus status = ImportStatus::InvalidData;
    std::vector<ImportError> errors;
    int ingredientCount = 0;
    int groupCount = 0;
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
// Refused, with the line and the reason: a blank name, a name over 60 characters, a
// name or a group or a source with a character that names cannot hold, a name equal to
// an earlier one without regard to case, a group over 20 characters, a value that is not
// a number or a code, a negative value, a value too wide for its mask, a row with a
// wrong number of cells. A table name or description that is invalid, a table that is
// already in the table list, or existing files of that table that hold other data
// are refused as a whole.
ImportResult ImportCompositionTable(const std::filesystem::path& home,
                                    const CompositionTableSpec& setup, std::istream& csv);

}  // namespace velmaro
