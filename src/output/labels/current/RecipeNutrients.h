#pragma once

// The amounts of a preparation's nutrition table (label model 5), from its ingredient lines
// and the ingredients' current values. Energy, carbohydrates, proteins, fats, fibre and
// sodium are the preparation's totals (record fields 3 to 12); total sugars, added sugars
// and trans fat are summed here line by line (net weight x value per 100 g / 100, each line
// to two decimals, as the other amounts). A line whose ingredient has no value for a row,
// or is no longer in the table, makes that row incomplete.
//
// Carbohydrates are the available ones. For a table whose carbohydrate includes dietary
// fibre (TableCarbohydrate.h) each line gives up its fibre, but never more than its own
// carbohydrate (net weight x min(carbohydrate, fibre) per 100 g / 100, to two decimals,
// taken from the recipe's total); a line whose fibre is not known leaves the
// carbohydrates unknown. The other label models keep the recorded carbohydrate.

#include <filesystem>
#include <optional>
#include <string_view>

#include "ingredients/ExtraValues.h"
#include "output/labels/current/NutritionTable.h"
#include "storage/LineTable.h"
#include "storage/StorageError.h"

namespace velmaro {

// A file the nutrition table is composed from that is missing or did not read whole: the
// message names it (UTF-8). No table is composed from what could not be read.
class NutrientSourceError : public StorageError {
  public:
    using StorageError::StorageError;
};

NutritionTableInput NutritionInputFrom(std::string_view record, const LineList& lines,
                                       const LineTable& ingredients,
                                       const ExtraValuesTable& extraValues,
                                       std::optional<long double> netContent,
                                       bool carbohydrateIncludesFibre = false);

// The ingredients of a table and the values beside them, as the composition reads them;
// loaded once for the many preparations of a batch. A file that did not read whole is
// refused (DamagedFileError; NutrientSourceError for the sugars and trans fat file);
// StorageError when one cannot be read.
struct TableNutrientSources {
    LineTable ingredients;
    ExtraValuesTable extraValues;
    bool carbohydrateIncludesFibre = false;
};
TableNutrientSources LoadTableNutrientSources(const std::filesystem::path& home,
                                              std::string_view table);

// The same from the files of `table`: the preparation's ingredient file, and the table's
// sources (loaded here when none are given). Throws StorageError when one cannot be read,
// NutrientSourceError when the preparation's file is missing (or a link to nothing) while
// its record holds totals summed from it.
NutritionTableInput NutritionInputOf(const std::filesystem::path& home, std::string_view table,
                                     std::string_view preparationName, std::string_view record,
                                     std::optional<long double> netContent,
                                     const TableNutrientSources* sources = nullptr);

// The net content typed with the label data ("999999"), when it is a number above 0.
std::optional<long double> NetContentValue(std::string_view text);

}  // namespace velmaro

namespace velmaro {

// The nutrition table of a preparation, composed from the files of `table`.
NutritionTable ComposeNutritionTableOf(const std::filesystem::path& home, std::string_view table,
                                       std::string_view preparationName, std::string_view record,
                                       std::optional<long double> netContent,
                                       const TableNutrientSources* sources = nullptr);

// Composes the nutrition table of a preparation (with the net content kept in the label
// data) and writes it into section DadRot of `labelFile`; gives the table. Throws
// StorageError when a file cannot be read.
NutritionTable StoreNutritionTable(IniFile& labelFile, const std::filesystem::path& home,
                                   std::string_view table, std::string_view preparationName,
                                   std::string_view record,
                                   const TableNutrientSources* sources = nullptr);

}  // namespace velmaro
