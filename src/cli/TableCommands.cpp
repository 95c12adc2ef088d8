// tabela importar, tabela exportar, tabela listar, tabela acucares.

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/CliData.h"
#include "cli/Commands.h"
#include "ingredients/CompositionExport.h"
#include "ingredients/CompositionImport.h"
#include "ingredients/CsvReader.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/ExtraValuesTransfer.h"
#include "shell/OutputFiles.h"
#include "storage/Collation.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

namespace {

// How the command line reads a spreadsheet: what it names, how it is written.
CompositionTableSetup ImportSetup(const Arguments& arguments) {
    CompositionTableSetup setup;
    // Blanks around the names are no part of them, in what is written and in every
    // message.
    setup.tableName = TrimmedName(arguments.operands[0]);
    setup.description = TrimmedName(arguments.Value("descricao").value_or(""));
    setup.flag = arguments.Has("fornecida") ? "0" : "1";
    setup.separator = kDetectSeparator;
    setup.encoding = CompositionTableSetup::Encoding::Detect;
    setup.recogniseColumns = true;
    setup.traceCodes = {"Tr"};
    setup.blankCodes = {"NA", "*", "-"};
    // Names keep their inner spaces, so that an exported table comes back as it was.
    setup.collapseSpaces = false;
    setup.addToExistingTable = true;
    setup.importValidRows = arguments.Has("forcar");
    return setup;
}

// The number of characters of a UTF-8 text.
size_t Width(std::string_view utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

std::string PadTo(std::string utf8, size_t width) {
    const size_t shown = Width(utf8);
    if (shown < width) {
        utf8.append(width - shown, ' ');
    }
    return utf8;
}

}  // namespace

int TableImportCommand(const Arguments& arguments, CliIo& io) {
    const fs::path file = ArgumentPath(arguments.operands[1]);
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(file, ec)) {
        throw UserError("não foi possível ler o arquivo \"" + Shown(file) + "\".");
    }
    const CompositionTableSetup setup = ImportSetup(arguments);
    const ImportResult result = ImportCompositionTable(io.home, setup, in);

    if (!result.ignoredColumns.empty()) {
        std::string names;
        for (const std::string& column : result.ignoredColumns) {
            names += (names.empty() ? "\"" : ", \"") + Utf8(column) + "\"";
        }
        io.err << "Colunas ignoradas (nomes não reconhecidos): " << names << "\n";
    }
    const std::string table = "\"" + setup.tableName + "\"";
    switch (result.status) {
        case ImportStatus::Imported:
        case ImportStatus::InvalidData:
            // Line by line: the refused rows (and, failing, what stopped the whole file).
            for (const ImportError& error : result.errors) {
                io.err << Utf8(error.message) << "\n";
            }
            break;
        case ImportStatus::ReadOnlyTable:
            throw UserError("a tabela " + table +
                            " é somente para consulta; para importar nela, use --fornecida. "
                            "Nada foi importado.");
        case ImportStatus::TableExists:
        case ImportStatus::WriteFailed:
            throw UserError(result.errors.empty() ? std::string("nada foi importado.")
                                                  : Utf8(result.errors.back().message));
    }
    if (result.status == ImportStatus::InvalidData) {
        throw UserError(result.refusedRows > 0 && !setup.importValidRows
                            ? Plural(result.refusedRows, "linha com erro", "linhas com erro") +
                                  "; nada foi importado (--forcar importa só as linhas válidas)."
                            : "nada foi importado.");
    }

    if (result.tableCreated) {
        io.out << "Tabela " << table << " criada ("
               << (setup.flag == "1" ? "editável" : "só para consulta") << ").\n";
    } else if (!setup.description.empty()) {
        io.out << "A tabela " << table << " já existia: a descrição não foi mudada.\n";
    }
    io.out << Plural(result.ingredientCount, "ingrediente importado", "ingredientes importados")
           << ": " << result.added << (result.added == 1 ? " novo" : " novos") << ", "
           << result.replaced << (result.replaced == 1 ? " substituído" : " substituídos") << "; "
           << Plural(result.groupCount, "grupo novo", "grupos novos") << ".\n";
    if (result.refusedRows > 0) {
        io.out << Plural(result.refusedRows, "linha com erro ficou", "linhas com erro ficaram")
               << " de fora.\n";
    }
    if (!result.replacedNames.empty()) {
        const TableEntry entry = FindTable(io.home, setup.tableName);
        const int users = PreparationsUsing(io.home, entry.key, result.replacedNames);
        if (users > 0) {
            io.out << "Aviso: " << Plural(users, "preparação usa", "preparações usam")
                   << " ingredientes substituídos; para recalculá-las: velmaro-cli recalcular "
                   << table << "\n";
        }
    }
    return kExitOk;
}

int TableExportCommand(const Arguments& arguments, CliIo& io) {
    const TableEntry table = FindTable(io.home, arguments.operands[0]);
    const ExportResult result = ExportCompositionTable(io.home, table.key);
    if (const auto file = WriteCsvOutput(arguments.operands[1], result.csv, io)) {
        io.out << Plural(result.exported, "ingrediente exportado", "ingredientes exportados")
               << " para \"" << Shown(*file) << "\".\n";
    }
    for (const int line : result.unreadableLines) {
        io.err << "A linha " << line
               << " do arquivo de ingredientes não tem os 30 campos de um ingrediente e não "
                  "foi exportada.\n";
    }
    for (const int line : result.unreadableExtraLines) {
        io.err << "A linha " << line
               << " do arquivo de açúcares e gordura trans (ArqIngCpl.dad) não pôde ser lida e "
                  "os seus valores não foram exportados.\n";
    }
    if (!result.unreadableLines.empty() || !result.unreadableExtraLines.empty()) {
        throw UserError(Plural(static_cast<int>(result.unreadableLines.size() +
                                                result.unreadableExtraLines.size()),
                               "linha ilegível ficou", "linhas ilegíveis ficaram") +
                        " de fora da exportação (veja velmaro-cli verificar).");
    }
    return kExitOk;
}

int TableListCommand(const Arguments&, CliIo& io) {
    const std::vector<TableEntry> tables = ReadTableList(io.home);
    if (tables.empty()) {
        io.out << "Nenhuma tabela de composição em \"" << Shown(io.home) << "\".\n";
        return kExitOk;
    }
    struct Row {
        std::string name, description, kind, count;
    };
    std::vector<Row> rows = {{"Tabela", "Descrição", "Uso", "Ingredientes"}};
    for (const TableEntry& table : tables) {
        std::string count = "?";
        try {
            const std::vector<std::string> lines =
                ReadLinesIfAny(IngredientFileLocation(io.home, table.key));
            count = std::to_string(std::count_if(lines.begin(), lines.end(),
                                                 [](const std::string& l) { return !l.empty(); }));
        } catch (const StorageError& e) {
            // A name that cannot be a folder: the table is listed all the same.
            io.err << "Tabela \"" << ShownName(table.key) << "\": " << e.what() << "\n";
        }
        rows.push_back({ShownName(table.key), ShownName(table.description),
                        table.Editable() ? "editável" : "consulta", count});
    }
    size_t nameWidth = 0;
    size_t descriptionWidth = 0;
    size_t kindWidth = 0;
    for (const Row& row : rows) {
        nameWidth = std::max(nameWidth, Width(row.name));
        descriptionWidth = std::max(descriptionWidth, Width(row.description));
        kindWidth = std::max(kindWidth, Width(row.kind));
    }
    for (const Row& row : rows) {
        io.out << PadTo(row.name, nameWidth) << "  " << PadTo(row.description, descriptionWidth)
               << "  " << PadTo(row.kind, kindWidth) << "  " << row.count << "\n";
    }
    return kExitOk;
}

namespace {

// The ingredients of a table (keys as stored); DamagedFileError when the file did not read
// whole.
LineTable LoadIngredients(const fs::path& home, const std::string& table) {
    LineTable ingredients;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(home, table), ingredients, progress);
    RefuseDamaged(ingredients.lines.Check());
    return ingredients;
}

ExtraValuesTable LoadCleanExtraValues(const fs::path& home, const std::string& table) {
    const fs::path path = ExtraValuesFileLocation(home, table);
    ExtraValuesTable extras = LoadExtraValuesFile(path);
    if (!extras.Problems().empty()) {
        throw UserError("o arquivo de açúcares e gordura trans da tabela \"" + ShownName(table) +
                        "\" está danificado (linha " +
                        std::to_string(extras.Problems().front().line) +
                        "); veja velmaro-cli verificar. Nada foi gravado.");
    }
    return extras;
}

std::string ShownValue(const ExtraValues& values, ExtraValue which) {
    return values.Known(which) ? TrimmedName(values.Text(which)) : "?";
}

}  // namespace

int TableSugarsCommand(const Arguments& arguments, CliIo& io) {
    const TableEntry target = FindTable(io.home, arguments.operands[0]);
    if (!target.Editable()) {
        throw UserError("a tabela \"" + ShownName(target.key) +
                        "\" é somente para consulta; nada foi gravado.");
    }
    const auto from = arguments.Value("de");
    const auto mapName = arguments.Value("mapa");
    if (!from || !mapName) {
        throw UsageError(!from ? "falta --de TABELA." : "falta --mapa ARQUIVO.csv.");
    }
    const TableEntry source = FindTable(io.home, *from);
    const bool replace = arguments.Has("substituir");

    const fs::path mapPath = ArgumentPath(*mapName);
    std::ifstream mapFile(mapPath, std::ios::binary);
    std::error_code ec;
    if (!mapFile || fs::is_directory(mapPath, ec)) {
        throw UserError("não foi possível ler o arquivo \"" + Shown(mapPath) + "\".");
    }
    std::string text((std::istreambuf_iterator<char>(mapFile)), std::istreambuf_iterator<char>());
    std::istringstream mapText(SpreadsheetTextAsUtf8(std::move(text)));
    CsvReader reader(mapText, ';');

    const LineTable ingredients = LoadIngredients(io.home, target.key);
    const LineTable foods = LoadIngredients(io.home, source.key);
    ExtraValuesTable extras = LoadCleanExtraValues(io.home, target.key);
    const ExtraValuesTable foodExtras = LoadCleanExtraValues(io.home, source.key);
    const std::string before = extras.Bytes();

    int filled = 0;
    int kept = 0;
    int notFound = 0;
    bool first = true;
    try {
        while (const auto row = reader.Next()) {
            const std::vector<std::string>& cells = row->fields;
            const std::string line = "Linha " + std::to_string(row->line) + ": ";
            if (first) {
                first = false;
                // A header row ("ingrediente;alimento") is no ingredient.
                if (!cells.empty() && TextEquals(TrimmedName(cells[0]), "ingrediente")) {
                    continue;
                }
            }
            if (cells.size() != 2 || TrimmedName(cells[0]).empty() ||
                TrimmedName(cells[1]).empty()) {
                io.err << line << "esperados dois campos, ingrediente;alimento.\n";
                ++notFound;
                continue;
            }
            const std::string ingredientName = TrimmedName(cells[0]);
            const std::string foodName = TrimmedName(cells[1]);
            const auto ingredientCp = Utf8ToCp1252(ingredientName);
            const auto foodCp = Utf8ToCp1252(foodName);
            const FindResult ingredient =
                ingredientCp ? FindKey(ingredients.keys, ExtraValuesKey(*ingredientCp))
                             : FindResult{};
            const FindResult food =
                foodCp ? FindKey(foods.keys, ExtraValuesKey(*foodCp)) : FindResult{};
            if (!ingredient.found || !food.found) {
                io.out << line << "não encontrado: "
                       << (!ingredient.found ? "ingrediente \"" + ingredientName + "\" em \"" +
                                                   ShownName(target.key) + "\""
                                             : "alimento \"" + foodName + "\" em \"" +
                                                   ShownName(source.key) + "\"")
                       << ".\n";
                ++notFound;
                continue;
            }
            const std::string& key = ingredients.keys[ingredient.index];
            const std::string& foodKey = foods.keys[food.index];
            const ExtraValues foodValues = foodExtras.Find(foodKey);
            const ExtraValuesTaken taken =
                TakeExtraValues(extras.Find(key), foodValues, foodKey, source.key, replace);
            const std::string shownIngredient = "\"" + ShownName(key) + "\"";
            if (taken.taken == 0) {
                io.out << line << shownIngredient
                       << ": nada preenchido (já tem os valores que o alimento dá; "
                          "--substituir os troca).\n";
                ++kept;
                continue;
            }
            extras.Set(key, taken.values);
            io.out << line << shownIngredient << " preenchido de \"" << ShownName(foodKey)
                   << "\": açúcares totais " << ShownValue(taken.values, ExtraValue::TotalSugars)
                   << " g, adicionados " << ShownValue(taken.values, ExtraValue::AddedSugars)
                   << " g, gordura trans " << ShownValue(taken.values, ExtraValue::TransFat)
                   << " g.\n";
            ++filled;
        }
    } catch (const CsvError& e) {
        throw UserError("o arquivo \"" + Shown(mapPath) + "\", linha " + std::to_string(e.line) +
                        ": " + Utf8(e.what()) + " Nada foi gravado.");
    }
    if (extras.Bytes() != before) {
        const fs::path path = ExtraValuesFileLocation(io.home, target.key);
        EnsureFolder(path.parent_path());
        WriteFileAtomic(path, extras.Bytes());
    }
    io.out << Plural(filled, "ingrediente preenchido", "ingredientes preenchidos") << ", "
           << Plural(kept, "já tinha os valores", "já tinham os valores") << ", "
           << Plural(notFound, "linha não encontrada", "linhas não encontradas") << ".\n";
    return notFound > 0 ? kExitError : kExitOk;
}

}  // namespace velmaro::cli
