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
    const int changed = report.changed;
    io.out << report.preparations
           << (report.preparations == 1 ? " preparação recalculada; "
                                        : " preparações recalculadas; ");
    if (changed == 0) {
        io.out << "nenhuma " << (simulate ? "seria alterada" : "alterada");
    } else if (simulate) {
        io.out << changed << (changed == 1 ? " seria alterada" : " seriam alteradas");
    } else {
        io.out << changed << (changed == 1 ? " alterada e gravada" : " alteradas e gravadas");
    }
    io.out << (simulate ? " (simulação: nada foi gravado)." : ".") << "\n";
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
