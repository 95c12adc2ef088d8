// tabela importar, tabela exportar, tabela listar.

#include <algorithm>
#include <fstream>

#include "cli/CliData.h"
#include "cli/Commands.h"
#include "ingredients/CompositionExport.h"
#include "ingredients/CompositionImport.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

namespace {

// How the command line reads a spreadsheet: what it names, how it is written.
CompositionTableSetup ImportSetup(const Arguments& arguments) {
    CompositionTableSetup setup;
    setup.tableName = arguments.operands[0];
    setup.description = arguments.Value("descricao").value_or("");
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

std::string Plural(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
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
    const bool toStandardOutput = arguments.operands[1] == "-";
    std::ostream& notes = toStandardOutput ? io.err : io.out;
    if (toStandardOutput) {
        io.out << result.csv;
        io.out.flush();
    } else {
        const fs::path file = ArgumentPath(arguments.operands[1]);
        try {
            WriteFileAtomic(file, result.csv);
        } catch (const StorageError&) {
            throw UserError("não foi possível gravar o arquivo \"" + Shown(file) + "\".");
        }
        notes << Plural(result.exported, "ingrediente exportado", "ingredientes exportados")
              << " para \"" << Shown(file) << "\".\n";
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
        const std::vector<std::string> lines =
            ReadLinesIfAny(IngredientFileLocation(io.home, table.key));
        const auto count = std::count_if(lines.begin(), lines.end(),
                                         [](const std::string& l) { return !l.empty(); });
        rows.push_back({ShownName(table.key), ShownName(table.description),
                        table.Editable() ? "editável" : "consulta", std::to_string(count)});
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

}  // namespace velmaro::cli
