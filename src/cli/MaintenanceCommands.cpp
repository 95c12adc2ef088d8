// recalcular, verificar.

#include <ctime>
#include <system_error>

#include "cli/CliData.h"
#include "cli/Commands.h"
#include "cli/DataCheck.h"
#include "cli/DataRepair.h"
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
    if (report.skipped > 0) {
        io.err << "velmaro-cli: "
               << (report.skipped == 1
                       ? "1 preparação não foi recalculada"
                       : std::to_string(report.skipped) + " preparações não foram recalculadas")
               << " (veja as linhas \"erro:\" acima e velmaro-cli verificar).\n";
        return kExitError;
    }
    return kExitOk;
}

int CheckCommand(const Arguments& arguments, CliIo& io) {
    std::error_code ec;
    if (!fs::is_directory(DataFolder(io.home), ec)) {
        throw UserError("a pasta de dados \"" + Shown(DataFolder(io.home)) + "\" não existe.");
    }
    std::optional<std::string> only;
    if (!arguments.operands.empty()) {
        only = FindTable(io.home, arguments.operands[0], true).key;
    }
    DataCheck check = CheckData(io.home, only);
    if (arguments.Has("reparar") && (!check.damaged.empty() || !check.temporaries.empty())) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char date[16];
        std::strftime(date, sizeof date, "%Y-%m-%d", &local);
        // Each repair told as soon as it is done: a failure part-way leaves them said.
        const int done = RepairDataFolder(
            io.home, check, date,
            {[&](const std::string& line) { io.out << "Reparo: " << line << std::endl; },
             [&](const std::string& line) { io.out << "Não reparado: " << line << std::endl; }});
        if (done == 0) {
            io.out << "Nada pôde ser reparado sem risco.\n";
        }
        check = CheckData(io.home, only);
        if (!check.findings.empty()) {
            io.out << "O que ficou para ser resolvido à mão:\n";
        }
    }
    for (const std::string& finding : check.findings) {
        io.out << finding << "\n";
    }
    for (const std::string& notice : check.notices) {
        io.out << "aviso: " << notice << "\n";
    }
    const std::vector<std::string>& findings = check.findings;
    if (findings.empty()) {
        io.out << "Nenhum problema encontrado.\n";
        return kExitOk;
    }
    io.out << findings.size()
           << (findings.size() == 1 ? " problema encontrado." : " problemas encontrados.") << "\n";
    return kExitError;
}

}  // namespace velmaro::cli
