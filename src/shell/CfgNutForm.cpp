#include "shell/CfgNutForm.h"

#include "platform/Interaction.h"
#include "shell/ScreenMessages.h"
#include "storage/Collation.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// A configured text into a fixed-width field: the configuration file keeps no padding.
void PutPadded(MaskEdit& field, std::string text) {
    text.resize(static_cast<size_t>(field.maxLength), ' ');
    field.text = std::move(text);
    field.caret = 0;
}

}  // namespace

TCfgNutForm::TCfgNutForm(Ui& ui, std::filesystem::path folder)
    : Form("TCfgNutForm"),
      FixTabCheckBox(*this, "FixTabCheckBox", "Fixa tabela"),
      NomTabComboBox(*this, "NomTabComboBox"),
      NomTecMaskEdit(*this, "NomTecMaskEdit", kTechnicianMask),
      ConTecMaskEdit(*this, "ConTecMaskEdit", kTechnicianMask),
      GraBitBtn(*this, "GraBitBtn", "&Grava"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      programFolder(std::move(folder)),
      m_ui(ui) {
    caption = W("Configuração");
    NomTabComboBox.label = "Nome da tabela";
    NomTecMaskEdit.label = "Nome";
    ConTecMaskEdit.label = "Contato";
    for (Button* b : {&GraBitBtn, &AjuBitBtn, &RetBitBtn}) {
        b->width = 60;
        b->height = 50;
    }
    onActivate = [this] { FormActivate(); };
    onKeyPress = [this](char& key) { FormKeyPress(key); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    onClose = [this] { Unload(); };
    FixTabCheckBox.onClick = [this] { FixTabCheckBoxClick(); };
    NomTabComboBox.onChange = [this] { NomTabComboBoxChange(); };
    NomTecMaskEdit.onChange = [this] { NomTecMaskEditChange(); };
    ConTecMaskEdit.onChange = [this] { ConTecMaskEditChange(); };
    GraBitBtn.onClick = [this] { GraBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
}

// Every opening reads the configuration again; coming back from the help screen does
// not, so edits made before it are kept.
void TCfgNutForm::FormActivate() {
    if (!startPending && m_open) {
        return;
    }
    startPending = false;
    try {
        Load();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        Unload();
        Close();
        return;
    }
    m_open = true;
}

void TCfgNutForm::Load() {
    caption = W("CONFIGURAÇÃO - DEFINE TABELA DE INGREDIENTES ATIVA");
    tableChanged = false;

    LineTable tables;
    LoadLineTable(TableListPath(programFolder), tables);
    NomTabComboBox.items = tables.keys.Items();
    NomTabComboBox.itemIndex = -1;
    NomTabComboBox.text.clear();

    const IniFile ini(ConfigFilePath());
    const std::string fixedSection = W(cfg::kFixedTableSection);
    FixTabCheckBox.checked = ini.ReadBool(fixedSection, cfg::kFixTab, false);
    NomTabComboBox.enabled = FixTabCheckBox.checked;

    const std::string name = ReadPaddedName(ini, fixedSection, cfg::kNomTab);
    for (size_t i = 0; i < NomTabComboBox.items.size(); ++i) {
        if (TextEquals(NomTabComboBox.items[i], name)) {
            NomTabComboBox.itemIndex = static_cast<int>(i);
            NomTabComboBox.text = NomTabComboBox.items[i];
            break;
        }
    }

    const std::string technician = W(cfg::kTechnicianSection);
    PutPadded(NomTecMaskEdit, ini.ReadString(technician, cfg::kNomTec, W(cfg::kDefaultTechnician)));
    PutPadded(ConTecMaskEdit, ini.ReadString(technician, cfg::kConTec, W(cfg::kDefaultContact)));

    changed = false;
    SetFocus(&FixTabCheckBox);
}

void TCfgNutForm::Unload() {
    m_open = false;
    NomTabComboBox.items.clear();
    NomTabComboBox.itemIndex = -1;
}

// Enter walks through the fields like Tab.
void TCfgNutForm::FormKeyPress(char& key) {
    EnterMovesToNextControl(*this, key);
}

void TCfgNutForm::FixTabCheckBoxClick() {
    changed = true;
    const int before = NomTabComboBox.itemIndex;
    NomTabComboBox.enabled = FixTabCheckBox.checked;
    NomTabComboBox.itemIndex = FixTabCheckBox.checked && !NomTabComboBox.items.empty() ? 0 : -1;
    NomTabComboBox.text = NomTabComboBox.SelectedText();
    // Fixing or releasing the table changes the active table too.
    if (NomTabComboBox.itemIndex != before) {
        tableChanged = true;
    }
}

void TCfgNutForm::NomTabComboBoxChange() {
    changed = true;
    tableChanged = true;
}

void TCfgNutForm::NomTecMaskEditChange() {
    changed = true;
}

void TCfgNutForm::ConTecMaskEditChange() {
    changed = true;
}

void TCfgNutForm::GraBitBtnClick() {
    try {
        IniFile ini(ConfigFilePath());
        ini.Hold();  // every setting or none
        const std::string fixedSection = W(cfg::kFixedTableSection);
        ini.WriteBool(fixedSection, cfg::kFixTab, FixTabCheckBox.checked);
        WritePaddedName(ini, fixedSection, cfg::kNomTab, NomTabComboBox.SelectedText());
        const std::string technician = W(cfg::kTechnicianSection);
        ini.WriteString(technician, cfg::kNomTec, TrimTrailingSpaces(NomTecMaskEdit.text));
        ini.WriteString(technician, cfg::kConTec, TrimTrailingSpaces(ConTecMaskEdit.text));
        if (tableChanged) {
            cfg::ResetViewerState(ini);
        }
        ini.Commit();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kAlterFailed), MessageKind::Ok);
        return;  // the screen stays open with the settings as edited
    }
    changed = false;
    tableChanged = false;
    Unload();
    Close();
}

void TCfgNutForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

void TCfgNutForm::RetBitBtnClick() {
    if (ConfirmLeave()) {
        Unload();
        Close();
    }
}

// The window's close box asks as Retorna does.
bool TCfgNutForm::FormCloseQuery() {
    return CloseRequested() || ConfirmLeave();
}

// Unsaved settings: SIM saves them (a failed save keeps the screen open), NÃO drops them.
// True when the screen may close.
bool TCfgNutForm::ConfirmLeave() {
    if (!changed ||
        m_ui.ShowMessageBox(W(msg::kUnsavedSettings), MessageKind::YesNo) != kAnswerYes) {
        return true;
    }
    GraBitBtnClick();
    return CloseRequested();
}

LayoutItem TCfgNutForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Row({L::Of(GraBitBtn), L::Of(AjuBitBtn), L::Of(RetBitBtn), L::Stretch()}),
        L::Row({L::Of(FixTabCheckBox), L::Stretch()}),
        L::Row({L::Of(NomTabComboBox), L::Stretch()}),
        L::Group(W("Responsável técnico"), {L::Of(NomTecMaskEdit), L::Of(ConTecMaskEdit)}),
        L::Stretch(),
    });
}

}  // namespace velmaro
