#pragma once

// Ingredient changes carried into the preparations of a table. A preparation keeps, in
// each of its ingredient lines, amounts and a cost computed from the ingredient's
// composition and price, and in its record of the preparation list the totals of those
// lines and the values derived from them per portion, per tablespoon and per label
// portion. When the ingredient register changes, deletes or renames an ingredient these
// copies are brought up to date here.
//
// Every operation walks the preparation list in file order with the progress window
// shown and reads each preparation's ingredient file; it throws StorageError when a file
// cannot be read or written. Nothing is written until every file has been read: a file
// that cannot be read changes nothing. The changed ingredient files are then written
// together (one flush of the disk for all of them) and the preparation list once, with
// the records of exactly the preparations whose files were written.

#include <filesystem>
#include <string_view>
#include <vector>

#include "ingredients/IngredientChanges.h"
#include "platform/Ui.h"

namespace velmaro {

// Lists the preparations with a line holding the ingredient's stored name (exact text,
// case included) in the items-in-use report, a preparation once per such line. The
// report is a warning, the same for an alteration and a deletion. True when shown.
bool CheckIngredientInUse(Ui& ui, const std::filesystem::path& home, std::string_view table,
                          std::string_view name, IngredientUse purpose);

// In every preparation with a line for the ingredient (its key, compared without regard
// to case), for each value whose shown and edited texts differ: the line's amount for
// its net weight and the preparation's total; the cost of one kilogram with the line's
// cost for its gross weight and the cost total; the quotation date. When a total
// changed, the rows per portion, per tablespoon and per label portion are scaled again
// from the totals, as the preparation register scales them. The group, factors and
// sources of the ingredient are not carried.
// `withFiles` (the ingredient file) are written in the same batch, before the
// preparations' files, also when no preparation uses the ingredient.
void CarryIngredientChange(Ui& ui, const std::filesystem::path& home, std::string_view table,
                           const IngredientEdit& edit,
                           const std::vector<FileContent>& withFiles = {});

// Removes the ingredient's line from every preparation holding it and recomputes all of
// its totals and scaled rows; a preparation left without lines has totals of 0,00.
// `withFiles` as for CarryIngredientChange.
void RemoveIngredientFromPreparations(Ui& ui, const std::filesystem::path& home,
                                      std::string_view table, std::string_view name,
                                      const std::vector<FileContent>& withFiles = {});

// The new name in the ingredient's household measures file (its lines move to the file
// of the new name; the file of the old name goes) and in field 1 of the ingredient
// files of the preparations (the first occurrence of the old name, exact text), with
// `withFiles` (the ingredient file) written last in the same batch. Every file is read
// before any is written, and every new content is written before any file is replaced;
// when a write fails, the files already replaced are put back as they were and
// StorageError is thrown.
void RenameIngredient(Ui& ui, const std::filesystem::path& home, std::string_view table,
                      std::string_view oldName, std::string_view newName,
                      const std::vector<FileContent>& withFiles = {});

// The operations above, for the ingredient register.
class IngredientPropagation final : public IngredientChangeHandler {
  public:
    bool CheckIngredientInUse(Ui& ui, const std::filesystem::path& home, std::string_view table,
                              std::string_view name, IngredientUse purpose) override;
    void CarryIngredientChange(Ui& ui, const std::filesystem::path& home, std::string_view table,
                               const IngredientEdit& edit,
                               const std::vector<FileContent>& withFiles) override;
    void RemoveIngredientFromPreparations(Ui& ui, const std::filesystem::path& home,
                                          std::string_view table, std::string_view name,
                                          const std::vector<FileContent>& withFiles) override;
    void RenameIngredient(Ui& ui, const std::filesystem::path& home, std::string_view table,
                          std::string_view oldName, std::string_view newName,
                          const std::vector<FileContent>& withFiles) override;
};

}  // namespace velmaro
