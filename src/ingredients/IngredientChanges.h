#pragma once

// What the ingredient register asks of the preparations when an ingredient changes:
// every preparation of the table keeps copies of its ingredients' composition and cost
// (the amounts of its ingredient lines, its totals and the values per portion), and
// these must follow a change, a deletion or a rename of the ingredient. The
// preparations layer implements this interface; the application gives the register
// that implementation.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Ui.h"
#include "storage/IngredientRecord.h"

namespace velmaro {

// The ingredient values whose changes reach the preparations: energy to sodium (record
// fields 2 to 11), the cost of one kilogram (16) and the date of its quotation (17).
inline constexpr std::array<int, 12> kCarriedIngredientFields = {
    ing::kEnergy,       ing::kCarbohydrate, ing::kProtein,         ing::kTotalFat,
    ing::kSaturatedFat, ing::kCholesterol,  ing::kFibre,           ing::kCalcium,
    ing::kIron,         ing::kSodium,       ing::kCostPerKilogram, ing::kQuotationDate};

// An altered ingredient as the register holds it: for each carried field, the text it
// had when the record was shown and the text it had when it was last left. A value
// counts as changed when the two differ.
struct IngredientEdit {
    std::string name;  // the key as stored: 60 characters, padded
    std::array<std::string, kCarriedIngredientFields.size()> shown;
    std::array<std::string, kCarriedIngredientFields.size()> edited;

    // The position of an ingredient field among the carried fields, or -1.
    static int Slot(int field);
    bool Changed(int field) const;
    // The edited text of a carried field (empty for another field).
    std::string Edited(int field) const;
};

enum class IngredientUse { Alteration, Deletion };

// A file's whole new content, to be written together with others.
struct FileContent {
    std::filesystem::path path;
    std::string bytes;
};

// Every operation works on the files of table `table` under the data home `home`,
// shows the progress window while it walks the preparations, and throws StorageError
// when a file cannot be read or written.
class IngredientChangeHandler {
  public:
    virtual ~IngredientChangeHandler() = default;

    // Lists the preparations whose ingredient files hold the ingredient's name in the
    // items-in-use report (a warning: it never refuses anything). True when it showed it.
    virtual bool CheckIngredientInUse(Ui& ui, const std::filesystem::path& home,
                                      std::string_view table, std::string_view name,
                                      IngredientUse purpose) = 0;
    // Recomputes the changed values in every preparation that uses the ingredient, and
    // writes `withFiles` (the ingredient file holding the change, and the files that go
    // with it) in the same batch, before the preparations' files: a crash part-way never
    // leaves the preparations ahead of the ingredient file. A failure while the new
    // contents are written leaves every file as it was.
    virtual void CarryIngredientChange(Ui& ui, const std::filesystem::path& home,
                                       std::string_view table, const IngredientEdit& edit,
                                       const std::vector<FileContent>& withFiles) = 0;
    // Removes the ingredient from every preparation and recomputes their totals, writing
    // `withFiles` (the ingredient file without it) in the same batch, as above.
    virtual void RemoveIngredientFromPreparations(Ui& ui, const std::filesystem::path& home,
                                                  std::string_view table, std::string_view name,
                                                  const std::vector<FileContent>& withFiles) = 0;
    // Carries a new name into the ingredient's household measures file and into every
    // preparation ingredient file, and writes `withFiles` (the ingredient file under the
    // new name) in the same go: every new content is on disk before any file is
    // replaced, so that a disk that fills up changes nothing. On failure every one of
    // those files is left as it was before the call.
    virtual void RenameIngredient(Ui& ui, const std::filesystem::path& home, std::string_view table,
                                  std::string_view oldName, std::string_view newName,
                                  const std::vector<FileContent>& withFiles) = 0;
};

// A handler that touches no file but those it is given to write: for a register used
// without preparations (tests of the register's own behaviour).
class NoIngredientChanges final : public IngredientChangeHandler {
  public:
    bool CheckIngredientInUse(Ui&, const std::filesystem::path&, std::string_view, std::string_view,
                              IngredientUse) override {
        return false;
    }
    void CarryIngredientChange(Ui&, const std::filesystem::path&, std::string_view,
                               const IngredientEdit&,
                               const std::vector<FileContent>& withFiles) override;
    void RemoveIngredientFromPreparations(Ui&, const std::filesystem::path&, std::string_view,
                                          std::string_view,
                                          const std::vector<FileContent>& withFiles) override;
    void RenameIngredient(Ui&, const std::filesystem::path&, std::string_view, std::string_view,
                          std::string_view, const std::vector<FileContent>& withFiles) override;
};

}  // namespace velmaro
