#include "cli/DataCheck.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <system_error>

#include "cli/CliData.h"
#include "cli/CliSupport.h"
#include "ingredients/ExtraValues.h"
#include "preparations/PreparationTotals.h"
#include "preparations/ValueLimits.h"
#include "shell/TableCarbohydrate.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Scramble.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro::cli {

namespace fs = std::filesystem;
namespace L = IngredientLineField;
namespace R = PreparationRecordField;

namespace {

constexpr int kTableListFields = 3;
constexpr int kGroupFields = 1;
constexpr int kMeasureFields = 2;

std::string FieldCountText(int count) {
    return count < 0    ? "não termina em \"|\""
           : count == 1 ? "tem 1 campo"
                        : "tem " + std::to_string(count) + " campos";
}

class Checker {
  public:
    explicit Checker(fs::path home) : m_home(std::move(home)) {}

    std::vector<std::string> findings;
    std::vector<std::string> notices;
    std::set<std::string> suppliedTables;  // keys of the tables kept for consultation

    std::vector<DamagedFile> damaged;

    void TableList() {
        Damages("lista de tabelas", TableListLocation(m_home));
        Damages("valores de referência", ReferenceValuesLocation(m_home));
        Damages("tabelas de referência", ReferenceTableLocation(m_home));
        const std::vector<std::string> lines = ReadLinesIfAny(TableListLocation(m_home));
        Records("lista de tabelas", lines, kTableListFields);
    }

    // Temporary files of saves that did not end (a program or command killed mid-save):
    // hidden files ".<name>.XXXXXX" beside the files they were to replace.
    void TemporaryFiles() {
        std::error_code ec;
        const fs::path data = DataFolder(m_home);
        for (fs::recursive_directory_iterator it(data, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->is_regular_file(ec) && IsTemporaryName(it->path().filename().string())) {
                temporaries.push_back(it->path());
            }
        }
        std::sort(temporaries.begin(), temporaries.end());
        for (const fs::path& file : temporaries) {
            findings.push_back("arquivo temporário de uma gravação interrompida: \"" +
                               Shown(fs::relative(file, m_home, ec)) + "\".");
        }
    }

    std::vector<fs::path> temporaries;

    void Table(const std::string& key) {
        m_prefix = ShownName(key) + ": ";
        try {
            TableFolder(m_home, key);
        } catch (const StorageError&) {
            Report("o nome da tabela não serve como nome de pasta; a tabela não foi verificada.");
            return;
        }
        TableFiles(key);
    }

  private:
    void TableFiles(const std::string& key) {
        Damages("ingredientes", IngredientFileLocation(m_home, key));
        Damages("grupos de ingredientes", IngredientGroupsLocation(m_home, key));
        Damages("grupos de preparações", PreparationGroupsLocation(m_home, key));
        Damages("lista de preparações", PreparationListLocation(m_home, key));
        CarbohydrateFibre(key);
        const LineTable ingredients = Ingredients(key);
        ExtraValuesOf(key, ingredients);
        Records("grupos de ingredientes", ReadLinesIfAny(IngredientGroupsLocation(m_home, key)),
                kGroupFields);
        Records("grupos de preparações", ReadLinesIfAny(PreparationGroupsLocation(m_home, key)),
                kGroupFields);
        const std::vector<std::string> list = ReadLinesIfAny(PreparationListLocation(m_home, key));
        Records("lista de preparações", list, R::kCount);
        std::set<fs::path> preparationFiles;  // file names of the preparations, no extension
        for (const std::string& record : list) {
            const std::string name = GetField(R::kName, record);
            if (IsAllSpaces(name)) {
                continue;
            }
            try {
                preparationFiles.insert(RecordFileIn({}, name, ""));
                if (FieldCount(record) == R::kCount) {
                    Preparation(key, name, record, ingredients);
                }
                const fs::path method = RecordFileIn(RecipeFolder(m_home, key), name, ".rec");
                if (std::error_code ec; fs::is_regular_file(method, ec)) {
                    Damages("modo de preparo \"" + method.filename().string() + "\"", method);
                }
                const fs::path label = RecordFileIn(LabelFolder(m_home, key), name, ".rot");
                if (std::error_code ec; fs::is_regular_file(label, ec)) {
                    Damages("rótulo \"" + label.filename().string() + "\"", label);
                }
            } catch (const StorageError&) {
                Report("preparação \"" + ShownName(name) +
                       "\": o nome não serve como nome de arquivo.");
            }
        }
        Measures(key, ingredients);
        LeftFiles(key, preparationFiles);
    }

    // What the reading rule finds in a file beyond its field counts (those are reported
    // by Records and Ingredients): NUL bytes, control characters, repeated keys, lines
    // of the ingredient file that decipher only in another line's place.
    void Damages(const std::string& what, const fs::path& path) {
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            return;
        }
        ReadCheck check;
        const bool ini = path.extension() == ".rot" || path.extension() == ".ini";
        const bool text = path.extension() == ".rec";
        const bool scrambled = IsIngredientFile(path);
        if (ini) {
            check = IniFile(path).Check();
        } else if (text) {
            ReadTextLines(ReadFileBytes(path), check);
        } else {
            LineTable table;
            NullProgress quiet;
            scrambled ? LoadScrambledLineTable(path, table, quiet) : LoadLineTable(path, table);
            check = table.lines.Check();
        }
        if (check.Clean()) {
            return;
        }
        damaged.push_back({path, scrambled, ini, text});
        for (const Damage& d : check.damages) {
            const bool counted = d.kind == DamageKind::ShortRecord ||
                                 (d.kind == DamageKind::Undecipherable && d.other < 0);
            if (!ini && counted) {
                continue;
            }
            Report(what + ", linha " + std::to_string(d.line) + ": " +
                   DamageText(d, RecordFieldsOf(path)) + ".");
        }
        if (check.omitted > 0) {
            Report(what + ": mais " + std::to_string(check.omitted) + " danos.");
        }
    }

    // Whether the table's carbohydrate includes fibre: the file read whole, and its value
    // one of the two.
    void CarbohydrateFibre(const std::string& key) {
        const fs::path path = CarbohydrateFibreFileLocation(m_home, key);
        const size_t before = findings.size();
        Damages("carboidrato com fibra \"" + path.filename().string() + "\"", path);
        if (findings.size() != before) {
            return;
        }
        try {
            StoredCarbohydrateIncludesFibre(m_home, key);
        } catch (const StorageError& e) {
            Report(e.what());
        }
    }

    void Report(const std::string& text) { findings.push_back(m_prefix + text); }

    void Records(const std::string& what, const std::vector<std::string>& lines, int fields) {
        for (size_t i = 0; i < lines.size(); ++i) {
            const int count = FieldCount(lines[i]);
            if (count != fields) {
                Report(what + ", linha " + std::to_string(i + 1) + ": " + FieldCountText(count) +
                       "; deveria ter " + std::to_string(fields) + ".");
            }
        }
    }

    // The ingredients that unscramble to a record; the others are reported.
    LineTable Ingredients(const std::string& table) {
        const std::vector<std::string> lines =
            ReadLinesIfAny(IngredientFileLocation(m_home, table));
        std::vector<std::string> records;
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string plain = UnscrambleLine(i, lines[i]);
            const int count = FieldCount(plain);
            if (count != ing::kFieldCount) {
                Report("ingredientes, linha " + std::to_string(i + 1) +
                       ": não se decifra nos 30 campos de um ingrediente (" +
                       FieldCountText(count) + ").");
                continue;
            }
            records.push_back(std::move(plain));
        }
        LineTable ingredients;
        ingredients.lines.SetSorted(false);
        ingredients.lines.Assign(std::move(records));
        SortLineTable(ingredients);
        return ingredients;
    }

    // The sugars and trans fat beside the ingredient records: lines that cannot be read,
    // values that are not numbers, and entries of a name the ingredient file does not have.
    void ExtraValuesOf(const std::string& table, const LineTable& ingredients) {
        const std::string what = "açúcares e gordura trans";
        const fs::path path = ExtraValuesFileLocation(m_home, table);
        const ExtraValuesTable extras = LoadExtraValuesFile(path);
        for (const ExtraValuesProblem& problem : extras.Problems()) {
            Report(what + ", linha " + std::to_string(problem.line) + ": " + Utf8(problem.what) +
                   ".");
        }
        if (!extras.Problems().empty()) {
            damaged.push_back({path, false, false});  // a plain line file: NULs, repeated lines
        }
        for (const std::string& name : extras.Names()) {
            const FindResult found = FindKey(ingredients.keys, name);
            if (!found.found) {
                Report(what + ": o ingrediente \"" + ShownName(name) + "\" não existe na tabela.");
            }
            // Values that cannot be right, and those that disagree with the record.
            const std::string record = found.found ? ingredients.lines[found.index] : "";
            for (const ExtraValueFinding& finding : CheckExtraValuesOf(extras.Find(name), record)) {
                const std::string text =
                    what + ", ingrediente \"" + ShownName(name) + "\": " + finding.text;
                if (finding.error) {
                    Report(text);
                } else if (!suppliedTables.contains(table)) {
                    // Values that disagree with each other may be right (the user confirmed
                    // them on the register); those of a supplied table are as published.
                    notices.push_back(m_prefix + text);
                }
            }
        }
    }

    void Preparation(const std::string& table, const std::string& name, const std::string& record,
                     const LineTable& ingredients) {
        const std::string shown = "preparação \"" + ShownName(name) + "\"";
        const fs::path file = PreparationFileLocation(m_home, table, name);
        if (std::error_code ec; !fs::is_regular_file(file, ec)) {
            if (!TotalsAreZero(record)) {
                Report(shown + ": o arquivo de ingredientes \"" + file.filename().string() +
                       "\" não existe, mas o registro tem totais.");
            }
            return;
        }
        Damages(shown, file);
        const std::vector<std::string> lines = ReadLinesIfAny(file);
        Records(shown, lines, L::kCount);
        LineList valid;
        valid.SetSorted(false);
        for (const std::string& line : lines) {
            if (FieldCount(line) != L::kCount) {
                continue;
            }
            valid.Add(line);
            const std::string ingredient = RecordKey(line);
            if (!FindKey(ingredients.keys, ingredient).found) {
                Report(shown + ": o ingrediente \"" + ShownName(ingredient) +
                       "\" não existe na tabela.");
            }
        }
        auto compare = [&](int recordField, int lineField, std::string_view what) {
            long double sum = SumRecordField(valid, lineField);
            sum = AboveAmountLimit(sum) ? kAmountLimit : sum;
            const std::string stored = GetField(recordField, record);
            if (std::fabs(TextToNumber(stored) - sum) >= 0.005L) {
                Report(shown + ": o total de " + std::string(what) + " (" +
                       Utf8(RemoveSpaces(stored).empty() ? "vazio" : RemoveSpaces(stored)) +
                       ") difere da soma das linhas (" +
                       Utf8(RemoveSpaces(FormatNumber(2, 9, sum))) + ").");
            }
        };
        for (size_t i = 0; i < kNutrients.size(); ++i) {
            compare(kNutrients[i].recordField, kNutrients[i].lineField, kNutrientNames[i]);
        }
        compare(R::kCostTotal, L::kComputedCost, "custo");
    }

    void Measures(const std::string& table, const LineTable& ingredients) {
        std::set<fs::path> names;
        for (const std::string& key : ingredients.keys.Items()) {
            try {
                names.insert(RecordFileIn({}, key, ".med"));
            } catch (const StorageError&) {
                Report("ingrediente \"" + ShownName(key) +
                       "\": o nome não serve como nome de arquivo.");
            }
        }
        for (const fs::path& file : FilesIn(MeasureFolder(m_home, table), ".med")) {
            const std::string shown = "medidas caseiras \"" + file.filename().string() + "\"";
            Damages(shown, file);
            Records(shown, ReadLinesIfAny(file), kMeasureFields);
            if (!names.contains(file.filename())) {
                Report(shown + ": nenhum ingrediente da tabela tem esse nome.");
            }
        }
    }

    // Files of preparations the list does not have that still hold something: left by a
    // deletion or a rename that did not end. An empty file holds nothing to lose.
    void LeftFiles(const std::string& table, const std::set<fs::path>& preparations) {
        struct Kind {
            fs::path folder;
            std::string_view extension;
            std::string_view what;
        };
        const fs::path folder = TableFolder(m_home, table);
        const Kind kinds[] = {{PreparationFolder(m_home, table), ".dad", "ingredientes"},
                              {RecipeFolder(m_home, table), ".rec", "modo de preparo"},
                              {folder / "Etiqueta", ".eti", "folha de etiquetas"},
                              {LabelFolder(m_home, table), ".rot", "rótulo"}};
        const fs::path list = PreparationListLocation(m_home, table).filename();
        for (const Kind& kind : kinds) {
            for (const fs::path& file : FilesIn(kind.folder, kind.extension)) {
                std::error_code ec;
                if (file.filename() == list || preparations.contains(file.stem()) ||
                    fs::file_size(file, ec) == 0) {
                    continue;
                }
                Report(std::string(kind.what) + " \"" + file.filename().string() +
                       "\": a preparação não existe mais.");
            }
        }
    }

    // The files of a folder with an extension, in the order of their names.
    static std::vector<fs::path> FilesIn(const fs::path& folder, std::string_view extension) {
        std::vector<fs::path> files;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->is_regular_file(ec) && it->path().extension() == extension) {
                files.push_back(it->path());
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path m_home;
    std::string m_prefix;
};

}  // namespace

DataCheck CheckData(const fs::path& home, const std::optional<std::string>& table) {
    Checker checker(home);
    checker.TableList();
    const std::vector<TableEntry> tables = ReadTableList(home, true);
    for (const TableEntry& entry : tables) {
        if (!entry.Editable()) {
            checker.suppliedTables.insert(entry.key);
        }
    }
    if (table) {
        checker.Table(*table);
    } else {
        for (const TableEntry& entry : tables) {
            checker.Table(entry.key);
        }
    }
    checker.TemporaryFiles();
    return {std::move(checker.findings), std::move(checker.damaged), std::move(checker.temporaries),
            std::move(checker.notices)};
}

}  // namespace velmaro::cli
