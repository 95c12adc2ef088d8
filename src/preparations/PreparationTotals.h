#pragma once

// The sums of a preparation's ingredient lines and the totals they give the
// preparation's record, and the copy of another preparation's ingredients.

#include <filesystem>
#include <string_view>

#include "platform/Ui.h"
#include "storage/LineTable.h"

namespace velmaro {

// The sums of the gross and the net weights of the lines (each held at 999999,99).
struct WeightSums {
    long double gross = 0;
    long double net = 0;
};

// The sum of field `field` over the lines (blank counts 0), held at 999999,99 without a
// message. Sums below 0 stay as they are.
long double SumRecordField(const LineList& lines, int field);

// The same sum; above 999999,99 it reports "ERRO! Somatório do <name> maior que
// 999999,99!" and the advice to reduce the weights, then gives 999999,99. The names are
// those of the line fields 2, 3, 9 and 13 to 22.
long double SumLineField(const LineList& lines, int field, Ui& ui);

// Sums the gross and net weights, then writes the sums of the amounts (line fields 13 to
// 22) into record fields 3 to 12 and the sum of the costs (line field 9) into field 13
// of record `recordIndex` of the preparation list in memory, in that order. Nothing is
// written to disk. With an index outside the list only the sums are made.
WeightSums UpdatePreparationTotals(const LineList& lines, LineList& preparations, int recordIndex,
                                   Ui& ui);

// Replaces the lines of preparation `preparation` by those of preparation `source` of
// table `table` under data home `home`, taken as stored (nothing recomputed), writes
// the preparation's ingredient file and updates its totals. The file is written before
// anything in memory changes: when reading the source or writing fails, StorageError is
// thrown and the lines, the file and the record are left as they were.
WeightSums CopyIngredients(LineTable& lines, const std::filesystem::path& home,
                           std::string_view table, std::string_view preparation,
                           std::string_view source, LineList& preparations, int recordIndex,
                           Ui& ui);

}  // namespace velmaro
