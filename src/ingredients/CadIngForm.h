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

#include "ingredients/IngredientChanges.h"
#include "platform/Ui.h"
#include "shell/ActiveTable.h"
#include "shell/RegisterScreen.h"
#include "shell/VisLisIngForm.h"

namespace velmaro {

class TCadIngForm : public RegisterScreen {
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
    MaskEdit FCMaskEdit;
    MaskEdit FCFonMaskEdit;
    MaskEdit FCCMaskEdit;
    MaskEdit FCCFonMaskEdit;
    MaskEdit CusUniMaskEdit;
    MaskEdit DatCotMaskEdit;
    MaskEdit CusFonMaskEdit;
    Button LimNomGruBitBtn;
    ComboBox NomGruComboBox;  // field 13: the group choices

    // The ingredient file in memory differs from the file on disk; Retorna writes it.
    bool unsavedTable = false;
    // The ingredient list viewer Lista opens (the list picker when none is set).
    TVisLisIngForm* listViewer = nullptr;

    // Handlers of the screen's own controls.
    void DatCotMaskEditExit(Control* next);
    void LimNomGruBitBtnClick();

    // The record composed from the fields, and the register's view of the current edit
    // (shown and edited texts of the values that reach the preparations).
    std::string ComposeIngredientRecord() const;
    const IngredientEdit& Edit() const { return m_edit; }

    LayoutItem Layout() override;
    void ApplyMode() override;

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override { return ComposeIngredientRecord(); }
    void ClearFields() override;

    bool Scrambled() const override { return true; }
    void LoadTable() override;
    void SaveAfterChange() override { unsavedTable = true; }
    void StartScreen() override;
    bool HasDirtyFlag() const override { return true; }
    bool RefuseReadOnly() override;
    bool RecordInUse() override;
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
    void UnsavedChanges() override;
    void LogicError() override;

    // Lista opens the ingredient list viewer when one is set (the list picker with the
    // names otherwise): the record chosen (nothing when none is) and whether the viewer
    // wrote the ingredient file itself (after copying ingredients into this table).
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
    // The control of a carried field (2-11, 16, 17).
    MaskEdit& CarriedField(int field);

    // A damaged ingredient file is consulted only, as a table of the program's is.
    bool TableEditable() const { return m_activeTable.editable && !table.lines.Damaged(); }
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
};

}  // namespace velmaro
