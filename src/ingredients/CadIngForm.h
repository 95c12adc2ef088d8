#pragma once

// The ingredient register of the active table: the composition of each ingredient per
// 100 g, its group, factors, cost and quotation date, and the source of each value.
// The whole scrambled ingredient file is held in memory while the screen is open and
// written back when it is left (and at once by a rename); a table delivered with the
// program can only be browsed. Changes, deletions and renames reach the preparations
// through an IngredientChangeHandler.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ingredients/ExtraValues.h"
#include "ingredients/IngredientChanges.h"
#include "platform/Ui.h"
#include "shell/ActiveTable.h"
#include "shell/RegisterScreen.h"
#include "shell/VisLisIngForm.h"

namespace velmaro {

class TCadIngForm : public RegisterScreen, public IngredientCompanionFiles {
  public:
    TCadIngForm(Ui& ui, std::filesystem::path programFolder, ActiveTable& activeTable,
                IngredientChangeHandler& changes);

    // In the order Enter and Tab walk through them (the button bar comes first).
    Button AltNomBitBtn;
    MaskEdit IngMaskEdit;  // field 1, the key
    MaskEdit kalMaskEdit;
    MaskEdit KALFonMaskEdit;
    MaskEdit CHOMaskEdit;
    MaskEdit CHOFonMaskEdit;
    MaskEdit PTNMaskEdit;
    MaskEdit PTNFonMaskEdit;
    MaskEdit LipMaskEdit;
    MaskEdit LipFonMaskEdit;
    MaskEdit SATMaskEdit;
    MaskEdit SatFonMaskEdit;
    MaskEdit COLMaskEdit;
    MaskEdit ColFonMaskEdit;
    MaskEdit FibMaskEdit;
    MaskEdit FibFonMaskEdit;
    MaskEdit CalMaskEdit;
    MaskEdit CalFonMaskEdit;
    MaskEdit FerMaskEdit;
    MaskEdit FerFonMaskEdit;
    MaskEdit SODMaskEdit;
    MaskEdit SodFonMaskEdit;
    // The values beside the record (ExtraValues.h), each with its source; blank: not known.
    MaskEdit ACTMaskEdit;  // açúcares totais (g)
    MaskEdit ACTFonMaskEdit;
    MaskEdit ACAMaskEdit;  // açúcares adicionados (g)
    MaskEdit ACAFonMaskEdit;
    MaskEdit TRAMaskEdit;  // gorduras trans (g)
    MaskEdit TraFonMaskEdit;
    MaskEdit FCMaskEdit;
    MaskEdit FCFonMaskEdit;
    MaskEdit FCCMaskEdit;
    MaskEdit FCCFonMaskEdit;
    MaskEdit CusUniMaskEdit;
    MaskEdit DatCotMaskEdit;
    MaskEdit CusFonMaskEdit;
    Button LimNomGruBitBtn;
    ComboBox NomGruComboBox;  // field 13: the group choices
    // "Açúcares de outra tabela": the blank sugars and trans fat of the ingredient shown
    // taken from a food of another table (IBGE's first), picked in the list viewer.
    Button AcuBitBtn;

    // The ingredient file in memory differs from the file on disk; Retorna writes it.
    bool unsavedTable = false;
    // The ingredient list viewer Lista opens (the list picker when none is set).
    TVisLisIngForm* listViewer = nullptr;

    // Handlers of the screen's own controls.
    void DatCotMaskEditExit(Control* next);
    void LimNomGruBitBtnClick();
    void AcuBitBtnClick();

    // The record composed from the fields, and the register's view of the current edit
    // (shown and edited texts of the values that reach the preparations).
    std::string ComposeIngredientRecord() const;
    // The sugars and trans fat with their sources, from the fields.
    ExtraValues ComposeExtraValues() const;
    const IngredientEdit& Edit() const { return m_edit; }
    // The values beside the records of the table, as held in memory.
    const ExtraValuesTable& ExtraValuesInMemory() const { return m_extras; }

    LayoutItem Layout() override;
    void ApplyMode() override;

    // The sugars and trans fat of an ingredient copied by the list viewer come along (with
    // the other table's description as their source when that table came with the
    // program), and are written with the ingredient file.
    void IngredientCopied(const CopySourceTable& source, const std::string& name) override;
    std::vector<std::pair<std::filesystem::path, std::string>> CompanionFiles() const override;

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override { return ComposeIngredientRecord(); }
    void ClearFields() override;

    bool Scrambled() const override { return true; }
    void LoadTable() override;
    // The ingredient file and the file of the values beside its records, in one go.
    void SaveTable() override;
    void SaveAfterChange() override;
    void StartScreen() override;
    bool HasDirtyFlag() const override { return true; }
    bool RefuseReadOnly() override;
    bool RecordInUse() override;
    bool RefuseValues() override;
    void BeforeAlteration() override;
    void AlterationDeclined() override;
    bool ShowsSuccess() const override { return false; }
    ScreenMode ModeAfterStore() const override { return ScreenMode::Showing; }
    void AfterStore(bool inserted) override;
    void AfterDelete(const std::string& key) override;
    std::optional<int> ChooseRecord() override;
    bool DeferredSave() override;
    std::string RenameCaption() const override;
    std::string RenameExistsMessage() const override;
    void SaveRenamed(const std::string& oldName, const std::string& newName) override;
    void AfterRename(const std::string& oldName, const std::string& newName) override;
    bool UnsavedChanges() override;
    void LogicError() override;

    // Lista opens the ingredient list viewer when one is set (the list picker with the
    // names otherwise): the index of the record chosen, outside the table when the viewer
    // gives none of it, and whether the viewer wrote the ingredient file itself (after
    // copying ingredients into this table).
    struct ListChoice {
        std::optional<int> index;
        bool wroteFile = false;
    };
    virtual ListChoice OpenIngredientList();

  private:
    // The value fields 2-11, 14, 15, 16, each with its source field (18 to 30).
    static constexpr int kValueCount = 13;
    std::array<MaskEdit*, kValueCount> ValueFields();
    std::array<MaskEdit*, kValueCount> SourceFields();
    // The sugars and trans fat, each with its source field.
    std::array<MaskEdit*, kExtraValueCount> ExtraFields();
    std::array<MaskEdit*, kExtraValueCount> ExtraSourceFields();
    std::array<const MaskEdit*, kExtraValueCount> ExtraFields() const;
    std::array<const MaskEdit*, kExtraValueCount> ExtraSourceFields() const;
    // The files written with the ingredient file: that of the values beside its records,
    // with `extras` (none while the table has no such values and no such file).
    std::vector<FileContent> FilesWith(const ExtraValuesTable& extras) const;
    // The files a change writes: the ingredient file and the file of the values beside.
    std::vector<FileContent> TableFiles(const ExtraValuesTable& extras) const;
    // The control of a carried field (2-11, 16, 17).
    MaskEdit& CarriedField(int field);

    // A damaged ingredient file, or a file of values beside the records that did not read
    // whole, keeps the table to consultation: writing it back would lose what it could not
    // read.
    bool TableEditable() const {
        return m_activeTable.editable && !table.lines.Damaged() && m_extras.Problems().empty();
    }
    void LoadGroupChoices();
    void ChooseGroup(const std::string& group);
    // Shown and edited texts from the fields as they stand now.
    void TakeShownTexts();
    // "A tabela ... está disponível somente para consulta!"; the mode goes back to Showing.
    void RefuseConsultationTable();
    // Writes the file now when the table in memory differs from it; false (reported
    // with `failure`) when the write failed.
    bool WritePendingTable();

    ActiveTable& m_activeTable;
    IngredientChangeHandler& m_changes;
    KeyList m_groupChoices;
    IngredientEdit m_edit;
    ExtraValuesTable m_extras;
    // A rename's values beside the records, kept until the rename has been written.
    ExtraValuesTable m_renamedExtras;
};

}  // namespace velmaro
