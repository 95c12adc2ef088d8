// recalcular, verificar.

#include <system_error>

#include "cli/CliData.h"
#include "cli/Commands.h"
#include "cli/DataCheck.h"
#include "cli/Recompute.h"
#include "cli/TerminalProgress.h"
#include "storage/Paths.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

int RecomputeCommand(const Arguments& arguments, CliIo& io) {
    const TableEntry table = FindTable(io.home, arguments.operands[0]);
    const bool simulate = arguments.Has("simular");
    // The bar only on a terminal: a log gets the report alone.
    TerminalProgress bar(io.err, true, io.terminalColumns);
    NullProgress quiet;
    ProgressSink& progress = io.errIsTerminal ? static_cast<ProgressSink&>(bar) : quiet;
    const RecomputeReport report = RecomputeTable(io.home, table.key, !simulate, progress);
    for (const std::string& line : report.lines) {
        io.out << line << "\n";
    }
    io.out << report.changed << " de " << report.preparations
           << (report.preparations == 1 ? " preparação " : " preparações ")
           << (simulate
                   ? (report.changed == 1 ? "mudaria" : "mudariam")
                   : (report.changed == 1 ? "recalculada e gravada" : "recalculadas e gravadas"))
           << (simulate ? " (simulação: nada foi gravado)." : ".") << "\n";
    return kExitOk;
}

int CheckCommand(const Arguments& arguments, CliIo& io) {
    std::error_code ec;
    if (!fs::is_directory(DataFolder(io.home), ec)) {
        throw UserError("a pasta de dados \"" + Shown(DataFolder(io.home)) + "\" não existe.");
    }
    std::optional<std::string> only;
    if (!arguments.operands.empty()) {
        only = FindTable(io.home, arguments.operands[0]).key;
    }
    const std::vector<std::string> findings = CheckDataFolder(io.home, only);
    for (const std::string& finding : findings) {
        io.out << finding << "\n";
    }
    if (findings.empty()) {
        io.out << "Nenhum problema encontrado.\n";
        return kExitOk;
    }
    io.out << findings.size()
           << (findings.size() == 1 ? " problema encontrado." : " problemas encontrados.") << "\n";
    return kExitError;
}

}  // namespace velmaro::cli
