#pragma once

// The main menu: nine large buttons that open the registers for the active table.

#include <filesystem>
#include <functional>
#include <string>

#include "platform/Form.h"
#include "platform/Ui.h"
#include "shell/ActiveTable.h"

namespace velmaro {

// A screen opened from the main menu: the form, and what to set on it before showing
// (the table name, the editable flag, start pending and, for some, the Empty mode).
struct MenuTarget {
    Form* form = nullptr;
    std::function<void(const std::string& table, bool editable)> prepare;
};

class TNutForm : public Form {
  public:
    TNutForm(Ui& ui, std::filesystem::path programFolder, ActiveTable& table);

    Button FimBitBtn;              // "Ajuda"
    Button TabBitBtn;              // table register
    Button CfgNutBitBtn;           // configuration
    Button GruBitBtn;              // ingredient groups
    Button CadIngBitBtn;           // ingredients
    Button MedCasBitBtn;           // household measures
    Button RelBitBtn;              // preparation groups
    Button CadFicTecRotRotBitBtn;  // preparations
    Button BitBtn1;                // "FIM"

    // Set by the application once the screens exist.
    struct Targets {
        MenuTarget tables;
        MenuTarget configuration;
        MenuTarget ingredientGroups;
        MenuTarget ingredients;
        MenuTarget measures;
        MenuTarget preparationGroups;
        MenuTarget preparations;
    } targets;

    void FormActivate();
    void FimBitBtnClick();
    void TabBitBtnClick();
    void CfgNutBitBtnClick();
    void GruBitBtnClick();
    void CadIngBitBtnClick();
    void MedCasBitBtnClick();
    void RelBitBtnClick();
    void CadFicTecRotRotBitBtnClick();
    void BitBtn1Click();

    ActiveTable& Table() { return m_table; }
    LayoutItem Layout() override;

    static constexpr int kButtonWidth = 250;
    static constexpr int kButtonHeight = 140;

  private:
    // Opens a screen; `chooseTable` asks for a table first when none is fixed.
    // Returns false when the screen was not opened.
    bool Open(MenuTarget& target, bool chooseTable);
    // "Nenhuma tabela ativa! ..." when the active table has no name; true then.
    bool RefuseWithoutActiveTable();

    Ui& m_ui;
    std::filesystem::path m_programFolder;
    ActiveTable& m_table;
};

}  // namespace velmaro
