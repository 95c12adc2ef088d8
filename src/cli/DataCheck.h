#pragma once

// The check of a data folder, which changes nothing in it. For the table list and every
// table it names (or one of them), in this order:
// - records with a wrong number of fields: the table list (3), the ingredient and
//   preparation group files (1), the preparation list (56), the ingredient files of the
//   preparations (22), the household measures files (2);
// - lines of the ingredient file that do not unscramble to the 30 fields of an ingredient;
// - lines of the file of sugars and trans fat (ExtraValues.h) that cannot be read, values
//   in it that are not numbers, and entries for an ingredient the table does not have;
// - preparation lines for an ingredient the table does not have;
// - preparation totals (energy to sodium and the cost) that differ from the sums of their
//   lines by a cent or more;
// - household measures files whose name is no ingredient's;
// - files of preparations that are not in the list (ingredients, method text, label sheet,
//   label data) and are not empty: left by a rename or a deletion that did not end.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmaro::cli {

// One line per finding (UTF-8), each naming the table and the file or record. `table`:
// the key of the one table to check, as stored; none for all. Throws StorageError when a
// file cannot be read.
std::vector<std::string> CheckDataFolder(const std::filesystem::path& home,
                                         const std::optional<std::string>& table);

}  // namespace velmaro::cli
