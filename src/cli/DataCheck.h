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
// - what the reading rule finds damaged in any of those files and in the label data files
//   (NUL bytes, control characters, repeated keys, ingredient lines out of place), and a
//   preparation whose ingredient file is missing while its record holds totals;
// - temporary files left by saves that did not end;
// - files of preparations that are not in the list (ingredients, method text, label sheet,
//   label data) and are not empty: left by a rename or a deletion that did not end.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmaro::cli {

// A file the reading rule finds damaged.
struct DamagedFile {
    std::filesystem::path path;
    bool scrambled = false;  // the ingredient file of a table
    bool ini = false;        // a label data file, the table's carbohydrate file
    bool text = false;       // a free text (the method of preparation), no records
};

struct DataCheck {
    std::vector<std::string> findings;
    std::vector<DamagedFile> damaged;
    std::vector<std::filesystem::path> temporaries;  // left by saves that did not end
    // Values that disagree with each other (added sugars above the total, say) in a table
    // of the user's: told, not counted as problems.
    std::vector<std::string> notices;
};

// The whole check: the findings, the damaged files and the temporary files.
DataCheck CheckData(const std::filesystem::path& home, const std::optional<std::string>& table);

}  // namespace velmaro::cli
