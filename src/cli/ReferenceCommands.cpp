// valores-referencia importar, valores-referencia exportar, valores-referencia listar.

#include <algorithm>
#include <fstream>
#include <map>

#include "cli/CliData.h"
#include "cli/Commands.h"
#include "output/reference/In75List.h"
#include "output/reference/ReferenceValuesCsv.h"
#include "storage/Collation.h"
#include "storage/DataHomeLock.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

namespace {

// A home that never had the reference list delivered with the program gets it, as the
// desktop program's start gives it: only with the home held (a home the program has open
// got it when the program started), and a failure is told without stopping the command.
void InstallDeliveredList(CliIo& io) {
    if (io.delivered.empty() || !ReferenceListPending(io.home)) {
        return;
    }
    DataHomeLock lock;
    if (lock.Acquire(io.home) != DataHomeLock::State::Held) {
        return;
    }
    const std::string notice = InstallReferenceList(io.delivered, io.home);
    if (!notice.empty()) {
        io.err << "velmaro-cli: " << Utf8(notice) << "\n";
    }
}

}  // namespace

int ReferenceImportCommand(const Arguments& arguments, CliIo& io) {
    const fs::path file = ArgumentPath(arguments.operands[0]);
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(file, ec)) {
        throw UserError("não foi possível ler o arquivo \"" + Shown(file) + "\".");
    }
    const bool validRowsOnly = arguments.Has("forcar");
    const ReferenceImportResult result = ImportReferenceValues(io.home, in, validRowsOnly);
    if (!result.ignoredColumns.empty()) {
        // What is echoed is capped: a file of one huge line would otherwise be printed back
        // whole as column names.
        constexpr size_t kShownColumns = 10;
        constexpr size_t kShownWidth = 40;
        std::string names;
        const size_t count = result.ignoredColumns.size();
        for (size_t i = 0; i < std::min(count, kShownColumns); ++i) {
            const std::string& column = result.ignoredColumns[i];
            const std::string shown = column.size() > kShownWidth
                                          ? Utf8(column.substr(0, kShownWidth)) + "…"
                                          : Utf8(column);
            names += (names.empty() ? "\"" : ", \"") + shown + "\"";
        }
        if (count > kShownColumns) {
            names += " e mais " + std::to_string(count - kShownColumns);
        }
        io.err << "Colunas ignoradas (nomes não reconhecidos): " << names << "\n";
    }
    for (const ImportError& error : result.errors) {
        io.err << Utf8(error.message) << "\n";
    }
    if (!result.written) {
        throw UserError(result.refusedRows > 0 && !validRowsOnly
                            ? Plural(result.refusedRows, "linha com erro", "linhas com erro") +
                                  "; nada foi importado (--forcar importa só as linhas válidas)."
                            : "nada foi importado.");
    }
    io.out << Plural(result.imported, "alimento importado", "alimentos importados") << " em "
           << Plural(result.tables, "tabela", "tabelas") << " de referência";
    if (result.previousFoods > 0) {
        io.out << "; a lista anterior (" << Plural(result.previousFoods, "alimento", "alimentos")
               << ") foi substituída";
    }
    io.out << ".\n";
    if (result.refusedRows > 0) {
        io.out << Plural(result.refusedRows, "linha com erro ficou", "linhas com erro ficaram")
               << " de fora.\n";
    }
    return kExitOk;
}

int ReferenceExportCommand(const Arguments& arguments, CliIo& io) {
    InstallDeliveredList(io);
    const ReferenceExportResult result = ExportReferenceValues(io.home);
    if (const auto file = WriteCsvOutput(arguments.operands[0], result.csv, io)) {
        io.out << Plural(result.exported, "alimento exportado", "alimentos exportados")
               << " para \"" << Shown(*file) << "\".\n";
    }
    for (const std::string& table : result.tablesWithoutFoods) {
        io.err << "A tabela de referência \"" << Utf8(table)
               << "\" não tem alimentos e não aparece no arquivo.\n";
    }
    for (const int line : result.unreadableLines) {
        io.err << "A linha " << line
               << " do arquivo de valores de referência não tem os 7 campos de um alimento e "
                  "não foi exportada.\n";
    }
    for (const auto& [line, first] : result.repeatedLines) {
        io.err << "A linha " << line
               << " do arquivo de valores de referência repete o nome do alimento da linha "
               << first << " e não foi exportada.\n";
    }
    std::string leftOut;
    if (!result.unreadableLines.empty()) {
        leftOut = Plural(static_cast<int>(result.unreadableLines.size()), "linha ilegível ficou",
                         "linhas ilegíveis ficaram");
    }
    if (!result.repeatedLines.empty()) {
        leftOut += (leftOut.empty() ? "" : " e ") +
                   Plural(static_cast<int>(result.repeatedLines.size()), "linha repetida ficou",
                          "linhas repetidas ficaram");
    }
    if (!leftOut.empty()) {
        throw UserError(leftOut + " de fora da exportação.");
    }
    return kExitOk;
}

int ReferenceListCommand(const Arguments&, CliIo& io) {
    InstallDeliveredList(io);
    const StoredReferenceValues stored = ReadReferenceValues(io.home);
    if (stored.foods.empty() && stored.unreadableLines.empty()) {
        io.out << "A lista de valores de referência de \"" << Shown(io.home)
               << "\" está vazia. Para carregar uma: velmaro-cli valores-referencia importar "
                  "ARQUIVO.csv\n";
        return kExitOk;
    }
    // By reference table, in the order of the line tables; the foods in the file's order.
    std::map<std::string, std::pair<std::string, std::vector<size_t>>> tables;
    for (size_t i = 0; i < stored.foods.size(); ++i) {
        const std::string& table = stored.foods[i][6];
        auto& entry = tables[CollationKey(table)];
        if (entry.second.empty()) {
            entry.first = table;
        }
        entry.second.push_back(i);
    }
    for (const auto& [key, entry] : tables) {
        io.out << (entry.first.empty() ? std::string("(sem tabela)") : Utf8(entry.first)) << "\n";
        for (const size_t i : entry.second) {
            const auto& food = stored.foods[i];
            io.out << "  " << Utf8(food[0]) << ": " << Utf8(food[1]) << " " << Utf8(food[2]);
            if (!food[5].empty()) {
                io.out << "; no rótulo: " << Utf8(food[5]);
            }
            if (!food[3].empty() || !food[4].empty()) {
                io.out << " (medida caseira: " << Utf8(food[3])
                       << (food[3].empty() || food[4].empty() ? "" : ", ") << Utf8(food[4]) << ")";
            }
            io.out << "\n";
        }
    }
    io.out << Plural(static_cast<int>(stored.foods.size()), "alimento", "alimentos") << " em "
           << Plural(static_cast<int>(tables.size()), "tabela", "tabelas") << " de referência.\n";
    for (const int line : stored.unreadableLines) {
        io.err << "A linha " << line
               << " do arquivo de valores de referência não tem os 7 campos de um alimento.\n";
    }
    return stored.unreadableLines.empty() ? kExitOk : kExitError;
}

}  // namespace velmaro::cli
