#include "shell/RegisterScreen.h"

#include <algorithm>
#include <utility>

#include "platform/Interaction.h"
#include "shell/NameRules.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// A text pasted into a name field bypasses the key press filter: the forbidden
// characters are blanked out (removed from a field without mask) and refused with the
// same message as when typed.
void RefusePastedForbiddenChars(Ui& ui, MaskEdit& field) {
    const auto first = std::find_if(field.text.begin(), field.text.end(), IsForbiddenNameChar);
    if (first == field.text.end()) {
        return;
    }
    const char refused = *first;
    if (field.Mask().empty()) {
        std::erase_if(field.text, IsForbiddenNameChar);
        field.caret = std::min(field.caret, static_cast<int>(field.text.size()));
    } else {
        std::replace_if(field.text.begin(), field.text.end(), IsForbiddenNameChar, ' ');
    }
    ui.ShowMessageBox(ForbiddenCharMessage(refused), MessageKind::Ok);
}

}  // namespace

RegisterScreen::RegisterScreen(std::string className, Ui& ui, std::filesystem::path folder)
    : Form(std::move(className)),
      GraBitBtn(*this, "GraBitBtn", "&Grava"),
      NovBitBtn(*this, "NovBitBtn", "&Novo"),
      ExcBitBtn(*this, "ExcBitBtn", "&Exclui"),
      AntBitBtn(*this, "AntBitBtn", "&Anterior"),
      ProBitBtn(*this, "ProBitBtn", W("&Próximo")),
      LisBitBtn(*this, "LisBitBtn", "&Lista"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      programFolder(std::move(folder)),
      m_ui(ui) {
    for (Button* b : {&GraBitBtn, &NovBitBtn, &ExcBitBtn, &AntBitBtn, &ProBitBtn, &LisBitBtn,
                      &AjuBitBtn, &RetBitBtn}) {
        b->width = kButtonWidth;
        b->height = kButtonHeight;
    }
    onActivate = [this] { FormActivate(); };
    onKeyPress = [this](char& key) { FormKeyPress(key); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    GraBitBtn.onClick = [this] { GraBitBtnClick(); };
    NovBitBtn.onClick = [this] { NovBitBtnClick(); };
    ExcBitBtn.onClick = [this] { ExcBitBtnClick(); };
    AntBitBtn.onClick = [this] { AntBitBtnClick(); };
    ProBitBtn.onClick = [this] { ProBitBtnClick(); };
    LisBitBtn.onClick = [this] { LisBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
}

// ---- wiring ----

void RegisterScreen::SetKeyField(MaskEdit& key) {
    m_keyField = &key;
    key.onExit = [this](Control* next) { KeyFieldExit(next); };
    key.onKeyPress = [this](char& ch) { RefuseForbiddenChar(m_ui, ch); };
    key.onChange = [this, &key] { RefusePastedForbiddenChars(m_ui, key); };
}

void RegisterScreen::AddTextField(MaskEdit& field) {
    m_dataFields.push_back(&field);
    field.onKeyPress = [this](char& ch) { RefuseForbiddenChar(m_ui, ch); };
    field.onChange = [this, &field] {
        RefusePastedForbiddenChars(m_ui, field);
        dirty = true;
    };
}

void RegisterScreen::AddNumericField(MaskEdit& field) {
    m_dataFields.push_back(&field);
    field.onKeyPress = [&field](char& ch) { ch = NumericFieldKeyPress(field.text, ch); };
    field.onExit = [&field](Control*) { field.text = NumericFieldExit(field.text, field.Mask()); };
    field.onChange = [this] { dirty = true; };
}

void RegisterScreen::AddDataField(Control& field) {
    m_dataFields.push_back(&field);
    field.onChange = [this] { dirty = true; };
}

void RegisterScreen::SetRenameButton(Button& button) {
    m_renameButton = &button;
    button.icon = ButtonIcon::Rename;
    button.onClick = [this] { AltNomBitBtnClick(); };
}

// ---- small steps ----

void RegisterScreen::LoadTable() {
    if (Scrambled()) {
        LoadScrambledLineTable(TablePath(), table, m_ui.Progress());
    } else {
        LoadLineTable(TablePath(), table);
    }
}

void RegisterScreen::SaveTable() {
    if (Scrambled()) {
        SaveScrambledLineTable(TablePath(), table.lines, m_ui.Progress());
    } else {
        SaveLineTable(TablePath(), table.lines);
    }
}

std::string RegisterScreen::TableBytes() const {
    return Scrambled() ? ScrambledLineTableBytes(table.lines) : LineTableBytes(table.lines);
}

void RegisterScreen::StartScreen() {
    if (table.lines.Damaged()) {
        mode = ScreenMode::ReadOnly;
        if (table.lines.Count() > 0) {
            ShowCurrentRecord();
        } else {
            ClearScreen();
        }
    } else {
        ClearScreen();
    }
    ApplyMode();
}

std::string DamagedFileNotice(const ReadCheck& check) {
    return *Utf8ToCp1252(DamagedFileMessage(check) +
                             " Ele foi aberto somente para consulta: nada será gravado nele. "
                             "Para repará-lo, use \"velmaro-cli verificar --reparar\".",
                         '?');
}

void RegisterScreen::ShowCurrentRecord() {
    ShowRecord(currentIndex);
    dirty = false;
    if (mode == ScreenMode::Showing || mode == ScreenMode::Altering ||
        mode == ScreenMode::Deleting) {
        SetDataFieldsEnabled(DataFieldsEditable());
    }
}

void RegisterScreen::ClearScreen() {
    ClearFields();
    dirty = false;
}

void RegisterScreen::SetDataFieldsEnabled(bool enabled) {
    for (Control* c : m_dataFields) {
        c->enabled = enabled;
    }
}

Control* RegisterScreen::FirstDataField() const {
    for (Control* c : m_dataFields) {
        if (c->CanFocus()) {
            return c;
        }
    }
    return nullptr;
}

void RegisterScreen::LogicError() {
    Tell(msg::kLogicError);
    Close();
}

int RegisterScreen::Ask(std::string_view utf8Question) {
    return m_ui.ShowMessageBox(W(utf8Question), MessageKind::YesNo);
}

void RegisterScreen::Tell(std::string_view utf8Notice) {
    m_ui.ShowMessageBox(W(utf8Notice), MessageKind::Ok);
}

void RegisterScreen::TellFailure(std::string_view utf8Notice, const StorageError& error) {
    if (dynamic_cast<const NamedFileError*>(&error) != nullptr) {
        Tell(std::string(utf8Notice) + "\n" + error.what());
    } else {
        Tell(utf8Notice);
    }
}

void RegisterScreen::PutText(MaskEdit& field, std::string_view text) {
    std::string t(text);
    if (field.maxLength > 0) {
        t.resize(static_cast<size_t>(field.maxLength), ' ');
    }
    field.text = std::move(t);
    field.caret = 0;
}

void RegisterScreen::AlterationDeclined() {
    if (Control* first = FirstDataField()) {
        SetFocus(first);
    }
}

void RegisterScreen::InsertionDeclined() {
    SetFocus(FirstDataField() != nullptr ? FirstDataField() : &GraBitBtn);
}

bool RegisterScreen::WriteRecord(bool insert) {
    LineTable before = table;
    const int indexBefore = currentIndex;
    try {
        std::string line = ComposeRecord();
        if (insert) {
            const std::string key = RecordKey(line);
            InsertRecord(table, std::move(line));
            currentIndex = FindKey(table.keys, key).index;
        } else {
            ReplaceRecord(table.lines, currentIndex, std::move(line));
        }
        SaveAfterChange();
    } catch (const StorageError& e) {
        // What the user was told did not happen must not be written by a later save.
        table = std::move(before);
        currentIndex = indexBefore;
        TellFailure(insert ? msg::kInsertFailed : msg::kAlterFailed, e);
        return false;
    }
    AfterStore(insert);
    return true;
}

// ---- mode display ----

void RegisterScreen::ApplyMode() {
    if (table.lines.Damaged()) {
        mode = ScreenMode::ReadOnly;
    }
    const bool empty = mode == ScreenMode::Empty;
    const bool inserting = mode == ScreenMode::Inserting;
    const bool showing = mode == ScreenMode::Showing;
    const bool readOnly = mode == ScreenMode::ReadOnly;
    if (!empty && !inserting && !showing && !readOnly) {
        return;
    }
    if (empty) {
        ClearScreen();
    }
    if (m_keyField != nullptr) {
        m_keyField->enabled = empty;
    }
    SetDataFieldsEnabled(inserting || (showing && DataFieldsEditable()));
    GraBitBtn.enabled = inserting || showing;
    NovBitBtn.enabled = !readOnly;
    ExcBitBtn.enabled = showing;
    AntBitBtn.enabled = showing || readOnly;
    ProBitBtn.enabled = showing || readOnly;
    LisBitBtn.enabled = !inserting;
    AjuBitBtn.enabled = true;
    RetBitBtn.enabled = true;
    if (m_renameButton != nullptr) {
        m_renameButton->enabled = showing;
    }
    if (empty) {
        SetFocus(m_keyField);
    } else if (inserting) {
        Control* first = FirstDataField();
        SetFocus(first != nullptr ? first : &GraBitBtn);
    } else if (showing) {
        if (Control* first = FirstDataField()) {
            SetFocus(first);
        }
    }
}

// ---- events ----

void RegisterScreen::FormActivate() {
    if (!startPending) {
        return;  // coming back from a dialog: nothing is reloaded
    }
    startPending = false;
    caption = Title();
    mode = ScreenMode::Empty;
    dirty = false;
    table.Clear();
    try {
        LoadTable();
    } catch (const StorageError&) {
        table.Clear();
        Tell(msg::kReadFailed);
        Close();
        return;
    }
    if (table.lines.Damaged()) {
        // A file that did not read whole is shown but never written back.
        m_ui.ShowMessageBox(DamagedFileNotice(table.lines.Check()), MessageKind::Ok);
    }
    currentIndex = 0;
    StartScreen();
}

// Enter walks through the fields like Tab.
void RegisterScreen::FormKeyPress(char& key) {
    EnterMovesToNextControl(*this, key);
}

// The window's close box leaves the screen as Retorna does, without losing edits.
bool RegisterScreen::FormCloseQuery() {
    if (!CloseRequested()) {
        if (!UnsavedChanges()) {
            return false;
        }
        BeforeClose();
        return DeferredSave();
    }
    return true;
}

bool RegisterScreen::RefuseKeyName(std::string_view name) {
    return RefuseEscapingName(m_ui, name);
}

namespace {

// A key as typed without the blanks before it (a click in the middle of the empty field
// puts them there), at the width it had: "   creme" is "creme", never a second name.
std::string WithoutLeadingBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    std::string trimmed = first == std::string::npos ? std::string() : text.substr(first);
    trimmed.resize(text.size(), ' ');
    return trimmed;
}

}  // namespace

void RegisterScreen::KeyFieldExit(Control* next) {
    MaskEdit& key = *m_keyField;
    if (mode == ScreenMode::Empty) {
        key.text = WithoutLeadingBlanks(key.text);
    }
    if (!IsAllSpaces(key.text)) {
        // Retorna pressed with a key typed and not yet taken: the screen is left without
        // storing anything, whatever the key holds (a name that would be refused too).
        if (mode == ScreenMode::Empty && next == &RetBitBtn && LeavingForAButtonClicked(next)) {
            return;
        }
        if (mode == ScreenMode::Empty && RefuseKeyName(key.text)) {
            SetFocus(&key);
            return;
        }
        const FindResult found = FindKey(table.keys, key.text);
        currentIndex = found.index;
        if (mode == ScreenMode::Empty) {
            if (found.found) {
                mode = ScreenMode::Showing;
                ShowCurrentRecord();
            } else {
                mode = ScreenMode::Inserting;
            }
            ApplyMode();
        }
        // The control the focus was going to may have been disabled by the new mode.
        if (!FocusWasSetSinceMark() && (next == nullptr || !next->CanFocus())) {
            SetFocus(NextControl(&key));
        }
        return;
    }
    if (LeavingForAButtonClicked(next)) {
        return;
    }
    Tell(msg::kInvalidCode);
    if (mode != ScreenMode::Empty) {
        LogicError();
    } else {
        SetFocus(&key);
    }
}

// Retorna, Lista, Novo or Ajuda pressed (clicked, or by its Alt letter) while the key
// field is being left. Tab or Enter walking onto one of them is no such press: with the
// data fields disabled, Tab from a blank key in Empty mode lands on Novo.
bool RegisterScreen::LeavingForAButtonClicked(const Control* next) const {
    return !FocusMovingByKey() &&
           (next == &RetBitBtn || next == &LisBitBtn || next == &NovBitBtn || next == &AjuBitBtn);
}

void RegisterScreen::GraBitBtnClick() {
    if (mode == ScreenMode::Showing) {
        mode = ScreenMode::Altering;
    }
    bool stored = false;
    if (mode == ScreenMode::Inserting) {
        if (RefuseReadOnly()) {
            return;
        }
        if (m_keyField != nullptr && RefuseKeyName(m_keyField->text)) {
            mode = ScreenMode::Empty;
            ApplyMode();
            return;
        }
        if (RefuseValues()) {
            return;
        }
        if (Ask(msg::kConfirmInsert) != kAnswerYes) {
            InsertionDeclined();
            return;
        }
        stored = WriteRecord(true);
        if (stored && ShowsSuccess()) {
            Tell(msg::kInserted);
        }
    } else if (mode == ScreenMode::Altering) {
        if (currentIndex < 0 || currentIndex >= table.lines.Count()) {
            LogicError();
            return;
        }
        if (RefuseReadOnly() || RefuseAlteration() || RefuseValues()) {
            return;
        }
        BeforeAlteration();
        if (Ask(msg::kConfirmAlter) != kAnswerYes) {
            AlterationDeclined();
            return;
        }
        stored = WriteRecord(false);
        if (stored && ShowsSuccess()) {
            Tell(msg::kAltered);
        }
    } else {
        LogicError();
        return;
    }
    if (stored) {
        dirty = false;
    }
    mode = ModeAfterStore();
    ApplyMode();
}

void RegisterScreen::NovBitBtnClick() {
    if (!UnsavedChanges()) {
        return;
    }
    mode = ScreenMode::Empty;
    ApplyMode();
}

void RegisterScreen::ExcBitBtnClick() {
    if (mode == ScreenMode::Showing) {
        mode = ScreenMode::Deleting;
    }
    if (mode != ScreenMode::Deleting) {
        LogicError();
        return;
    }
    if (currentIndex < 0 || currentIndex >= table.keys.Count()) {
        LogicError();
        return;
    }
    if (RefuseReadOnly() || RecordInUse()) {
        return;
    }
    if (Ask(msg::kConfirmDelete) != kAnswerYes) {
        mode = ScreenMode::Showing;
        ApplyMode();
        return;
    }
    LineTable before = table;
    const std::string key = table.keys[currentIndex];
    bool saved = false;
    try {
        DeleteRecord(table, currentIndex);
        currentIndex = 0;
        SaveAfterChange();
        saved = true;
        AfterDelete(key);
        if (ShowsSuccess()) {
            Tell(msg::kDeleted);
        }
    } catch (const StorageError& e) {
        if (!saved) {
            table = std::move(before);  // the record stays, in memory as on disk
        }
        currentIndex = 0;
        TellFailure(msg::kDeleteFailed, e);
    }
    mode = ScreenMode::Empty;
    ApplyMode();
}

void RegisterScreen::AntBitBtnClick() {
    if (!UnsavedChanges()) {
        return;
    }
    ProBitBtn.enabled = true;
    if (currentIndex < 1) {
        AntBitBtn.enabled = false;
        if (ActiveControl() == &AntBitBtn) {
            SetFocus(&ProBitBtn);
        }
    } else {
        currentIndex = std::min(currentIndex, table.lines.Count()) - 1;
        ShowCurrentRecord();
    }
}

void RegisterScreen::ProBitBtnClick() {
    if (!UnsavedChanges()) {
        return;
    }
    AntBitBtn.enabled = true;
    if (currentIndex < table.lines.Count() - 1) {
        currentIndex = std::max(currentIndex, -1) + 1;
        ShowCurrentRecord();
    } else {
        ProBitBtn.enabled = false;
        if (ActiveControl() == &ProBitBtn) {
            SetFocus(&AntBitBtn);
        }
    }
}

std::optional<int> RegisterScreen::ChooseRecord() {
    const int count = table.keys.Count();
    if (count == 0) {
        Tell(msg::kNoRecords);
        return std::nullopt;
    }
    const int preselected = std::clamp(currentIndex, 0, count - 1);
    return m_ui.PickFromList(ListTitle(), table.keys.Items(), preselected);
}

void RegisterScreen::LisBitBtnClick() {
    if (!UnsavedChanges()) {
        return;
    }
    const std::optional<int> chosen = ChooseRecord();
    if (!chosen) {
        return;
    }
    if (*chosen < 0 || *chosen >= table.lines.Count()) {
        mode = ScreenMode::Empty;
    } else {
        currentIndex = *chosen;
        mode = ScreenMode::Showing;
        ShowCurrentRecord();
    }
    ApplyMode();
}

void RegisterScreen::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

void RegisterScreen::RetBitBtnClick() {
    if (!UnsavedChanges()) {
        return;
    }
    BeforeClose();
    if (!DeferredSave()) {
        return;
    }
    table.Clear();
    if (m_keyField != nullptr) {
        m_keyField->enabled = true;
        SetFocus(m_keyField);
    }
    Close();
}

bool RegisterScreen::UnsavedChanges() {
    if (!HasDirtyFlag() || !dirty) {
        return true;
    }
    if (Ask(msg::kUnsavedRecord) == kAnswerYes) {
        const bool insert = mode == ScreenMode::Inserting;
        if (insert && m_keyField != nullptr && RefuseKeyName(m_keyField->text)) {
            return false;
        }
        if (RefuseValues()) {
            return false;
        }
        if (!WriteRecord(insert)) {
            return false;
        }
        Tell(insert ? msg::kInserted : msg::kAltered);
    }
    dirty = false;
    return true;
}

void RegisterScreen::AltNomBitBtnClick() {
    if (mode != ScreenMode::Showing || m_keyField == nullptr || currentIndex < 0 ||
        currentIndex >= table.lines.Count()) {
        return;
    }
    MaskEdit& key = *m_keyField;
    const RenameResult answer = m_ui.AskNewName(RenameCaption(), key.Mask(), key.text);
    if (!answer.confirmed) {
        return;
    }
    std::string newName = WithoutLeadingBlanks(answer.newName);
    newName.resize(static_cast<size_t>(std::max(key.maxLength, 0)), ' ');
    if (IsAllSpaces(newName)) {
        Tell(msg::kInvalidCode);
        return;
    }
    if (RefuseKeyName(newName)) {
        return;
    }
    if (FindKey(table.keys, newName).found) {
        m_ui.ShowMessageBox(RenameExistsMessage(), MessageKind::Ok);
        return;
    }
    const std::string oldName = key.text;
    LineTable before = table;
    const int indexBefore = currentIndex;
    try {
        key.text = newName;
        DeleteRecord(table, currentIndex);
        InsertRecord(table, ComposeRecord());
        currentIndex = FindKey(table.keys, newName).index;
        SaveRenamed(oldName, newName);
    } catch (const StorageError& e) {
        table = std::move(before);
        currentIndex = indexBefore;
        key.text = oldName;
        TellFailure(msg::kAlterFailed, e);
        return;
    }
    AfterRename(oldName, newName);
}

// ---- layout ----

LayoutItem RegisterScreen::ButtonBar() {
    std::vector<LayoutItem> buttons;
    for (Button* b : {&GraBitBtn, &NovBitBtn, &ExcBitBtn, &AntBitBtn, &ProBitBtn, &LisBitBtn,
                      &AjuBitBtn, &RetBitBtn}) {
        buttons.push_back(LayoutItem::Of(*b));
    }
    buttons.push_back(LayoutItem::Stretch());
    return LayoutItem::Row(std::move(buttons));
}

LayoutItem RegisterScreen::Layout() {
    std::vector<LayoutItem> rows{ButtonBar()};
    if (m_keyField != nullptr) {
        std::vector<LayoutItem> keyRow{LayoutItem::Of(*m_keyField)};
        if (m_renameButton != nullptr) {
            keyRow.push_back(LayoutItem::Of(*m_renameButton));
        }
        keyRow.push_back(LayoutItem::Stretch());
        rows.push_back(LayoutItem::Row(std::move(keyRow)));
    }
    for (Control* c : m_dataFields) {
        rows.push_back(LayoutItem::Row({LayoutItem::Of(*c), LayoutItem::Stretch()}));
    }
    rows.push_back(LayoutItem::Stretch());
    return LayoutItem::Column(std::move(rows));
}

}  // namespace velmaro
