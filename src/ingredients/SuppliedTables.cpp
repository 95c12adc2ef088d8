#include "ingredients/SuppliedTables.h"

#include <array>
#include <fstream>
#include <functional>
#include <system_error>

#include "ingredients/CsvReader.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/SuppliedMeasures.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

CompositionTableSetup TacoSetup() {
    CompositionTableSetup setup;
    setup.tableName = kTacoTableName;
    setup.description = kTacoDescription;
    setup.flag = "0";
    // TACO's carbohydrate is the total by difference: the fibre is inside it.
    setup.carbohydrateIncludesFibre = true;
    setup.nameColumn = "descricao";
    setup.groupColumn = "categoria";
    setup.valueColumns = {"energia_kcal",       "carboidrato_g", "proteina_g",        "lipideos_g",
                          "gordura_saturada_g", "colesterol_mg", "fibra_alimentar_g", "calcio_mg",
                          "ferro_mg",           "sodio_mg"};
    setup.sourceText = kTacoSource;
    setup.traceCodes = {"Tr"};
    // "SEM_LINHA_AG": the food is not in the fatty-acid table, so no saturated fat.
    setup.blankCodes = {"NA", "*", "SEM_LINHA_AG"};
    setup.renamedFoods = {
        // Footnote markers of the alcohol content.
        {"Cana, aguardente 1", "Cana, aguardente"},
        {"Cerveja, pilsen 2", "Cerveja, pilsen"},
        // Names longer than the 60 characters of a key.
        {"Margarina, com óleo interesterificado, com sal (65%de lipídeos)",
         "Margarina, óleo interesterificado, com sal (65% de lipídeos)"},
        {"Margarina, com óleo interesterificado, sem sal (65% de lipídeos)",
         "Margarina, óleo interesterificado, sem sal (65% de lipídeos)"},
    };
    // The categories longer than the 20 characters of a group name.
    setup.groupNames = {
        {"Bebidas (alcoólicas e não alcoólicas)", "Bebidas"},
        {"Leguminosas e derivados", "Leguminosas"},
        {"Outros alimentos industrializados", "Industrializados"},
        {"Pescados e frutos do mar", "Pescados e mariscos"},
        {"Verduras, hortaliças e derivados", "Verduras, hortaliças"},
    };
    return setup;
}

CompositionTableSetup IbgeSetup() {
    CompositionTableSetup setup;
    setup.tableName = kIbgeTableName;
    setup.description = kIbgeDescription;
    setup.flag = "0";
    // IBGE's carbohydrate is, as TACO's, the total by difference, fibre included.
    setup.carbohydrateIncludesFibre = true;
    setup.nameColumn = "nome";
    setup.valueColumns = {"energia_kcal",       "carboidrato_g", "proteina_g",        "lipideos_g",
                          "gordura_saturada_g", "colesterol_mg", "fibra_alimentar_g", "calcio_mg",
                          "ferro_mg",           "sodio_mg"};
    setup.sourceText = kIbgeSource;
    // The script wrote IBGE's "-" as 0 and a value not available as an empty cell.
    setup.traceCodes = {};
    setup.blankCodes = {};
    return setup;
}

namespace {

std::string InstallMessage(std::string_view table, const std::string& detail) {
    return W("Não foi possível instalar a tabela ") + W(table) + ": " + detail;
}

// A delivered table: imported once into a home whose table list does not name it, then
// `after` (the values beside its records) when the table in the list is the delivered one
// (flag "0"), then the marker. `after` adds only what is missing, so a start that failed
// half-way does it again.
std::string InstallTable(
    const fs::path& deliveredDir, const fs::path& home, const CompositionTableSetup& setup,
    std::string_view csvName, std::string_view markerName, const std::string& markerText,
    const std::function<std::string(const std::string& table, std::istream& csv)>& after) {
    std::error_code ec;
    const fs::path marker = DataFolder(home) / markerName;
    if (fs::exists(marker, ec) || ec) {
        return {};
    }
    const fs::path csvPath = deliveredDir / csvName;
    if (!fs::is_regular_file(csvPath, ec)) {
        return {};  // not delivered with this program
    }
    const auto unreadable = [&] {
        return InstallMessage(setup.tableName,
                              W("o arquivo ") + W(csvPath.string()) + W(" não pode ser lido."));
    };
    try {
        LineTable list;
        LoadLineTable(TableListPath(home), list);
        // Nothing goes into a home whose table list did not read whole.
        RefuseDamaged(list.lines.Check());
        std::string key = W(setup.tableName);
        key.resize(20, ' ');
        // A table of that name in the list (the user's own, or this one from an earlier
        // start whose marker was lost) is left as it is.
        if (!FindKey(list.keys, key).found) {
            std::ifstream csv(csvPath, std::ios::binary);
            if (!csv) {
                return unreadable();
            }
            const ImportResult result = ImportCompositionTable(home, setup, csv);
            if (result.status == ImportStatus::InvalidData ||
                result.status == ImportStatus::WriteFailed) {
                return InstallMessage(setup.tableName, result.errors.front().message);
            }
            // Imported, or the user's own files stand in its folder: either way done.
            LoadLineTable(TableListPath(home), list);
        }
        const FindResult found = FindKey(list.keys, key);
        if (after && found.found && GetRecordField(list.lines, found.index, 3) == "0") {
            std::ifstream csv(csvPath, std::ios::binary);
            if (!csv) {
                return unreadable();
            }
            if (std::string error = after(list.keys[found.index], csv); !error.empty()) {
                return error;
            }
        }
        WriteFileAtomic(marker, markerText);
    } catch (const std::exception& e) {
        return InstallMessage(setup.tableName, *Utf8ToCp1252(e.what(), '?'));
    }
    return {};
}

std::string InstallTaco(const fs::path& deliveredDir, const fs::path& home) {
    return InstallTable(deliveredDir, home, TacoSetup(), kTacoCsv, kTacoMarker,
                        W("Tabela TACO fornecida com o programa: já tratada nesta pasta de "
                          "dados. Para instalá-la de novo, exclua este arquivo.\r\n"),
                        {});
}

// IBGE's table with its sugars and trans fat, under one marker.
std::string InstallIbge(const fs::path& deliveredDir, const fs::path& home) {
    return InstallTable(
        deliveredDir, home, IbgeSetup(), kIbgeCsv, kIbgeMarker,
        W("Tabela IBGE (POF 2008–2009) fornecida com o programa, com os açúcares e a gordura "
          "trans: já tratada nesta pasta de dados. Para instalá-la de novo, exclua este "
          "arquivo.\r\n"),
        [&home](const std::string& table, std::istream& csv) {
            return InstallExtraValues(home, table, csv, "nome", kIbgeSource).error;
        });
}

// Something delivered for TACO's table (its household measures, its trans fat), once per
// data home, after the table: on the start that installs the table, or on the first start
// of a program that delivers it in a data home that got the table from an earlier one. It
// goes only into the delivered table (a user's table called TACO has flag "1"); `install`
// adds it to that table (never over what the user has there) and gives its error, empty
// when done. `failure` begins every message.
std::string InstallTacoPart(
    const fs::path& deliveredDir, const fs::path& home, std::string_view markerName,
    std::string_view csvName, const std::string& failure, const std::string& markerText,
    const std::function<std::string(const std::string& table, std::istream& csv)>& install) {
    std::error_code ec;
    const fs::path marker = DataFolder(home) / markerName;
    if (fs::exists(marker, ec) || ec) {
        return {};
    }
    const fs::path csvPath = deliveredDir / csvName;
    if (!fs::is_regular_file(csvPath, ec) || !fs::exists(DataFolder(home) / kTacoMarker, ec)) {
        return {};  // not delivered, or the table itself not dealt with yet
    }
    try {
        LineTable list;
        LoadLineTable(TableListPath(home), list);
        // Nothing goes into a home whose table list did not read whole.
        RefuseDamaged(list.lines.Check());
        std::string key = W(kTacoTableName);
        key.resize(20, ' ');
        const FindResult found = FindKey(list.keys, key);
        if (found.found && GetRecordField(list.lines, found.index, 3) == "0") {
            std::ifstream csv(csvPath, std::ios::binary);
            if (!csv) {
                return failure + W("o arquivo ") + W(csvPath.string()) + W(" não pode ser lido.");
            }
            if (std::string error = install(list.keys[found.index], csv); !error.empty()) {
                return error;
            }
        }
        WriteFileAtomic(marker, markerText);
    } catch (const std::exception& e) {
        return failure + *Utf8ToCp1252(e.what(), '?');
    }
    return {};
}

// The household measures of TACO: never over a measures file that holds measures already;
// measures the user deletes later do not come back.
std::string InstallTacoMeasures(const fs::path& deliveredDir, const fs::path& home) {
    return InstallTacoPart(
        deliveredDir, home, kTacoMeasuresMarker, kTacoMeasuresCsv,
        W("Não foi possível instalar as medidas caseiras da tabela TACO: "),
        W("Medidas caseiras da tabela TACO fornecidas com o programa: já tratadas nesta pasta "
          "de dados. Para instalá-las de novo (só nos ingredientes sem medidas), exclua este "
          "arquivo.\r\n"),
        [&home](const std::string& table, std::istream& csv) {
            return InstallMeasures(home, table, csv).error;
        });
}

// The trans fat of TACO: only where the ingredient has no value and no source.
std::string InstallTacoTrans(const fs::path& deliveredDir, const fs::path& home) {
    return InstallTacoPart(
        deliveredDir, home, kTacoTransMarker, kTacoTransCsv,
        W("Não foi possível instalar a gordura trans da tabela TACO: "),
        W("Gordura trans da tabela TACO fornecida com o programa: já tratada nesta pasta de "
          "dados. Para instalá-la de novo (só nos ingredientes sem esse valor), exclua este "
          "arquivo.\r\n"),
        [&home](const std::string& table, std::istream& csv) {
            return InstallTransFat(home, table, csv).error;
        });
}

// A home that got TACO before its table said whether its carbohydrate includes fibre gets
// the answer of the definition, once (while the table is the delivered one and has no
// answer of its own).
std::string InstallTacoFibre(const fs::path& /*deliveredDir*/, const fs::path& home) {
    std::error_code ec;
    if (!fs::exists(DataFolder(home) / kTacoMarker, ec)) {
        return {};
    }
    try {
        LineTable list;
        LoadLineTable(TableListPath(home), list);
        RefuseDamaged(list.lines.Check());
        std::string key = W(kTacoTableName);
        key.resize(20, ' ');
        const FindResult found = FindKey(list.keys, key);
        if (!found.found || GetRecordField(list.lines, found.index, 3) != "0" ||
            fs::exists(CarbohydrateFibreFileLocation(home, list.keys[found.index]), ec)) {
            return {};
        }
        StoreCarbohydrateIncludesFibre(home, list.keys[found.index],
                                       TacoSetup().carbohydrateIncludesFibre);
    } catch (const std::exception& e) {
        return W("Não foi possível gravar se o carboidrato da tabela TACO inclui a fibra: ") +
               *Utf8ToCp1252(e.what(), '?');
    }
    return {};
}

int FindColumn(const std::vector<std::string>& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

TransInstallResult InstallTransFat(const fs::path& home, std::string_view table,
                                   std::istream& csv) {
    return InstallExtraValues(home, table, csv, "alimento", kTacoSource);
}

TransInstallResult InstallExtraValues(const fs::path& home, std::string_view table,
                                      std::istream& csv, std::string_view foodColumn,
                                      std::string_view sourceText) {
    TransInstallResult result;
    const std::string failure =
        W(sourceText == kTacoSource ? "Não foi possível instalar a gordura trans da tabela "
                                    : "Não foi possível instalar os açúcares e a gordura trans "
                                      "da tabela ") +
        TrimTrailingSpaces(table) + ": ";
    auto fail = [&](int line, const std::string& what) {
        result.error = failure + (line > 0 ? W("linha ") + std::to_string(line) + ": " : "") + what;
        return result;
    };
    try {
        LineTable ingredients;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFilePath(home, table), ingredients, progress);
        const fs::path path = ExtraValuesFileLocation(home, table);
        ExtraValuesTable extras = LoadExtraValuesFile(path);
        if (!extras.Problems().empty()) {
            const ExtraValuesProblem& first = extras.Problems().front();
            return fail(0, W("o arquivo ") + W(path.string()) + W(" está danificado (linha ") +
                               std::to_string(first.line) + "): " + first.what + ".");
        }
        const std::string before = extras.Bytes();
        CsvReader reader(csv);
        const auto header = reader.Next();
        const int food = header ? FindColumn(header->fields, foodColumn) : -1;
        // The columns of the file, by slot (-1: not in the file).
        std::array<int, kExtraValueCount> columns{};
        bool anyColumn = false;
        const std::array<const char*, kExtraValueCount> names = {
            kTotalSugarsColumn, kAddedSugarsColumn, kTransFatColumn};
        for (size_t i = 0; i < kExtraValueCount; ++i) {
            columns[i] = header ? FindColumn(header->fields, names[i]) : -1;
            anyColumn = anyColumn || columns[i] >= 0;
        }
        if (food < 0 || !anyColumn) {
            return fail(0, W("faltam as colunas \"") + W(foodColumn) + W("\" e \"") +
                               kTransFatColumn + "\".");
        }
        const std::string source = W(sourceText);
        while (const auto row = reader.Next()) {
            if (row->fields.size() != header->fields.size()) {
                return fail(row->line, W("a linha não tem os campos do cabeçalho."));
            }
            std::array<std::string, kExtraValueCount> texts;
            for (size_t i = 0; i < kExtraValueCount; ++i) {
                if (columns[i] < 0) {
                    continue;
                }
                const std::string& cell = row->fields[static_cast<size_t>(columns[i])];
                if (IsAllSpaces(cell)) {
                    continue;  // not known
                }
                const auto value = ParseNumber(cell);
                texts[i] = value ? FormatNumber(2, 7, *value) : std::string();
                if (!value || *value < 0 || texts[i].size() != 7) {
                    return fail(row->line, i == static_cast<size_t>(ExtraValue::TransFat)
                                               ? W("o valor de gordura trans não é um número "
                                                   "válido.")
                                               : W("o valor de açúcares não é um número "
                                                   "válido."));
                }
            }
            const auto name = Utf8ToCp1252(row->fields[static_cast<size_t>(food)], '?');
            const FindResult at = FindKey(ingredients.keys, ExtraValuesKey(*name));
            if (!at.found) {
                ++result.unknownFoods;
                continue;
            }
            const std::string& ingredient = ingredients.keys[at.index];
            ExtraValues values = extras.Find(ingredient);
            bool changed = false;
            bool offered = false;
            for (size_t slot = 0; slot < kExtraValueCount; ++slot) {
                if (texts[slot].empty()) {
                    continue;
                }
                offered = true;
                if (values.Known(static_cast<ExtraValue>(slot)) ||
                    !IsAllSpaces(values.sources[slot])) {
                    continue;
                }
                values.values[slot] = texts[slot];
                values.sources[slot] = source;
                changed = true;
            }
            if (!changed) {
                result.kept += offered ? 1 : 0;
                continue;
            }
            for (std::string& v : values.values) {
                if (v.empty()) {
                    v = BlankMaskText(kExtraValueMask);
                }
            }
            extras.Set(ingredient, values);
            ++result.values;
        }
        if (extras.Bytes() != before) {
            EnsureFolder(path.parent_path());
            WriteFileAtomic(path, extras.Bytes());
        }
    } catch (const CsvError& e) {
        return fail(e.line, e.what());
    } catch (const std::exception& e) {
        return fail(0, *Utf8ToCp1252(e.what(), '?'));
    }
    return result;
}

std::string InstallSuppliedTables(const fs::path& deliveredDir, const fs::path& home) {
    for (auto step :
         {InstallTaco, InstallTacoMeasures, InstallTacoTrans, InstallTacoFibre, InstallIbge}) {
        const std::string notice = step(deliveredDir, home);
        if (!notice.empty()) {
            return notice;
        }
    }
    return {};
}

}  // namespace velmaro
