#pragma once

// The reference portions of packaged foods: a read-only list ("ValRef.dad", one file for
// every composition table) of foods with their portion, unit, household measure, its
// average weight, how the measure is written on the label, and the reference table (food
// group) each belongs to ("TabValRef.dad"). TCadValRefForm browses the list and hands the
// shown food back to the preparation register; TVisLisValRefForm finds a food by group
// and keywords.
//
// Opening TCadValRefForm: set startPending (or use ReferenceValueTargetFor), show it
// modally, then read Choice() when it closed with kValRefSelected.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"
#include "preparations/ScreenTargets.h"
#include "storage/LineTable.h"

namespace velmaro {

// Modal results of the reference values screen.
inline constexpr int kValRefSelected = 1;   // "Seleciona"
inline constexpr int kValRefCancelled = 2;  // "Cancela" or the close box

// Fields of a reference value record.
namespace valref {
inline constexpr int kFood = 1;
inline constexpr int kValue = 2;
inline constexpr int kUnit = 3;
inline constexpr int kMeasure = 4;
inline constexpr int kMeasureWeight = 5;
inline constexpr int kPresentation = 6;
inline constexpr int kTable = 7;
inline constexpr int kFieldCount = 7;
inline constexpr int kKeywordLength = 30;
}  // namespace valref

class TVisLisValRefForm : public Form {
  public:
    TVisLisValRefForm(Ui& ui, std::filesystem::path programFolder);

    CheckBox AtiFilCheckBox;  // "Ver :"
    ComboBox NomGruComboBox;  // the reference table names
    CheckBox PalChaCheckBox;  // "Ativa filtro"
    MaskEdit PalChaMaskEdit;  // the keywords, 30 characters, upper case
    Button PalChaBitBtn;      // "Ok"
    ListBox LisFilOrdListBox;

    // The caller's hand-over, before ShowModal: its loaded reference values (which must
    // outlive the opening) and the index of the record it shows. Sets startPending.
    void Prepare(const LineTable& values, int currentIndex);

    // Once the viewer has closed: the index in the caller's key list of the food chosen
    // (0 when the list had no selection), or the index received when it was closed
    // without choosing.
    int chosenIndex = 0;

    // The keyword's words as the list applies them.
    const std::vector<std::string>& KeywordWords() const { return m_words; }

    void FormActivate();
    bool FormCloseQuery();
    void AtiFilCheckBoxClick();
    void NomGruComboBoxChange();
    void PalChaCheckBoxClick();
    void PalChaMaskEditKeyPress(char& key);
    void PalChaBitBtnClick();
    void LisFilOrdListBoxDblClick();
    void LisFilOrdListBoxKeyPress(char& key);

    LayoutItem Layout() override;

  private:
    void BuildKeywords();
    void BuildList();
    void Choose();

    Ui& m_ui;
    std::filesystem::path m_programFolder;
    const LineTable* m_values = nullptr;
    int m_receivedIndex = 0;
    std::vector<std::string> m_words;
    bool m_open = false;
};

class TCadValRefForm : public Form {
  public:
    TCadValRefForm(Ui& ui, std::filesystem::path programFolder, TVisLisValRefForm& viewer);

    MaskEdit NomAliMaskEdit;        // 1 "Alimento"
    MaskEdit ValRefMaskEdit;        // 2 "Valor de referência"
    MaskEdit UniMedCasMaskEdit;     // 3 "Unidade"
    MaskEdit MedCasMaskEdit;        // 4 "Medida caseira"
    MaskEdit PesMedCasMaskEdit;     // 5 "Peso médio por medida caseira"
    MaskEdit AprMedCasMaskEdit;     // 6 how the measure is written on the label
    MaskEdit NomTabValRefMaskEdit;  // 7 "Tabela"
    Button AntBitBtn;               // "&Anterior"
    Button ProBitBtn;               // "&Próximo"
    Button LisBitBtn;               // "&Lista"
    Button AjuBitBtn;               // "Seleciona"
    Button RetBitBtn;               // "Cancela"
    // "Porção pela energia do grupo": for a food the list does not name, the portion from
    // the mean energy of a group and the preparation's energy per gram.
    Button PorGruBitBtn;

    // Set by the caller before the opening: the preparation's kcal per gram (or ml).
    std::optional<long double> kcalPerGram;

    // The entry field of field n (1 to 7).
    MaskEdit& Field(int n);

    int CurrentIndex() const { return m_index; }
    int RecordCount() const { return m_values.lines.Count(); }

    // After closing with "Seleciona": fields 1, 2, 3 and 6 as shown; nothing when no
    // record was shown (an empty list), so the caller keeps its values.
    std::optional<ReferenceValueChoice> Choice() const { return m_choice; }

    void FormActivate();
    bool FormCloseQuery();
    void AntBitBtnClick();
    void ProBitBtnClick();
    void LisBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();
    void PorGruBitBtnClick();

    LayoutItem Layout() override;

  private:
    void ShowRecord();
    // Writes the list back in its sorted order and frees it; closes with `result`.
    void Leave(int result);

    Ui& m_ui;
    std::filesystem::path m_programFolder;
    TVisLisValRefForm& m_viewer;
    LineTable m_values;
    int m_index = 0;
    bool m_open = false;
    bool m_loaded = false;  // the file was read: closing may write it back
    std::optional<ReferenceValueChoice> m_choice;
};

// The preparation register's target for "Seleciona Valor de Referência": opens `form`
// on a fresh read of the list and gives its choice when it closed with "Seleciona".
ReferenceValueTarget ReferenceValueTargetFor(TCadValRefForm& form);

}  // namespace velmaro
