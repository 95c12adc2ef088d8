#pragma once

// The ingredient viewer: the ingredients of the active table, or of any other table, one
// record a line in a fixed-pitch font, narrowed by a group and by keywords, ordered by a
// column, with the row chosen given back to the caller. While another table is viewed,
// its ingredients can be copied into the active table; the active ingredient file is then
// written, once, when the viewer is left.
//
// Opening: the caller hands over its loaded ingredient table with Prepare, shows the
// viewer modally and reads chosenIndex, copied and wroteFile when it has closed.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"
#include "shell/ActiveTable.h"
#include "shell/IngredientCopy.h"
#include "shell/ListViewer.h"
#include "storage/LineTable.h"

namespace velmaro {

class TVisLisIngForm : public Form {
  public:
    TVisLisIngForm(Ui& ui, std::filesystem::path programFolder, ActiveTable& activeTable);

    CheckBox NomTabCheckBox;  // "Visualiza Tabela Ativa"
    ComboBox NomTabComboBox;  // the table names
    CheckBox AtiFilCheckBox;  // "Filtra Lista por Grupo"
    ComboBox NomGruComboBox;  // the viewed table's groups
    CheckBox AtiOrdCheckBox;  // "Ordena Lista"
    ComboBox NomCamComboBox;  // the columns
    CheckBox PalChaCheckBox;  // "Palavra  Chave"
    MaskEdit PalChaMaskEdit;  // the keyword, 20 characters, upper case
    Button PalChaBitBtn;      // "Ok"
    Label CabLabel;           // the column titles
    ListBox LisFilOrdListBox;
    Button PriBitBtn;     // "&Primeiro"
    Button BitBtn1;       // "&Volta 1/4"
    Button BitBtn3;       // "&Avança 1/4"
    Button UltBitBtn;     // "&Último"
    Button CopIngBitBtn;  // "Copia Ingrediente p/ Ativa"
    Button AjuBitBtn;     // "A&juda"
    Button RetBitBtn;     // "&Retorna"

    // The caller's hand-over, before ShowModal: the active table's key as stored, the
    // caller's ingredient table of it (shared: copied ingredients are added to it) and
    // the index of the record it shows. Sets startPending and clears the results.
    // `writable` false: the caller keeps the table to consultation, so nothing is copied
    // into it (nor into a table whose ingredient file did not read whole).
    void Prepare(const std::string& tableName, LineTable& activeTable, int currentIndex,
                 bool writable = true);
    // Picking a food of another table (the register takes its sugars and trans fat): the
    // viewer opens on `firstTable` when the list has it and it is not the active table,
    // else on the first other table; nothing is copied, and Retorna, a double click or
    // Enter on a row of another table give that row in pickedTable and pickedRow (both
    // empty when the viewer is left on the active table or without a row).
    void PreparePick(const std::string& tableName, LineTable& activeTable,
                     const std::string& firstTable);
    std::string pickedTable;  // key as stored
    std::string pickedRow;    // the food's ingredient record
    // Files that go with the active table's ingredients (set by the caller; none when
    // null): told of each copy, and written with the active ingredient file.
    IngredientCompanionFiles* companions = nullptr;

    // Results, once the viewer has closed.
    // The index in the caller's key list of the row selected when leaving: 0 when no row
    // was selected, -1 when its key is not in the caller's list.
    int chosenIndex = 0;
    // Ingredients were added to the caller's table during this opening.
    bool copied = false;
    // The viewer wrote the caller's table to the active ingredient file (after copying).
    // copied without wroteFile: the write failed (and was reported); the caller's table
    // holds ingredients the file does not.
    bool wroteFile = false;

    // Handlers.
    void FormActivate();
    bool FormCloseQuery();
    void NomTabCheckBoxClick();
    void NomTabComboBoxChange();
    void AtiFilCheckBoxClick();
    void NomGruComboBoxChange();
    void AtiOrdCheckBoxClick();
    void NomCamComboBoxChange();
    void PalChaCheckBoxClick();
    void PalChaMaskEditKeyPress(char& key);
    void PalChaBitBtnClick();
    void PriBitBtnClick();
    void BitBtn1Click();
    void BitBtn3Click();
    void UltBitBtnClick();
    void CopIngBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();
    void LisFilOrdListBoxDblClick();
    void LisFilOrdListBoxKeyPress(char& key);

    // The rows shown are the active table's.
    bool ViewingActiveTable() const { return m_viewingActive; }
    const std::string& ViewedTableName() const { return m_viewedName; }
    // The keyword's words as the list applies them.
    const std::vector<std::string>& KeywordWords() const { return m_words; }

    // The column titles and the ordering columns.
    static std::string Header();
    static std::vector<std::string> ColumnNames();

    LayoutItem Layout() override;

  private:
    void BuildList();
    void SetCaption();
    void LoadGroups();
    // Rows, groups and remembered state of the active table.
    void ViewActiveTable();
    bool ViewOtherTable(int tableIndex);
    void RestoreState();
    void SaveState();
    void CopySelected();
    // Leaving: the active ingredient file written when ingredients were copied, the
    // state saved, the chosen record taken.
    void Leave();

    Ui& m_ui;
    std::filesystem::path m_programFolder;
    ActiveTable& m_activeTable;
    ListViewerCore m_core;

    std::string m_tableName;        // the active table
    LineTable* m_active = nullptr;  // the caller's table
    LineTable m_tableList;          // "ArqTab.dad": names, descriptions, flags
    bool m_viewingActive = true;
    bool m_activeWritable = true;
    std::string m_viewedName;
    CopySourceTable m_viewed;  // the other table viewed
    LineTable m_other;         // its ingredients
    std::vector<std::string> m_words;
    bool m_open = false;
    bool m_pick = false;
    std::string m_pickFirst;
    // The other table the pick opens on: its index in the table list, -1 when none.
    int PickStartTable() const;
};

}  // namespace velmaro
