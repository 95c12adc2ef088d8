#include "ingredients/SuppliedTables.h"

#include <fstream>
#include <system_error>

#include "ingredients/SuppliedMeasures.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"

namespace velmaro {

namespace fs = std::filesystem;

CompositionTableSetup TacoSetup() {
    CompositionTableSetup setup;
    setup.tableName = kTacoTableName;
    setup.description = kTacoDescription;
    setup.flag = "0";
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

namespace {

std::string InstallMessage(std::string_view table, const std::string& detail) {
    return W("Não foi possível instalar a tabela ") + W(table) + ": " + detail;
}

std::string InstallTaco(const fs::path& deliveredDir, const fs::path& home) {
    std::error_code ec;
    const fs::path marker = DataFolder(home) / kTacoMarker;
    if (fs::exists(marker, ec) || ec) {
        return {};
    }
    const fs::path csvPath = deliveredDir / kTacoCsv;
    if (!fs::is_regular_file(csvPath, ec)) {
        return {};  // not delivered with this program
    }
    try {
        const CompositionTableSetup setup = TacoSetup();
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
                return InstallMessage(setup.tableName, W("o arquivo ") + W(csvPath.string()) +
                                                           W(" não pode ser lido."));
            }
            const ImportResult result = ImportCompositionTable(home, setup, csv);
            if (result.status == ImportStatus::InvalidData ||
                result.status == ImportStatus::WriteFailed) {
                return InstallMessage(setup.tableName, result.errors.front().message);
            }
            // Imported, or the user's own files stand in its folder: either way done.
        }
        WriteFileAtomic(marker, W("Tabela TACO fornecida com o programa: já tratada nesta "
                                  "pasta de dados. Para instalá-la de novo, exclua este "
                                  "arquivo.\r\n"));
    } catch (const std::exception& e) {
        return InstallMessage(kTacoTableName, *Utf8ToCp1252(e.what(), '?'));
    }
    return {};
}

// The household measures of TACO, once per data home, after the table: on the start that
// installs the table, or on the first start of a program that delivers them in a data
// home that got the table from an earlier one. They go only into the delivered table (a
// user's table called TACO has flag "1"), and never over a measures file that holds
// measures already; measures the user deletes later do not come back.
std::string InstallTacoMeasures(const fs::path& deliveredDir, const fs::path& home) {
    std::error_code ec;
    const fs::path marker = DataFolder(home) / kTacoMeasuresMarker;
    if (fs::exists(marker, ec) || ec) {
        return {};
    }
    const fs::path csvPath = deliveredDir / kTacoMeasuresCsv;
    if (!fs::is_regular_file(csvPath, ec) || !fs::exists(DataFolder(home) / kTacoMarker, ec)) {
        return {};  // not delivered, or the table itself not dealt with yet
    }
    try {
        LineTable list;
        LoadLineTable(TableListPath(home), list);
        RefuseDamaged(list.lines.Check());
        std::string key = W(kTacoTableName);
        key.resize(20, ' ');
        const FindResult found = FindKey(list.keys, key);
        if (found.found && GetRecordField(list.lines, found.index, 3) == "0") {
            std::ifstream csv(csvPath, std::ios::binary);
            if (!csv) {
                return W("Não foi possível instalar as medidas caseiras da tabela TACO: o "
                         "arquivo ") +
                       W(csvPath.string()) + W(" não pode ser lido.");
            }
            const MeasureInstallResult result = InstallMeasures(home, list.keys[found.index], csv);
            if (!result.Ok()) {
                return result.error;
            }
        }
        WriteFileAtomic(marker, W("Medidas caseiras da tabela TACO fornecidas com o programa: "
                                  "já tratadas nesta pasta de dados. Para instalá-las de novo "
                                  "(só nos ingredientes sem medidas), exclua este arquivo.\r\n"));
    } catch (const std::exception& e) {
        return W("Não foi possível instalar as medidas caseiras da tabela TACO: ") +
               *Utf8ToCp1252(e.what(), '?');
    }
    return {};
}

}  // namespace

std::string InstallSuppliedTables(const fs::path& deliveredDir, const fs::path& home) {
    const std::string notice = InstallTaco(deliveredDir, home);
    if (!notice.empty()) {
        return notice;
    }
    return InstallTacoMeasures(deliveredDir, home);
}

}  // namespace velmaro
