#pragma once

// The ingredients of one preparation ("Ingredientes da Preparação"): the nutritionist
// chooses ingredients of the active table, types their weights or household measures and
// sees each ingredient's composition per 100 g, the nutrient amounts of its net weight and
// the sums over the preparation. Every stored change rewrites the preparation's
// ingredient file and puts the new totals into the preparation's record in the list the
// preparation register holds (in memory: the register saves its list when this screen
// closes).
//
// Opening: the preparation register calls Prepare with its table, the preparation's
// name, its preparation list, the index of the preparation's record and the list view of
// its "&Lista", then shows the screen modally. The ingredient viewer ("Consulta
// Tabelas") and the list viewer ("&Copia") are set by the application.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Ui.h"
#include "preparations/IngredientLine.h"
#include "preparations/PreparationTotals.h"
#include "shell/RegisterScreen.h"
#include "shell/VisLisForm.h"
#include "shell/VisLisIngForm.h"
#include "storage/LineTable.h"

namespace velmaro {

// The three fixed-pitch texts of the list of lines, whose columns line up: the column
// titles, one row per ingredient line (the first three letters of the ingredient, the
// net weight and the ten amounts) and the footer (the sum of the net weights and the
// preparation record's ten totals, fields 3 to 12).
std::string IngredientListHeader();
std::string IngredientListRow(std::string_view line);
std::string IngredientListFooter(long double netWeightSum, std::string_view preparationRecord);

class TCadIngFicTecForm : public RegisterScreen {
  public:
    TCadIngFicTecForm(Ui& ui, std::filesystem::path programFolder);

    Button CopBitBtn;  // "&Copia", in the button bar after "&Novo"

    // In the order of entry (Enter walks through them in this order).
    MaskEdit NomPreMaskEdit;     // the preparation's name, never enabled
    ComboBox NomIngComboBox;     // 1 the ingredient: the keys of the active table
    ComboBox NomMedCasComboBox;  // 11 the household measure: the chosen ingredient's
    MaskEdit QuaMedCasMaskEdit;  // 12 number of measures, "999,99"
    MaskEdit PesLiqMaskEdit;     // 3 net weight, "999999,9"
    MaskEdit PesBruMaskEdit;     // 2 gross weight
    MaskEdit PesCozMaskEdit;     // 4 cooked weight
    MaskEdit PesCruMaskEdit;     // 5 raw weight
    ListBox IngFicTecListBox;    // one row per ingredient line, row i = line i
    Button TabBitBtn;            // "Consulta Tabelas": the ingredient viewer
    Button LimNomMedCasBitBtn;   // clears the household measure
    MaskEdit UmaMedCasMaskEdit;  // weight of one chosen measure, never enabled
    MaskEdit FCMaskEdit;         // 6 "999,99", never enabled
    MaskEdit FCCMaskEdit;        // 7
    MaskEdit CusUniMaskEdit;     // 8 "999999,99"
    MaskEdit CusCalMaskEdit;     // 9
    MaskEdit DatCotMaskEdit;     // 10 "99/99/99"
    // The chosen ingredient's composition per 100 g (ingredient fields 2 to 11).
    MaskEdit KALMaskEdit, CHOMaskEdit, PTNMaskEdit, LIPMaskEdit, SATMaskEdit, COLMaskEdit,
        FIBMaskEdit, CALMaskEdit, FERMaskEdit, SODMaskEdit;
    // The amounts of the net weight (line fields 13 to 22).
    MaskEdit PesPorKalMaskEdit, PesPorCHOMaskEdit, PesPorPTNMaskEdit, PesPorLipMaskEdit,
        PesPorSATMaskEdit, PesPorCOLMaskEdit, PesPorFIBMaskEdit, PesPorCALMaskEdit,
        PesPorFERMaskEdit, PesPorSODMaskEdit;
    Label CabLabel;  // the column titles of the list
    Label RodLabel;  // the footer: the sums

    // The viewers "Consulta Tabelas" and "&Copia" open.
    TVisLisIngForm* ingredientViewer = nullptr;
    TVisLisForm* listViewer = nullptr;

    // The preparation's name as stored (40 characters, padded).
    std::string preparationName;

    // The register's hand-over before the screen is shown: the active table's key, the
    // preparation's name, the register's preparation list (shared: the totals are
    // written into it), the index of the preparation's record in it, and what the
    // register's "&Lista" shows (the copy opens the list viewer with it). Sets
    // startPending and mode Empty.
    void Prepare(const std::string& tableKey, const std::string& preparation,
                 LineTable& preparations, int recordIndex, const ListViewerInput& preparationList);

    // Handlers.
    void NomIngComboBoxChange();             // a click in the ingredient list
    void NomIngComboBoxExit(Control* next);  // choose an ingredient
    void NomIngComboBoxClick();              // an item chosen from the open list
    void NomMedCasComboBoxChange();
    void LimNomMedCasBitBtnClick();
    void QuaMedCasMaskEditExit(Control* next);
    void PesLiqMaskEditExit(Control* next);
    void PesBruMaskEditExit(Control* next);
    void PesCozMaskEditExit(Control* next);
    void PesCruMaskEditExit(Control* next);
    void IngFicTecListBoxClick();
    void TabBitBtnClick();
    void CopBitBtnClick();
    void LisBitBtnClick();

    // The chosen ingredient's index in the ingredient file and the chosen measure's in
    // the measures file (-1 for none); the sums of the last computation of the totals.
    int ChosenIngredient() const { return m_chosenIngredient; }
    int ChosenMeasure() const { return m_chosenMeasure; }
    const WeightSums& Sums() const { return m_sums; }
    // The active table's ingredients as loaded at activation.
    const LineTable& Ingredients() const { return m_ingredients; }

    void ApplyMode() override;
    LayoutItem Layout() override;

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override;
    void ClearFields() override;
    void LoadTable() override;
    void StartScreen() override;
    bool HasDirtyFlag() const override { return true; }
    void InsertionDeclined() override;
    void AlterationDeclined() override;
    ScreenMode ModeAfterStore() const override;
    void AfterStore(bool inserted) override;
    void AfterDelete(const std::string& key) override;
    void BeforeClose() override;

  private:
    // The line being edited, from the fields (with the chosen ingredient's record and
    // the weight of one chosen measure), and its texts back into the fields.
    IngredientLine EditedLine() const;
    void PutLine(const IngredientLine& line);
    // Leaving a weight or the number of measures: the edit step on the fields.
    void RunStep(void (*step)(IngredientLine&, Ui&));

    // The chosen ingredient's record (empty when none is chosen).
    std::string ChosenRecord() const;
    // Chooses the ingredient at `index` of the ingredient file in NomIngComboBox (none
    // for an index outside it).
    void SelectIngredient(int index);
    void ChooseIngredient();
    void ShowComposition();
    void CompositionWarnings();
    void ShowLine(int index);
    // "&Lista" and a click in the list: the line at `index` shown, mode Showing.
    void ShowChosenLine(int index);
    void LoadMeasures();
    void SelectMeasure(int index);
    void ClearMeasure();

    // The totals into the preparation's record, the footer and every row again.
    void RefreshList();
    void RefreshFooter();
    void BuildRows();
    void SelectRow(int index);

    bool Available(const Form* form);

    // The ten per-100-g fields and the ten amount fields, in nutrient order.
    using Field = MaskEdit TCadIngFicTecForm::*;
    static const std::array<Field, 10> kPerHundredFields;
    static const std::array<Field, 10> kAmountFields;

    LineTable m_ingredients;  // the active table's ingredient file
    LineTable m_measures;     // the chosen ingredient's household measures
    LineTable* m_preparations = nullptr;
    int m_recordIndex = -1;
    ListViewerInput m_preparationList;
    std::string m_lineKey;  // field 1 of the line shown or being inserted
    int m_chosenIngredient = -1;
    int m_chosenMeasure = -1;
    WeightSums m_sums;
};

}  // namespace velmaro
