#pragma once

// The list viewer: the records its caller hands over, one a line under the caller's
// header, narrowed by a group and ordered by a column, with the row chosen given back.
// Its filter, ordering and position are remembered in the caller's section of the
// configuration file.
//
// Opening: Prepare with what the caller shows, ShowModal, then chosenIndex.

#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"
#include "shell/ListViewer.h"
#include "storage/LineTable.h"

namespace velmaro {

// What the caller hands over (texts in Windows-1252).
struct ListViewerInput {
    std::string kind;                      // what is listed, for the caption ("FICHA TÉCNICA")
    std::string tableName;                 // the active table
    int groupField = 0;                    // the field of the rows compared with the chosen group
    int currentIndex = 0;                  // the record selected when the list opens unfiltered
    std::vector<std::string> columnNames;  // the n-th orders by field n
    const KeyList* groups = nullptr;       // the group names
    const KeyList* keys = nullptr;         // the caller's key list
    const LineList* rows = nullptr;        // the caller's line list
    std::string header;                    // the column titles above the rows
    std::string section;                   // the configuration section of its state
};

class TVisLisForm : public Form {
  public:
    explicit TVisLisForm(Ui& ui);

    CheckBox AtiFilCheckBox;  // "Filtra Lista"
    ComboBox NomGruComboBox;  // the groups
    CheckBox AtiOrdCheckBox;  // "Ordena Lista"
    ComboBox NomCamComboBox;  // the columns
    Memo CabMemo;             // the header, read-only
    ListBox LisFilOrdListBox;
    Button PriBitBtn;  // "&Primeiro"
    Button BitBtn1;    // "&Volta"
    Button BitBtn3;    // "&Avança"
    Button UltBitBtn;  // "&Último"
    Button AjuBitBtn;  // "A&juda"
    Button RetBitBtn;  // "&Retorna"

    // The caller's hand-over, before ShowModal; the lists stay the caller's and must
    // outlive the opening. Sets startPending.
    void Prepare(const ListViewerInput& input);

    // Once the viewer has closed: the index in the caller's key list of the row selected,
    // 0 when no row was selected, -1 when its key is not in the caller's list.
    int chosenIndex = 0;

    void FormActivate();
    bool FormCloseQuery();
    void AtiFilCheckBoxClick();
    void NomGruComboBoxChange();
    void AtiOrdCheckBoxClick();
    void NomCamComboBoxChange();
    void PriBitBtnClick();
    void BitBtn1Click();
    void BitBtn3Click();
    void UltBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();
    void LisFilOrdListBoxDblClick();
    void LisFilOrdListBoxKeyPress(char& key);

    LayoutItem Layout() override;

  private:
    void BuildList();
    void Leave();

    Ui& m_ui;
    ListViewerCore m_core;
    ListViewerInput m_input;
    bool m_open = false;
};

}  // namespace velmaro
