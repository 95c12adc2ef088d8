#pragma once

// Where the household measures of an ingredient are used: field 11 of the lines of the
// preparations' ingredient files holds the measure's name as stored (20 characters),
// field 1 the ingredient's key (60 characters). Every scan walks the preparation list in
// file order and reads each preparation's ingredient file as plain lines.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ingredients/FileRewrites.h"
#include "storage/Progress.h"

namespace velmaro {

enum class MeasureChange { Alteration, Deletion };

// The entries of the items-in-use report for a measure: for every line that carries the
// measure, "Preparação  : " + the preparation's name, "Ingrediente : " + the line's
// ingredient, and 73 "-". An alteration counts only lines of `ingredient` (its weight is
// this ingredient's own); a deletion counts every line that names a measure so, whatever
// its ingredient. The progress bar goes from 0 to the number of preparations. Throws
// StorageError when a file cannot be read.
std::vector<std::string> MeasureInUseItems(const std::filesystem::path& programFolder,
                                           std::string_view tableName, std::string_view ingredient,
                                           std::string_view measure, MeasureChange change,
                                           ProgressSink& progress);

// The rewrites that carry a renamed measure into the preparations: in the lines of
// `ingredient` only (other ingredients' measures of the same name keep it, as their own
// measure files do), the first occurrence of `oldName` in field 11 becomes `newName`.
// Only the files that change are rewritten. Reads everything before anything is written;
// throws StorageError when a file cannot be read.
std::vector<FileRewrite> MeasureRenameRewrites(const std::filesystem::path& programFolder,
                                               std::string_view tableName,
                                               std::string_view ingredient,
                                               std::string_view oldName, std::string_view newName,
                                               ProgressSink& progress);

}  // namespace velmaro
