#include "shell/ActiveTable.h"

#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

constexpr std::string_view kMainCaption = "TELA PRINCIPAL - VELMARO NUTRICIONAL versão 4.0";
constexpr std::string_view kActiveSuffix = " - Tabela Ativa :";

void TakeRecord(const LineTable& list, int index, ActiveTable& table) {
    table.name = list.keys[index];
    table.description = GetRecordField(list.lines, index, 2);
    table.editable = GetRecordField(list.lines, index, 3) == "1";
}

}  // namespace

void RefreshActiveTable(const std::filesystem::path& programFolder, ActiveTable& table,
                        std::string& mainCaption) {
    {
        const IniFile ini(ConfigFilePath());
        const std::string section = W(cfg::kFixedTableSection);
        table.fixed = ini.ReadBool(section, cfg::kFixTab, false);
        table.name = ReadPaddedName(ini, section, cfg::kNomTab);
    }
    if (!table.fixed) {
        mainCaption = W(kMainCaption);
        return;
    }
    mainCaption = W(kMainCaption) + std::string(kActiveSuffix) + table.name;
    LineTable list;
    try {
        LoadLineTable(TableListPath(programFolder), list);
    } catch (const StorageError&) {
        // An unreadable table list: the user is asked to choose, and the choice
        // reports the failure.
        table.fixed = false;
        return;
    }
    const FindResult found = FindKey(list.keys, table.name);
    if (!found.found) {
        table.fixed = false;
        return;
    }
    TakeRecord(list, found.index, table);
}

bool ChooseTable(Ui& ui, const std::filesystem::path& programFolder, ActiveTable& table) {
    LineTable list;
    try {
        LoadLineTable(TableListPath(programFolder), list);
    } catch (const StorageError&) {
        ui.ShowMessageBox(W("Não foi possível ler a lista de tabelas!"), MessageKind::Ok);
        return false;
    }
    if (list.keys.Empty()) {
        ui.ShowMessageBox(W("Não existem tabelas cadastradas! Crie uma tabela em \"Cria NOVA "
                            "Tabela de Ingredientes\"."),
                          MessageKind::Ok);
        return false;
    }
    const int index = ui.PickFromList("LISTA DE TABELAS", list.keys.Items(), 0);
    if (index < 0 || index >= list.keys.Count()) {
        ui.ShowMessageBox(W("Nenhuma tabela foi escolhida!"), MessageKind::Ok);
        return false;
    }
    TakeRecord(list, index, table);
    return true;
}

}  // namespace velmaro
