#pragma once

// The table list and the preparations of a data home as the commands find them: read as
// they stand, with no file or folder created, and looked up by the names typed on the
// command line (without regard to case, as the screens look keys up).

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::cli {

struct TableEntry {
    std::string key;  // as stored: 20 characters, padded
    std::string description;
    std::string flag;  // "1": a table of the user's; any other: consultation only
    bool Editable() const { return flag == "1"; }
};

// The records of the table list in file order; none when the data home has no list.
// DamagedFileError when the list did not read whole and clean (unless `damagedToo`).
std::vector<TableEntry> ReadTableList(const std::filesystem::path& home, bool damagedToo = false);
// The table a name typed on the command line (UTF-8) names; UserError when none does,
// DamagedFileError when the table list is damaged.
// `damagedToo`: looked up in a damaged list as well (the key alone is then certain).
TableEntry FindTable(const std::filesystem::path& home, std::string_view utf8Name,
                     bool damagedToo = false);

struct PreparationEntry {
    std::string key;     // as stored: 40 characters, padded
    std::string record;  // the whole line of the preparation list
};

// The records of the table's preparation list in file order, those with a name.
// DamagedFileError when the list is damaged (FindPreparation too): a name then no longer
// names one record for certain.
std::vector<PreparationEntry> ReadPreparations(const std::filesystem::path& home,
                                               std::string_view table);
PreparationEntry FindPreparation(const std::filesystem::path& home, std::string_view table,
                                 std::string_view utf8Name);

// The plain lines of a file, none when it does not exist.
std::vector<std::string> ReadLinesIfAny(const std::filesystem::path& path);
// The same, DamagedFileError when the file is damaged (by the rule of LoadLineTable).
std::vector<std::string> ReadCleanLinesIfAny(const std::filesystem::path& path);

// How many preparations of the table have a line for one of the ingredients (keys as
// stored, compared without regard to case).
int PreparationsUsing(const std::filesystem::path& home, std::string_view table,
                      const std::vector<std::string>& ingredients);

// A table or preparation key without its padding, as shown (UTF-8).
std::string ShownName(std::string_view key);

// The names of the ten nutrients in the order of kNutrients, as messages name them.
inline constexpr std::array<std::string_view, 10> kNutrientNames = {
    "energia",    "carboidrato", "proteína", "lipídeos", "saturada",
    "colesterol", "fibra",       "cálcio",   "ferro",    "sódio"};
// The fields of a record: every field ends with "|", so the count of "|" when the line
// ends with one; -1 when it does not.
int FieldCount(std::string_view line);

}  // namespace velmaro::cli
