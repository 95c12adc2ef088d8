#include "preparations/IngredientPropagation.h"

#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "preparations/IngredientLine.h"
#include "preparations/PreparationScaling.h"
#include "preparations/PreparationTotals.h"
#include "preparations/ValueLimits.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;
namespace R = PreparationRecordField;
namespace L = IngredientLineField;

namespace {

// The progress window over a walk, closed however the walk ends.
class ProgressWindow {
  public:
    ProgressWindow(ProgressSink& sink, int maximum) : m_sink(sink) { m_sink.Begin(maximum); }
    ~ProgressWindow() { m_sink.End(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    void At(int position) { m_sink.SetPosition(position); }

  private:
    ProgressSink& m_sink;
};

// The preparation list as plain lines in file order.
struct PreparationList {
    fs::path path;
    std::vector<std::string> records;
};

PreparationList ReadPreparationList(const fs::path& home, std::string_view table) {
    PreparationList list;
    list.path = PreparationListPath(home, table);
    list.records = ReadCleanLines(list.path);
    return list;
}

std::string PreparationName(const std::string& record) {
    return GetField(R::kName, record);
}

// Calls `visit(index, name)` for each record of the list that names a preparation,
// with the progress bar at the record's index.
// A preparation whose file did not read whole stops the walk, named for the user
// (NamedFileError): the walks read before anything is written, so nothing was.
void WalkPreparations(ProgressWindow& progress, const PreparationList& list,
                      const std::function<void(size_t, const std::string&)>& visit) {
    for (size_t i = 0; i < list.records.size(); ++i) {
        progress.At(static_cast<int>(i));
        const std::string name = PreparationName(list.records[i]);
        if (IsAllSpaces(name)) {
            continue;
        }
        try {
            visit(i, name);
        } catch (const DamagedFileError& e) {
            throw NamedFileError("O arquivo de ingredientes da preparação \"" +
                                 Cp1252ToUtf8(TrimTrailingSpaces(name)) +
                                 "\" impediu a alteração: " + DamagedFileMessage(e.Check()) +
                                 " Nenhum arquivo foi alterado.");
        }
    }
}

// A recomputed total of the preparation's record (a sum of its lines, held at
// 999999,99 without a message).
void WriteTotal(std::string& record, int totalField, long double sum) {
    SetField(totalField, record, FormatNumber(2, 9, AboveAmountLimit(sum) ? kAmountLimit : sum));
}

// The values per portion, per tablespoon and per label portion from the totals as
// written, as the preparation register scales them (a yield that is not above 0, or a
// row without its weight, keeps its values; a row whose values would not fit is left
// blank, and told with the preparation's name).
void ScaleRows(std::string& record, Ui& ui) {
    for (const ScaledRow row : {ScaledRow::Portion, ScaledRow::Tablespoon, ScaledRow::Label}) {
        if (!ScaleFromYield(record, row)) {
            BlankScaledRow(record, row);  // never the values of the old totals
            ui.ShowMessageBox(W("Preparação ") + TrimTrailingSpaces(PreparationName(record)) +
                                  ": " + ScaledValueTooLargeMessage(row),
                              MessageKind::Ok);
        }
    }
}

// Updates the preparations whose ingredient file holds the ingredient (by key).
// `change` alters the preparation's lines and its record. Every file is read and
// changed in memory first; the changed ingredient files and then the list are written
// together, every new content before any file is replaced (a disk that fills up changes
// nothing). Should a replacement fail part-way, the list is written again with the
// records of exactly the preparations whose files were written.
// `withFiles` go first in the batch (the ingredient file before the preparations that
// follow it), and are written even when no preparation holds the ingredient.
void UpdatePreparations(Ui& ui, const fs::path& home, std::string_view table,
                        std::string_view ingredient, const std::vector<FileContent>& withFiles,
                        const std::function<void(LineTable&, int, std::string&)>& change) {
    PreparationList list = ReadPreparationList(home, table);
    ProgressWindow progress(ui.Progress(), static_cast<int>(list.records.size()));
    FileBatch files;
    for (const FileContent& file : withFiles) {
        files.Add(file.path, file.bytes);
    }
    const size_t first = files.Size();
    std::vector<std::pair<size_t, std::string>> records;  // in the order of `files`
    WalkPreparations(progress, list, [&](size_t i, const std::string& name) {
        const fs::path path = PreparationFilePath(home, table, name);
        LineTable lines;
        LoadLineTable(path, lines);
        const FindResult found = FindKey(lines.keys, ingredient);
        if (!found.found) {
            return;
        }
        std::string record = list.records[i];
        change(lines, found.index, record);
        files.Add(path, LineTableBytes(lines.lines));
        records.emplace_back(i, std::move(record));
    });
    if (records.empty()) {
        files.Commit();
        return;
    }
    std::vector<std::string> changed = list.records;
    for (const auto& [index, record] : records) {
        changed[index] = record;
    }
    files.Add(list.path, JoinLinesCrLf(changed));
    const size_t preparations = records.size();
    files.CommitThen([&list, &records, first, preparations](size_t written) {
        if (written <= first) {
            return;  // no preparation file was replaced: the list stays as it is
        }
        written -= first;
        if (written > preparations) {
            return;  // the list went with the files
        }
        for (size_t k = 0; k < written; ++k) {
            list.records[records[k].first] = std::move(records[k].second);
        }
        WriteFileAtomic(list.path, JoinLinesCrLf(list.records));
    });
}

// The edited values of the ingredient as a record, for the line computation.
std::string EditedRecord(const IngredientEdit& edit) {
    std::string record = edit.name + "|";
    for (int field = ing::kEnergy; field <= ing::kFieldCount; ++field) {
        record += edit.Edited(field) + "|";
    }
    return record;
}

// What a carried change writes for a value computed from a blank: the amount of a
// nutrient the ingredient has no value for, or the cost of a line without a gross weight
// or an ingredient without a cost, counts the blank as 0, as the totals do.
const std::string kCarriedZero = FormatNumber(2, 9, 0);

std::string CarriedAmount(const std::string& ingredient, int field, const std::string& netWeight,
                          Ui& ui) {
    const std::string amount = NutrientAmount(ingredient, field, netWeight, ui);
    return IsBlankValue(amount) ? kCarriedZero : amount;
}

}  // namespace

bool CheckIngredientInUse(Ui& ui, const fs::path& home, std::string_view table,
                          std::string_view name, IngredientUse /*purpose*/) {
    const PreparationList list = ReadPreparationList(home, table);
    std::vector<std::string> users;
    {
        ProgressWindow progress(ui.Progress(), static_cast<int>(list.records.size()));
        WalkPreparations(progress, list, [&](size_t, const std::string& preparation) {
            const std::string bytes = ReadFileBytes(PreparationFilePath(home, table, preparation));
            for (const std::string& line : SplitLines(bytes)) {
                if (line.find(name) != std::string::npos) {
                    users.push_back(preparation);
                }
            }
        });
    }
    if (users.empty()) {
        return false;
    }
    ui.ShowItemsInUse(W("AVISO : // O ingrediente <<<") + TrimTrailingSpaces(name) + ">>>//" +
                          W(" está sendo utilizado pelas preparações listadas abaixo.//"),
                      users);
    return true;
}

void CarryIngredientChange(Ui& ui, const fs::path& home, std::string_view table,
                           const IngredientEdit& edit, const std::vector<FileContent>& withFiles) {
    const std::string ingredient = EditedRecord(edit);
    UpdatePreparations(
        ui, home, table, edit.name, withFiles,
        [&](LineTable& lines, int index, std::string& record) {
            bool totalsChanged = false;
            const std::string netWeight = GetRecordField(lines.lines, index, L::kNetWeight);
            for (const NutrientFields& n : kNutrients) {
                if (!edit.Changed(n.ingredientField)) {
                    continue;
                }
                SetRecordField(lines.lines, index, n.lineField,
                               CarriedAmount(ingredient, n.ingredientField, netWeight, ui));
                WriteTotal(record, n.recordField, SumRecordField(lines.lines, n.lineField));
                totalsChanged = true;
            }
            if (edit.Changed(ing::kQuotationDate)) {
                SetRecordField(lines.lines, index, L::kQuotationDate,
                               edit.Edited(ing::kQuotationDate));
            }
            if (edit.Changed(ing::kCostPerKilogram)) {
                IngredientLine line = ReadIngredientLine(lines.lines[index]);
                line.unitCost = edit.Edited(ing::kCostPerKilogram);
                if (IsBlankValue(line.unitCost) || IsBlankValue(line.grossWeight)) {
                    line.computedCost = kCarriedZero;  // c x pb / 1000 with a blank as 0
                } else {
                    ComputeLineCost(line, ui);
                }
                SetRecordField(lines.lines, index, L::kUnitCost, line.unitCost);
                SetRecordField(lines.lines, index, L::kComputedCost, line.computedCost);
                WriteTotal(record, R::kCostTotal, SumRecordField(lines.lines, L::kComputedCost));
                totalsChanged = true;
            }
            if (totalsChanged) {
                ScaleRows(record, ui);
            }
        });
}

void RemoveIngredientFromPreparations(Ui& ui, const fs::path& home, std::string_view table,
                                      std::string_view name,
                                      const std::vector<FileContent>& withFiles) {
    UpdatePreparations(
        ui, home, table, name, withFiles, [&ui](LineTable& lines, int index, std::string& record) {
            DeleteRecord(lines, index);
            for (const NutrientFields& n : kNutrients) {
                WriteTotal(record, n.recordField, SumRecordField(lines.lines, n.lineField));
            }
            WriteTotal(record, R::kCostTotal, SumRecordField(lines.lines, L::kComputedCost));
            ScaleRows(record, ui);
        });
}

namespace {

// A file's content before and after a rename.
struct Rewrite {
    fs::path path;
    bool existed = false;
    std::string before;
    std::string after;
};

void RemoveFile(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) {
        throw StorageError("Não foi possível excluir o arquivo " + path.string() + " (" +
                           ec.message() + ")");
    }
}

// The file as it was: its old content, or no file.
void PutBack(const Rewrite& file) {
    try {
        if (file.existed) {
            WriteFileAtomic(file.path, file.before);
        } else {
            RemoveFile(file.path);
        }
    } catch (const StorageError&) {
        // Putting back is all that can be tried; the first error is the one reported.
    }
}

Rewrite ReadForRewrite(const fs::path& path) {
    Rewrite file;
    file.path = path;
    std::error_code ec;
    file.existed = fs::exists(path, ec);
    if (ec) {
        throw StorageError("Não foi possível ler o arquivo " + path.string());
    }
    if (file.existed) {
        file.before = ReadFileBytes(path);
    }
    return file;
}

}  // namespace

void RenameIngredient(Ui& ui, const fs::path& home, std::string_view table,
                      std::string_view oldName, std::string_view newName,
                      const std::vector<FileContent>& withFiles) {
    // Read everything first: a file that cannot be read stops the rename before any
    // file has changed.
    Rewrite oldMeasures = ReadForRewrite(MeasureFilePath(home, table, oldName, false));
    Rewrite newMeasures = ReadForRewrite(MeasureFilePath(home, table, newName, false));
    const std::vector<std::string> measures =
        CleanLinesOf(MeasureFilePath(home, table, oldName, false), oldMeasures.before);
    newMeasures.after = JoinLinesCrLf(measures);

    std::vector<Rewrite> preparations;
    const PreparationList list = ReadPreparationList(home, table);
    ProgressWindow progress(ui.Progress(), static_cast<int>(list.records.size()));
    WalkPreparations(progress, list, [&](size_t, const std::string& preparation) {
        Rewrite file;
        file.path = PreparationFilePath(home, table, preparation);
        file.existed = true;
        file.before = ReadFileBytes(file.path);
        std::vector<std::string> lines = CleanLinesOf(file.path, file.before);
        bool renamed = false;
        for (std::string& line : lines) {
            std::string key = GetField(L::kIngredient, line);
            const size_t at = key.find(oldName);
            if (at == std::string::npos) {
                continue;
            }
            key.replace(at, oldName.size(), newName);
            SetField(L::kIngredient, line, key);
            renamed = true;
        }
        // A file without the ingredient keeps its bytes: writing them again changes nothing.
        if (renamed) {
            file.after = JoinLinesCrLf(lines);
            preparations.push_back(std::move(file));
        }
    });

    std::vector<Rewrite> others;
    for (const FileContent& file : withFiles) {
        Rewrite rewrite = ReadForRewrite(file.path);
        rewrite.after = file.bytes;
        others.push_back(std::move(rewrite));
    }

    // Then write them together; when that fails, what was replaced is put back.
    FileBatch files;
    std::vector<const Rewrite*> order;
    if (!measures.empty()) {
        files.Add(newMeasures.path, newMeasures.after);
        order.push_back(&newMeasures);
    }
    for (const std::vector<Rewrite>* group : {&preparations, &others}) {
        for (const Rewrite& file : *group) {
            files.Add(file.path, file.after);
            order.push_back(&file);
        }
    }
    try {
        files.Commit();
        if (oldMeasures.existed) {
            RemoveFile(oldMeasures.path);
        }
    } catch (const StorageError&) {
        for (size_t i = 0; i < files.Committed(); ++i) {
            PutBack(*order[i]);
        }
        throw;
    }
}

bool IngredientPropagation::CheckIngredientInUse(Ui& ui, const fs::path& home,
                                                 std::string_view table, std::string_view name,
                                                 IngredientUse purpose) {
    return velmaro::CheckIngredientInUse(ui, home, table, name, purpose);
}

void IngredientPropagation::CarryIngredientChange(Ui& ui, const fs::path& home,
                                                  std::string_view table,
                                                  const IngredientEdit& edit,
                                                  const std::vector<FileContent>& withFiles) {
    velmaro::CarryIngredientChange(ui, home, table, edit, withFiles);
}

void IngredientPropagation::RemoveIngredientFromPreparations(
    Ui& ui, const fs::path& home, std::string_view table, std::string_view name,
    const std::vector<FileContent>& withFiles) {
    velmaro::RemoveIngredientFromPreparations(ui, home, table, name, withFiles);
}

void IngredientPropagation::RenameIngredient(Ui& ui, const fs::path& home, std::string_view table,
                                             std::string_view oldName, std::string_view newName,
                                             const std::vector<FileContent>& withFiles) {
    velmaro::RenameIngredient(ui, home, table, oldName, newName, withFiles);
}

}  // namespace velmaro
