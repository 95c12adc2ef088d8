#pragma once

// Copying an ingredient of another composition table into the active one: the record
// (with the other table's description as the source of its values when that table came
// with the installation), its household measures and, when missing, its group. The
// active ingredient file itself is written later, by the viewer that holds it.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Ui.h"
#include "storage/LineTable.h"

namespace velmaro {

// The table an ingredient is copied from.
struct CopySourceTable {
    std::string name;         // its key in the table list, as stored
    std::string description;  // field 2 of its record in the table list
    std::string flag;         // field 3: "0" for a table supplied with the installation
};

// What goes with an ingredient besides its record, kept by a layer above this one (the
// sugars and trans fat beside the record): told of every copy, and written in one go with
// the active ingredient file that holds the copies.
class IngredientCompanionFiles {
  public:
    virtual ~IngredientCompanionFiles() = default;
    // The ingredient `name` (its key as stored) of `source` was added to the active table.
    virtual void IngredientCopied(const CopySourceTable& source, const std::string& name) = 0;
    // The whole new content of each file to write with the active ingredient file.
    virtual std::vector<std::pair<std::filesystem::path, std::string>> CompanionFiles() const = 0;
};

// The record with the description (trailing spaces removed) as the source of every value
// field that holds a value (2-11, 14, 15, 16); the sources of blank values stay. The cost
// source keeps to its 33 characters.
std::string WithSourcesFrom(std::string row, std::string_view description);

// The record with its carbohydrate as the other kind of table records it (with the fibre,
// or without it: ConvertedCarbohydrate); a carbohydrate that becomes unknown loses its
// source too.
std::string WithCarbohydrateConverted(std::string row, bool fromIncludesFibre);

// Copies `row` into `active` (the active table's line and key lists, in memory) after the
// checks and the question, writing the measures file and the group file of the active
// table at once. Every message is shown here. True when the ingredient was added.
// When one of the two tables has its carbohydrate with the fibre inside and the other
// not, the carbohydrate is converted (WithCarbohydrateConverted); when that needs a
// fibre the ingredient does not have, it is copied with its carbohydrate unknown and
// the user is told so.
bool CopyIngredient(Ui& ui, const std::filesystem::path& programFolder, bool activeEditable,
                    const std::string& activeName, LineTable& active, const CopySourceTable& source,
                    std::string row);

}  // namespace velmaro
