#include "shell/NutForm.h"

#include <system_error>

#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/Text.h"

namespace velmaro {

TNutForm::TNutForm(Ui& ui, std::filesystem::path programFolder, ActiveTable& table)
    : Form("TNutForm"),
      FimBitBtn(*this, "FimBitBtn", "Ajuda"),
      TabBitBtn(*this, "TabBitBtn", "Cria NOVA Tabela de Ingredientes"),
      CfgNutBitBtn(*this, "CfgNutBitBtn", W("Configuração - Define Tabela Ativa")),
      GruBitBtn(*this, "GruBitBtn", "Grupos de Ingredientes da Tabela Ativa"),
      CadIngBitBtn(*this, "CadIngBitBtn", "Ingredientes da Tabela Ativa"),
      MedCasBitBtn(*this, "MedCasBitBtn", "Medidas Caseiras para os Ingredientes"),
      RelBitBtn(*this, "RelBitBtn", W("Grupos de Preparações da Tabela Ativa")),
      CadFicTecRotRotBitBtn(*this, "CadFicTecRotRotBitBtn",
                            W("Cadastra Preparações da Tabela Ativa")),
      BitBtn1(*this, "BitBtn1", "FIM"),
      m_ui(ui),
      m_programFolder(std::move(programFolder)),
      m_table(table) {
    caption = W("Nutrição");
    for (Control* c : Controls()) {
        c->width = kButtonWidth;
        c->height = kButtonHeight;
    }
    // The data folder, one level; its subfolders are made as files are asked for.
    std::error_code ec;
    std::filesystem::create_directory(DataFolder(m_programFolder), ec);

    onActivate = [this] { FormActivate(); };
    FimBitBtn.onClick = [this] { FimBitBtnClick(); };
    TabBitBtn.onClick = [this] { TabBitBtnClick(); };
    CfgNutBitBtn.onClick = [this] { CfgNutBitBtnClick(); };
    GruBitBtn.onClick = [this] { GruBitBtnClick(); };
    CadIngBitBtn.onClick = [this] { CadIngBitBtnClick(); };
    MedCasBitBtn.onClick = [this] { MedCasBitBtnClick(); };
    RelBitBtn.onClick = [this] { RelBitBtnClick(); };
    CadFicTecRotRotBitBtn.onClick = [this] { CadFicTecRotRotBitBtnClick(); };
    BitBtn1.onClick = [this] { BitBtn1Click(); };
}

void TNutForm::FormActivate() {
    RefreshActiveTable(m_programFolder, m_table, caption);
}

bool TNutForm::Open(MenuTarget& target, bool chooseTable) {
    if (target.form == nullptr) {
        m_ui.ShowMessageBox(W("Esta tela ainda não está disponível."), MessageKind::Ok);
        return false;
    }
    if (chooseTable && !m_table.fixed && !ChooseTable(m_ui, m_programFolder, m_table)) {
        return false;
    }
    if (target.prepare) {
        target.prepare(m_table.name, m_table.editable);
    }
    m_ui.ShowModal(*target.form);
    return true;
}

void TNutForm::FimBitBtnClick() {
    m_ui.ShowHelp();
}
void TNutForm::TabBitBtnClick() {
    Open(targets.tables, false);
}

void TNutForm::CfgNutBitBtnClick() {
    if (Open(targets.configuration, false)) {
        RefreshActiveTable(m_programFolder, m_table, caption);
    }
}

// The group registers take the active table as it stands (the configured one): without
// one there is no folder to open them on.
bool TNutForm::RefuseWithoutActiveTable() {
    if (!IsAllSpaces(m_table.name)) {
        return false;
    }
    m_ui.ShowMessageBox(W("Nenhuma tabela ativa! Fixe uma tabela em Configuração."),
                        MessageKind::Ok);
    return true;
}

void TNutForm::GruBitBtnClick() {
    if (!RefuseWithoutActiveTable()) {
        Open(targets.ingredientGroups, false);
    }
}
void TNutForm::CadIngBitBtnClick() {
    Open(targets.ingredients, true);
}
void TNutForm::MedCasBitBtnClick() {
    Open(targets.measures, true);
}
void TNutForm::RelBitBtnClick() {
    if (!RefuseWithoutActiveTable()) {
        Open(targets.preparationGroups, false);
    }
}
void TNutForm::CadFicTecRotRotBitBtnClick() {
    Open(targets.preparations, true);
}
void TNutForm::BitBtn1Click() {
    Close(kAnswerOk);
}

LayoutItem TNutForm::Layout() {
    std::vector<LayoutItem> cells;
    for (Control* c : Controls()) {
        cells.push_back(LayoutItem::Of(*c));
    }
    return LayoutItem::Grid(3, std::move(cells));
}

}  // namespace velmaro
