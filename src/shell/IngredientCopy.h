#pragma once

// Copying an ingredient of another composition table into the active one: the record
// (with the other table's description as the source of its values when that table came
// with the installation), its household measures and, when missing, its group. The
// active ingredient file itself is written later, by the viewer that holds it.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Ui.h"
#include "storage/LineTable.h"

namespace velmaro {

// The table an ingredient is copied from.
struct CopySourceTable {
    std::string name;         // its key in the table list, as stored
    std::string description;  // field 2 of its record in the table list
    std::string flag;         // field 3: "0" for a table supplied with the installation
};

// The record with the description (trailing spaces removed) as the source of every value
// field that holds a value (2-11, 14, 15, 16); the sources of blank values stay. The cost
// source keeps to its 33 characters.
std::string WithSourcesFrom(std::string row, std::string_view description);

// Copies `row` into `active` (the active table's line and key lists, in memory) after the
// checks and the question, writing the measures file and the group file of the active
// table at once. Every message is shown here. True when the ingredient was added.
bool CopyIngredient(Ui& ui, const std::filesystem::path& programFolder, bool activeEditable,
                    const std::string& activeName, LineTable& active, const CopySourceTable& source,
                    std::string row);

}  // namespace velmaro
