#pragma once

// The preparation register ("Ficha Técnica"): the preparation list of the active table,
// one preparation at a time with its yield, the recipe totals and the rows scaled to a
// portion, a tablespoon and the label portion, and the buttons to the preparation's
// ingredients, method text, reports, label and reference value.
//
// Opening: the main menu sets `tableName` (the active table's key as stored) and
// `startPending`, then shows the screen. The screens reached from here are handed over by
// the application in `targets`, the list viewer in `listViewer`.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "preparations/LabelPortion.h"
#include "preparations/PreparationScaling.h"
#include "preparations/ScreenTargets.h"
#include "shell/RegisterScreen.h"
#include "shell/VisLisForm.h"

namespace velmaro {

class TCadRecForm;

class TCadFicTecRotForm : public RegisterScreen {
  public:
    TCadFicTecRotForm(Ui& ui, std::filesystem::path programFolder);

    // In the order of entry (Enter walks through them in this order).
    MaskEdit NomPreMaskEdit;     // 1 the name, the key (40 characters)
    MaskEdit DatPreMaskEdit;     // 40 "99/99/9999"
    ComboBox NomGruPreComboBox;  // 39 the preparation group
    Button IngBitBtn;            // "&Ingredientes"
    Button RecBitBtn;            // "&Modo de Preparo"
    Button ImpFicTecBitBtn;      // "Relatórios"
    Button ImpRotBitBtn;         // "Rótulo"
    MaskEdit RenPesMaskEdit;     // 2 the yield
    MaskEdit NumPorMaskEdit;     // 14 number of portions
    MaskEdit RenColSopMaskEdit;  // 27 tablespoon weight
    Button SelValRefBitBtn;      // "Seleciona Valor de Referência"
    MaskEdit RenRotMaskEdit;     // 41 label portion weight
    MaskEdit UniPorMaskEdit;     // 55 its unit (up to 2 characters)
    MaskEdit AMCMaskEdit;        // 56 its household measure (up to 40)
    // The household measure helper: a measure and the weight of one; the measure's text
    // of the label portion follows them (LabelPortion.h).
    ComboBox MedCasComboBox;     // the measure (Anexo VII utensils, unit words, or typed)
    MaskEdit PesMedMaskEdit;     // the weight (g or ml) of one measure
    MaskEdit NorValRefMaskEdit;  // 54 the reference-value norm (up to 50)
    MaskEdit GruAliMaskEdit;     // 53 the food group of the reference value (up to 140)
    Button AltNomBitBtn;         // rename
    Button LimNomGruPreBitBtn;   // clears the group
    MaskEdit RenPorMaskEdit;     // 15 portion weight, computed

    // The four rows of values, never enabled for typing: recipe (3-13), portion (16-26),
    // tablespoon (28-38), label portion (42-52); ten nutrients, then the cost.
    MaskEdit KALPesMaskEdit, CHOPesMaskEdit, PTNPesMaskEdit, LIPPesMaskEdit, SATPesMaskEdit,
        COLPesMaskEdit, FIBPesMaskEdit, CALPesMaskEdit, FERPesMaskEdit, SODPesMaskEdit,
        CusPesMaskEdit;
    MaskEdit KALPorMaskEdit, CHOPorMaskEdit, PTNPorMaskEdit, LIPPorMaskEdit, SATPorMaskEdit,
        COLPorMaskEdit, FIBPorMaskEdit, CALPorMaskEdit, FERPorMaskEdit, SODPorMaskEdit,
        CUSPorMaskEdit;
    MaskEdit KALColSopMaskEdit, CHOColSopMaskEdit, PTNColSopMaskEdit, LIPColSopMaskEdit,
        SATColSopMaskEdit, COLColSopMaskEdit, FIBColSopMaskEdit, CALColSopMaskEdit,
        FERColSopMaskEdit, SODColSopMaskEdit, CUSColSopMaskEdit;
    MaskEdit KALRotMaskEdit, CHORotMaskEdit, PTNRotMaskEdit, LIPRotMaskEdit, SATRotMaskEdit,
        COLRotMaskEdit, FIBRotMaskEdit, CALRotMaskEdit, FERRotMaskEdit, SODRotMaskEdit,
        CusRotMaskEdit;

    Label ColKALLabel, ColCHOLabel, ColPTNLabel, ColLIPLabel, ColSATLabel, ColCOLLabel, ColFIBLabel,
        ColCALLabel, ColFERLabel, ColSODLabel;
    Label PesLabel, PorLabel, ColSopLabel, RotLabel;

    // The preparation groups of the table: the items of NomGruPreComboBox.
    LineTable groups;

    struct Targets {
        ScreenTarget ingredients;             // TCadIngFicTecForm
        ScreenTarget methodText;              // TCadRecForm
        ScreenTarget reports;                 // TSelRelForm
        ScreenTarget label;                   // TImpRotForm
        ReferenceValueTarget referenceValue;  // TCadValRefForm
    } targets;
    // The list viewer "&Lista" opens; while there is none, Lista offers the names in the
    // list picker.
    TVisLisForm* listViewer = nullptr;

    // The method text screen as the target of "&Modo de Preparo".
    void UseMethodTextScreen(TCadRecForm& screen);

    // Handlers.
    void IngBitBtnClick();
    void RecBitBtnClick();
    void ImpFicTecBitBtnClick();
    void ImpRotBitBtnClick();
    void SelValRefBitBtnClick();
    void LimNomGruPreBitBtnClick();
    void DatPreMaskEditExit(Control* next);
    void RenPesMaskEditExit(Control* next);
    void NumPorMaskEditExit(Control* next);
    void RenColSopMaskEditExit(Control* next);
    void RenRotMaskEditExit(Control* next);
    void PesMedMaskEditExit(Control* next);
    void MedCasComboBoxChange();

    // A reference value chosen on the reference values screen into the label-portion
    // fields; a whole number also becomes the label portion weight and the norm.
    void ApplyReferenceValue(const ReferenceValueChoice& choice);

    // The label portion's companions as on screen (the reference food, the helper's measure).
    LabelPortionData LabelPortion() const;
    // The measure's text of the label portion from the helper, when it has a measure and a
    // weight; `tell`: say so when the portion is too small for the measure.
    void UpdateMeasureText(bool tell);

    // The record at the current index as stored (empty when there is none).
    std::string CurrentRecord() const;
    // What "&Lista" hands to the list viewer.
    ListViewerInput ListView() const;
    // The preparation list header: name, yield and seven recipe totals.
    static std::string ListHeader();

    void ApplyMode() override;
    LayoutItem Layout() override;

    static constexpr int kNameWidth = 40;

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override;
    void ClearFields() override;
    void LoadTable() override;
    bool HasDirtyFlag() const override { return true; }
    void InsertionDeclined() override;
    void AlterationDeclined() override;
    ScreenMode ModeAfterStore() const override;
    void AfterDelete(const std::string& key) override;
    std::optional<int> ChooseRecord() override;
    void BeforeClose() override;
    std::string RenameCaption() const override;
    std::string RenameExistsMessage() const override;
    void SaveRenamed(const std::string& oldName, const std::string& newName) override;
    void AfterRename(const std::string& oldName, const std::string& newName) override;
    void AfterStore(bool inserted) override;
    // Also the name of the preparation list's own file.
    bool RefuseKeyName(std::string_view name) override;

  private:
    // The row's weight field and its eleven value fields.
    MaskEdit& WeightField(ScaledRow row);
    std::array<MaskEdit*, 11> RowValues(ScaledRow row);
    // PortionWeight from the yield and the number of portions into RenPorMaskEdit.
    void UpdatePortionWeight();
    // ScaleFromYield of the fields on screen into the row's value fields.
    void ScaleRow(ScaledRow row, Control& back);
    void BlankRow(ScaledRow row);
    // The free-text fields without a mask: their typing limit.
    void ClearFreeText(MaskEdit& field);
    // Before another screen opens: a pending change stored without a question. False
    // (with the error shown) when it could not be stored.
    bool StorePending();
    bool Available(const Form* form);

    // The label portion's companions into the label data file when they changed.
    void StoreLabelPortion();
    // What the label data file held for the record shown (empty for a new one).
    LabelPortionData m_storedPortion;
    LabelPortionData m_labelPortion;  // the reference part; the measure is on screen

    // The control of each record field (index = field number); field 39 has none.
    std::array<MaskEdit*, 57> m_fields{};
};

}  // namespace velmaro
