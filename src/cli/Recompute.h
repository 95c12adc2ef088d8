#pragma once

// The preparations of a table computed again from its ingredient file as it stands now:
// for every ingredient line, the ingredient's cost of one kilogram and quotation date,
// then the correction and cooking factors, the line's cost and its nutrient amounts from
// the weights stored in the line, by the steps of the ingredient line computation; then the
// preparation's totals from its lines and its rows per portion, per tablespoon and per
// label portion from the totals, as the preparation register scales them. The weights,
// the household measure and its number stay as stored.
//
// A line whose ingredient is no longer in the table, a line that does not hold the 22
// fields of an ingredient line and a preparation record that does not hold its 56 fields
// are left as they are and reported. Every file is read before any is written; then the
// changed ingredient files are written together and the preparation list once.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Progress.h"

namespace velmaro::cli {

struct RecomputeReport {
    int preparations = 0;  // preparations looked at
    int changed = 0;       // preparations whose files change (or would change)
    int skipped = 0;       // preparations left as they were for an error (named in `lines`)
    // What changed, preparation by preparation, with the warnings: UTF-8 lines.
    std::vector<std::string> lines;
};

// A preparation whose ingredient file is damaged, or missing while its record holds
// totals, or whose name cannot be a file name, is left as it is, with an error line.
// `write` false: nothing is written (a simulation). Throws StorageError when a file cannot
// be read or written, DamagedFileError when the ingredient file or the preparation list
// is damaged (nothing is then written).
RecomputeReport RecomputeTable(const std::filesystem::path& home, std::string_view table,
                               bool write, ProgressSink& progress);

}  // namespace velmaro::cli
