#include "cli/Recompute.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "cli/CliData.h"
#include "cli/CliSupport.h"
#include "cli/CliUi.h"
#include "preparations/IngredientLine.h"
#include "preparations/PreparationScaling.h"
#include "preparations/PreparationTotals.h"
#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro::cli {

namespace fs = std::filesystem;
namespace L = IngredientLineField;
namespace R = PreparationRecordField;

namespace {

struct NamedField {
    int field;
    std::string_view name;
};

// The fields of an ingredient line the recomputation may change, with their names.
std::vector<NamedField> LineFields() {
    std::vector<NamedField> fields = {{L::kCorrectionFactor, "F.C."},
                                      {L::kCookingFactor, "F.C.C."},
                                      {L::kUnitCost, "custo unitário"},
                                      {L::kComputedCost, "custo"},
                                      {L::kQuotationDate, "data de cotação"}};
    for (size_t i = 0; i < kNutrients.size(); ++i) {
        fields.push_back({kNutrients[i].lineField, kNutrientNames[i]});
    }
    return fields;
}

std::vector<NamedField> TotalFields() {
    std::vector<NamedField> fields;
    for (size_t i = 0; i < kNutrients.size(); ++i) {
        fields.push_back({kNutrients[i].recordField, kNutrientNames[i]});
    }
    fields.push_back({R::kCostTotal, "custo"});
    return fields;
}

std::string ShownValue(std::string_view text) {
    return IsAllSpaces(RemoveAll(RemoveAll(text, ","), "/")) ? "(vazio)" : Utf8(RemoveSpaces(text));
}

// "name a -> b; ..." for the fields whose texts differ; empty when none does.
std::string Differences(const std::vector<NamedField>& fields, std::string_view before,
                        std::string_view after) {
    std::string out;
    for (const NamedField& f : fields) {
        const std::string a = GetField(f.field, before);
        const std::string b = GetField(f.field, after);
        if (a != b) {
            out += (out.empty() ? "" : "; ") + std::string(f.name) + " " + ShownValue(a) + " -> " +
                   ShownValue(b);
        }
    }
    return out;
}

std::string TextOr(std::string text, std::string_view blank) {
    return text.empty() ? std::string(blank) : text;
}

// One ingredient line computed again from the ingredient's record, as the ingredients
// screen computes a line from its weights: the ingredient's price and its date, the
// factors, the cost, the amounts of the net weight (blank without one).
void RecomputeLine(IngredientLine& line, Ui& ui) {
    line.unitCost =
        TextOr(GetField(ing::kCostPerKilogram, line.ingredientRecord), BlankMaskText(kMoneyMask));
    line.quotationDate =
        TextOr(GetField(ing::kQuotationDate, line.ingredientRecord), BlankMaskText(kDateMask));
    ComputeCorrectionFactor(line, ui);
    ComputeCookingFactor(line, ui);
    ComputeLineCost(line, ui);
    if (IsBlankValue(line.netWeight)) {
        for (std::string& amount : line.amounts) {
            amount = BlankMaskText(kAmountMask);
        }
    } else {
        ComputeLineNutrients(line, ui);
    }
}

std::string RowName(ScaledRow row) {
    return row == ScaledRow::Portion      ? "a porção per capita"
           : row == ScaledRow::Tablespoon ? "a colher de sopa"
                                          : "a porção do rótulo";
}

// What the recomputation of one preparation gives.
struct Outcome {
    std::optional<std::string> error;  // the preparation left as it is, and why
    std::vector<std::string> notes;    // UTF-8, indented
    std::optional<std::string> file;   // the new ingredient file, when it changes
    std::string record;
};

// The lines of a preparation's ingredient file that are not ingredient lines, left as they
// are: each named by its line in the file and what it holds up to the first "|" (a line
// broken by a stray line end holds a piece of a name, or nothing).
void ShortLineNotes(const fs::path& file, const LineTable& lines, std::vector<std::string>& notes) {
    bool any = false;
    for (int i = 0; i < lines.lines.Count() && !any; ++i) {
        any = FieldCount(lines.lines[i]) != L::kCount;
    }
    if (!any) {
        return;
    }
    ReadCheck check;
    const std::vector<std::string> inOrder = ReadCheckedLines(ReadFileBytes(file), check);
    for (size_t n = 0; n < inOrder.size(); ++n) {
        if (FieldCount(inOrder[n]) == L::kCount) {
            continue;
        }
        const std::string start = ShownName(RecordKey(inOrder[n]));
        notes.push_back(
            "  aviso: " + file.filename().string() + ", linha " + std::to_string(n + 1) + " (" +
            (start.empty() ? std::string("vazia") : "\"" + start + "\"") + "): não tem os " +
            std::to_string(L::kCount) + " campos de uma linha de ingrediente; ficou como estava.");
    }
}

Outcome RecomputePreparation(const LineTable& ingredients, const fs::path& file,
                             const std::string& record) {
    Outcome outcome;
    outcome.record = record;
    CliUi ui;
    auto takeMessages = [&] {
        for (const std::string& message : ui.TakeMessages()) {
            outcome.notes.push_back("  aviso: " + Utf8(message));
        }
    };

    LineTable lines;
    std::error_code ec;
    if (fs::is_regular_file(file, ec)) {
        LoadLineTable(file, lines);
        if (lines.lines.Damaged()) {
            outcome.error = "  erro: " + DamagedFileMessage(lines.lines.Check()) +
                            " A preparação não foi recalculada.";
            return outcome;
        }
    } else if (!TotalsAreZero(record)) {
        // The half-renamed state: the record holds totals its file no longer gives.
        outcome.error = "  erro: o arquivo de ingredientes " + file.string() +
                        " não existe; a preparação não foi recalculada.";
        return outcome;
    }
    ShortLineNotes(file, lines, outcome.notes);
    bool linesChanged = false;
    for (int i = 0; i < lines.lines.Count(); ++i) {
        const std::string stored = lines.lines[i];
        const std::string shownName = "\"" + ShownName(RecordKey(stored)) + "\"";
        if (FieldCount(stored) != L::kCount) {
            continue;  // named by ShortLineNotes
        }
        const FindResult found = FindKey(ingredients.keys, RecordKey(stored));
        if (!found.found) {
            outcome.notes.push_back("  aviso: o ingrediente " + shownName +
                                    " não existe na tabela; a linha ficou como estava.");
            continue;
        }
        IngredientLine line = ReadIngredientLine(stored);
        line.ingredientRecord = ingredients.lines[found.index];
        RecomputeLine(line, ui);
        takeMessages();
        const std::string recomputed = ComposeIngredientLine(line);
        if (recomputed != stored) {
            outcome.notes.push_back("  " + shownName + ": " +
                                    Differences(LineFields(), stored, recomputed));
            ReplaceRecord(lines.lines, i, recomputed);
            linesChanged = true;
        }
    }
    if (linesChanged) {
        outcome.file = LineTableBytes(lines.lines);
    }

    // The totals, as the ingredients screen writes them into the record, and the rows
    // scaled from them, as the preparation register scales them.
    LineList one;
    one.SetSorted(false);
    one.Add(record);
    UpdatePreparationTotals(lines.lines, one, 0, ui);
    takeMessages();
    outcome.record = one[0];
    // A row whose values would not fit keeps none of another weight: the preparation is
    // left as it is, and named.
    for (const ScaledRow row : {ScaledRow::Portion, ScaledRow::Tablespoon, ScaledRow::Label}) {
        if (!ScaleFromYield(outcome.record, row)) {
            takeMessages();
            outcome.error = "  erro: " + RowName(row) +
                            " teria valores maiores que 999999,99; confira o rendimento e o "
                            "peso. A preparação não foi recalculada.";
            return outcome;
        }
    }
    takeMessages();
    if (const std::string totals = Differences(TotalFields(), record, outcome.record);
        !totals.empty()) {
        outcome.notes.push_back("  totais: " + totals);
    }
    bool rowsChanged = false;
    for (const ScaledRow row : {ScaledRow::Portion, ScaledRow::Tablespoon, ScaledRow::Label}) {
        const int first = RowFields(row).first;
        for (int k = 0; k < 11; ++k) {
            rowsChanged =
                rowsChanged || GetField(first + k, record) != GetField(first + k, outcome.record);
        }
    }
    if (rowsChanged) {
        outcome.notes.push_back(
            "  valores da porção, da colher de sopa e da porção do rótulo recalculados");
    }
    return outcome;
}

}  // namespace

RecomputeReport RecomputeTable(const fs::path& home, std::string_view table, bool write,
                               ProgressSink& progress) {
    RecomputeReport report;
    LineTable ingredients;
    {
        NullProgress quiet;
        if (std::error_code ec; fs::is_regular_file(IngredientFileLocation(home, table), ec)) {
            LoadScrambledLineTable(IngredientFileLocation(home, table), ingredients, quiet);
            // Values of a record that is not certainly that ingredient's are never carried.
            RefuseDamaged(ingredients.lines.Check());
        }
    }
    const fs::path listPath = PreparationListLocation(home, table);
    std::vector<std::string> records = ReadCleanLinesIfAny(listPath);

    // Everything read and computed first.
    struct Change {
        size_t index;
        std::optional<std::string> file;
        fs::path path;
        std::string record;
    };
    std::vector<Change> changes;
    progress.Begin(static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        progress.SetPosition(static_cast<int>(i));
        const std::string& record = records[i];
        const std::string key = GetField(R::kName, record);
        if (IsAllSpaces(key)) {
            continue;
        }
        ++report.preparations;
        const std::string title = "Preparação \"" + ShownName(key) + "\":";
        if (FieldCount(record) != R::kCount) {
            report.lines.push_back(title);
            report.lines.push_back("  aviso: o registro não tem os " + std::to_string(R::kCount) +
                                   " campos de uma preparação; não foi recalculada.");
            continue;
        }
        fs::path path;
        try {
            path = PreparationFileLocation(home, table, key);
        } catch (const StorageError& e) {
            ++report.skipped;
            report.lines.push_back(title);
            report.lines.push_back("  erro: " + std::string(e.what()) +
                                   "; a preparação não foi recalculada.");
            continue;
        }
        Outcome outcome = RecomputePreparation(ingredients, path, record);
        if (outcome.error) {
            ++report.skipped;
            report.lines.push_back(title);
            report.lines.push_back(*outcome.error);
            continue;
        }
        const bool changed = outcome.file.has_value() || outcome.record != record;
        if (changed) {
            ++report.changed;
            changes.push_back({i, std::move(outcome.file), path, std::move(outcome.record)});
        }
        if (!outcome.notes.empty()) {
            report.lines.push_back(title);
            report.lines.insert(report.lines.end(), outcome.notes.begin(), outcome.notes.end());
        }
    }
    progress.End();
    if (!write || changes.empty()) {
        return report;
    }

    // Then the changed ingredient files and the list together, every new content before
    // any file is replaced (a disk that fills up changes nothing); should a replacement
    // fail part-way, the list once more with the records of the preparations whose files
    // were written.
    FileBatch files;
    std::vector<size_t> fileOrder;  // index into `changes` of each file added
    for (size_t c = 0; c < changes.size(); ++c) {
        if (changes[c].file) {
            files.Add(changes[c].path, *changes[c].file);
            fileOrder.push_back(c);
        }
    }
    auto writeList = [&](size_t committedFiles) {
        std::vector<bool> take(changes.size(), true);
        for (size_t k = committedFiles; k < fileOrder.size(); ++k) {
            take[fileOrder[k]] = false;
        }
        for (size_t c = 0; c < changes.size(); ++c) {
            if (take[c]) {
                records[changes[c].index] = changes[c].record;
            }
        }
        WriteFileAtomic(listPath, JoinLinesCrLf(records));
    };
    std::vector<std::string> changed = records;
    for (const Change& change : changes) {
        changed[change.index] = change.record;
    }
    files.Add(listPath, JoinLinesCrLf(changed));
    files.CommitThen([&](size_t written) {
        if (written > fileOrder.size()) {
            return;  // the list went with the files
        }
        writeList(written);
    });
    return report;
}

}  // namespace velmaro::cli
