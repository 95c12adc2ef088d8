#pragma once

// The behaviour every register screen shares: one record of a line table at a time in
// entry fields, a bar of buttons that stores, creates, deletes and walks through the
// records, and the whole file rewritten after every confirmed change.
//
// A screen derives from RegisterScreen, declares its own fields as members, and in its
// constructor tells the base which one is the key field and which are the data fields
// (SetKeyField, AddTextField, AddNumericField, AddDataField, SetRenameButton). It then
// supplies its own small steps by overriding the virtual pieces below; the flow itself
// (activation, mode display, key field exit, the buttons, unsaved changes, rename,
// Enter) lives here only.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"
#include "storage/LineTable.h"
#include "storage/StorageError.h"

namespace velmaro {

// What a register screen is doing. ReadOnly is the browsing mode of the ingredient
// screen for a table that can only be consulted.
enum class ScreenMode {
    Empty = 0,
    Inserting = 1,
    Deleting = 2,
    Altering = 3,
    Showing = 4,
    ReadOnly = 5
};

// The notice of a screen that opens a damaged file for consultation only (Windows-1252).
std::string DamagedFileNotice(const ReadCheck& check);

class RegisterScreen : public Form {
  public:
    RegisterScreen(std::string className, Ui& ui, std::filesystem::path programFolder);

    // The button bar, left to right.
    Button GraBitBtn;
    Button NovBitBtn;
    Button ExcBitBtn;
    Button AntBitBtn;
    Button ProBitBtn;
    Button LisBitBtn;
    Button AjuBitBtn;
    Button RetBitBtn;

    // The register screen state. The caller sets the table name and startPending (Form)
    // before showing the screen.
    std::filesystem::path programFolder;
    std::string tableName;  // the active table's key as stored (padded)
    LineTable table;        // loaded on activation, freed by Retorna
    int currentIndex = 0;
    ScreenMode mode = ScreenMode::Empty;
    bool dirty = false;  // only screens with HasDirtyFlag() act on it

    // Handlers, wired to the form's and the controls' events.
    void FormActivate();
    void FormKeyPress(char& key);
    bool FormCloseQuery();
    void KeyFieldExit(Control* next);
    void GraBitBtnClick();
    void NovBitBtnClick();
    void ExcBitBtnClick();
    void AntBitBtnClick();
    void ProBitBtnClick();
    void LisBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();
    void AltNomBitBtnClick();

    // The mode display: enables the controls and places the focus for the current mode
    // (Empty also clears the fields). Altering and Deleting change nothing on screen.
    virtual void ApplyMode();

    MaskEdit* KeyField() const { return m_keyField; }
    const std::vector<Control*>& DataFields() const { return m_dataFields; }
    Button* RenameButton() const { return m_renameButton; }

    // The button bar on top, then the key field (with the rename button) and each data
    // field on a row of its own.
    LayoutItem Layout() override;
    LayoutItem ButtonBar();

    static constexpr int kButtonWidth = 60;
    static constexpr int kButtonHeight = 50;

  protected:
    // Wiring, called by the derived constructor once its controls exist.
    // The key field: the key field exit rule and the forbidden characters. A screen whose
    // key is chosen from a drop-down list sets none and handles its own choice.
    void SetKeyField(MaskEdit& key);
    // A data field holding a name or free text: forbidden characters refused, any edit
    // sets the dirty flag.
    void AddTextField(MaskEdit& field);
    // A data field holding a number: the numeric field rule; edits set the dirty flag.
    void AddNumericField(MaskEdit& field);
    // Any other data field (drop-down list, check box): edits set the dirty flag.
    void AddDataField(Control& field);
    // Screens whose records are referred to by name elsewhere rename with this button.
    void SetRenameButton(Button& button);

    // The screen's own pieces.
    virtual std::string Title() const = 0;      // the caption set on activation
    virtual std::string ListTitle() const = 0;  // the list picker's caption
    virtual std::filesystem::path TablePath() const = 0;
    // Fills the fields from the record at `index` (GetRecordField on table.lines).
    virtual void ShowRecord(int index) = 0;
    // The record line from the fields, each field followed by "|".
    virtual std::string ComposeRecord() const = 0;
    // Every field to its blank text.
    virtual void ClearFields() = 0;

    // Optional pieces, with the common behaviour as default.
    // The file is scrambled (LoadScrambledLineTable / SaveScrambledLineTable).
    virtual bool Scrambled() const { return false; }
    // Reads the screen's file into `table`; may throw StorageError.
    virtual void LoadTable();
    // Writes `table` to the screen's file now; throws StorageError on failure.
    virtual void SaveTable();
    // What SaveTable writes, for a save made together with other files.
    std::string TableBytes() const;
    // The write after a confirmed inclusion, alteration or deletion: SaveTable. A screen
    // that writes its file later (at Retorna) marks the table instead.
    virtual void SaveAfterChange() { SaveTable(); }
    // After loading: the fields cleared and the mode applied.
    virtual void StartScreen();
    // Screens with many data fields ask before edits are dropped (Unsaved changes).
    virtual bool HasDirtyFlag() const { return false; }
    // In Showing: whether the shown record's data fields may be edited.
    virtual bool DataFieldsEditable() const { return true; }
    // Before storing or deleting: a record or table that can only be consulted is
    // refused here (with the screen's message and its mode put back). True when refused.
    virtual bool RefuseReadOnly() { return false; }
    // A key that cannot be stored as a name (shows why and gives true): by default one
    // that would leave its folder ("." or "..").
    virtual bool RefuseKeyName(std::string_view name);
    // Before deleting: a record used elsewhere shows the items-in-use report and is not
    // deleted. True when it is in use.
    virtual bool RecordInUse() { return false; }
    // Before "Confirma alteração?": a record that may not be changed now (its values are
    // used elsewhere) shows the screen's report; the mode stays Altering. True when refused.
    virtual bool RefuseAlteration() { return false; }
    // Before "Confirma inclusão?" or "Confirma alteração?", and before the save of an
    // unsaved record: values that may not be stored show why (the focus goes to the field)
    // and give true; values the user may confirm ask first (NÃO gives true).
    virtual bool RefuseValues() { return false; }
    // Before "Confirma alteração?" (a warning of the screen's own, for example).
    virtual void BeforeAlteration() {}
    // "Confirma alteração?" answered NÃO: the focus goes back to the first data field.
    virtual void AlterationDeclined();
    // "Confirma inclusão?" answered NÃO: the focus goes back to the first data field (to
    // Grava on a screen without one).
    virtual void InsertionDeclined();
    // Success notices after inclusion, alteration and deletion.
    virtual bool ShowsSuccess() const { return true; }
    // The mode after a confirmed inclusion or alteration (stored or failed).
    virtual ScreenMode ModeAfterStore() const { return ScreenMode::Empty; }
    // After a record was stored (and saved) / deleted: changes carried into other files.
    virtual void AfterStore(bool /*inserted*/) {}
    virtual void AfterDelete(const std::string& /*key*/) {}
    // Lista: the index chosen, or nothing when nothing is to happen. The default shows
    // "Não existem registros no arquivo!" for an empty table, else the list picker.
    virtual std::optional<int> ChooseRecord();
    // Retorna (and the window's close box), after Unsaved changes: a deferred save.
    virtual void BeforeClose() {}
    // Retorna and the close box, after BeforeClose: a deferred write of the screen's file.
    // False (a failure the screen has reported) keeps the screen open with its data.
    virtual bool DeferredSave() { return true; }
    // Rename: the dialog's caption, the message for a name that exists, and what to do
    // after the renamed record was saved (carry the new name into other files).
    virtual std::string RenameCaption() const { return {}; }
    virtual std::string RenameExistsMessage() const { return {}; }
    virtual void AfterRename(const std::string& /*oldName*/, const std::string& /*newName*/) {}
    // Rename: writes the table holding the renamed record (SaveTable). A screen whose
    // other files carry the name writes them here too, all of them or none, so that a
    // failure (StorageError) leaves every file as it was and the rename is undone.
    virtual void SaveRenamed(const std::string& /*oldName*/, const std::string& /*newName*/) {
        SaveTable();
    }
    // Unsaved changes: when dirty, asks whether to store the record (insert in
    // Inserting, replace otherwise). Returns false when the record was to be stored and
    // could not be: the edits stay on screen, still unsaved, and the caller does not move
    // on (a failed save must not cost the user what was typed). Otherwise dirty is
    // cleared and the caller goes on.
    virtual bool UnsavedChanges();

    // Steps for the pieces above.
    // ShowRecord(currentIndex), dirty := no, and the data fields enabled as the record
    // allows (in Showing, Altering and Deleting).
    void ShowCurrentRecord();
    // ClearFields, dirty := no.
    void ClearScreen();
    // Inserts (or replaces at the current index) the composed record and saves; on a
    // failed save the table in memory is put back as it was and the error is shown.
    // Returns true when stored.
    bool WriteRecord(bool insert);
    void SetDataFieldsEnabled(bool enabled);
    Control* FirstDataField() const;  // the first one that can take the focus
    // Leaving the key field (or the ingredient choice) for Retorna, Lista, Novo or Ajuda
    // pressed by the user, which is silent about a blank key.
    bool LeavingForAButtonClicked(const Control* next) const;
    // "Erro de lógica!" and the screen closes.
    virtual void LogicError();
    int Ask(std::string_view utf8Question);  // yes/no; the answer
    void Tell(std::string_view utf8Notice);  // OK
    // The notice of a failed save, with the file that stopped it when the error names one.
    void TellFailure(std::string_view utf8Notice, const StorageError& error);
    // A stored text into a masked field: padded with spaces (or cut) to its width.
    static void PutText(MaskEdit& field, std::string_view text);

    Ui& m_ui;

  private:
    MaskEdit* m_keyField = nullptr;
    std::vector<Control*> m_dataFields;
    Button* m_renameButton = nullptr;
};

}  // namespace velmaro
