#include "ingredients/CadIngForm.h"

#include <cctype>
#include <system_error>
#include <utility>

#include "ingredients/ExtraValuesTransfer.h"
#include "ingredients/SuppliedTables.h"
#include "shell/NameRules.h"
#include "shell/ScreenMessages.h"
#include "shell/ShortDate.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kInvalidDate = "Data inválida!";
constexpr std::string_view kClearGroupQuestion = "Limpa o campo \"Grupo\"?";
// Retorna could not write the ingredient file: the screen stays open with the table in
// memory, so that nothing confirmed is lost.
constexpr std::string_view kTableNotWritten =
    "Erro durante a gravação do arquivo de ingredientes! As alterações foram mantidas "
    "na tela; tente novamente.";

// A stored value that was never typed: the blank text of its mask (or nothing at all).
bool IsBlankStoredValue(std::string_view text) {
    return text.find_first_not_of(" ,") == std::string_view::npos;
}

}  // namespace

TCadIngForm::TCadIngForm(Ui& ui, fs::path folder, ActiveTable& activeTable,
                         IngredientChangeHandler& changes)
    : RegisterScreen("TCadIngForm", ui, std::move(folder)),
      AltNomBitBtn(*this, "AltNomBitBtn", ""),
      IngMaskEdit(*this, "IngMaskEdit", std::string(ing::kNameMask)),
      kalMaskEdit(*this, "kalMaskEdit", std::string(ing::kValueMask)),
      KALFonMaskEdit(*this, "KALFonMaskEdit"),
      CHOMaskEdit(*this, "CHOMaskEdit", std::string(ing::kValueMask)),
      CHOFonMaskEdit(*this, "CHOFonMaskEdit"),
      PTNMaskEdit(*this, "PTNMaskEdit", std::string(ing::kValueMask)),
      PTNFonMaskEdit(*this, "PTNFonMaskEdit"),
      LipMaskEdit(*this, "LipMaskEdit", std::string(ing::kValueMask)),
      LipFonMaskEdit(*this, "LipFonMaskEdit"),
      SATMaskEdit(*this, "SATMaskEdit", std::string(ing::kValueMask)),
      SatFonMaskEdit(*this, "SatFonMaskEdit"),
      COLMaskEdit(*this, "COLMaskEdit", std::string(ing::kValueMask)),
      ColFonMaskEdit(*this, "ColFonMaskEdit"),
      FibMaskEdit(*this, "FibMaskEdit", std::string(ing::kValueMask)),
      FibFonMaskEdit(*this, "FibFonMaskEdit"),
      CalMaskEdit(*this, "CalMaskEdit", std::string(ing::kValueMask)),
      CalFonMaskEdit(*this, "CalFonMaskEdit"),
      FerMaskEdit(*this, "FerMaskEdit", std::string(ing::kValueMask)),
      FerFonMaskEdit(*this, "FerFonMaskEdit"),
      SODMaskEdit(*this, "SODMaskEdit", std::string(ing::kSodiumMask)),
      SodFonMaskEdit(*this, "SodFonMaskEdit"),
      ACTMaskEdit(*this, "ACTMaskEdit", std::string(kExtraValueMask)),
      ACTFonMaskEdit(*this, "ACTFonMaskEdit"),
      ACAMaskEdit(*this, "ACAMaskEdit", std::string(kExtraValueMask)),
      ACAFonMaskEdit(*this, "ACAFonMaskEdit"),
      TRAMaskEdit(*this, "TRAMaskEdit", std::string(kExtraValueMask)),
      TraFonMaskEdit(*this, "TraFonMaskEdit"),
      FCMaskEdit(*this, "FCMaskEdit", std::string(ing::kFactorMask)),
      FCFonMaskEdit(*this, "FCFonMaskEdit"),
      FCCMaskEdit(*this, "FCCMaskEdit", std::string(ing::kFactorMask)),
      FCCFonMaskEdit(*this, "FCCFonMaskEdit"),
      CusUniMaskEdit(*this, "CusUniMaskEdit", std::string(ing::kCostMask)),
      DatCotMaskEdit(*this, "DatCotMaskEdit", std::string(ing::kDateMask)),
      CusFonMaskEdit(*this, "CusFonMaskEdit"),
      LimNomGruBitBtn(*this, "LimNomGruBitBtn", ""),
      NomGruComboBox(*this, "NomGruComboBox"),
      AcuBitBtn(*this, "AcuBitBtn", W("Açúcares de o&utra tabela")),
      m_activeTable(activeTable),
      m_changes(changes) {
    caption = "CADASTRO DE INGREDIENTES";
    AltNomBitBtn.hint = "Altera nome do ingrediente";
    LimNomGruBitBtn.icon = ButtonIcon::Clear;
    LimNomGruBitBtn.hint = "Limpa campo Grupo";
    AcuBitBtn.hint =
        W("Preenche açúcares e gordura trans em branco com os de um alimento de "
          "outra tabela (IBGE)");
    AcuBitBtn.onClick = [this] { AcuBitBtnClick(); };
    IngMaskEdit.label = "Ingrediente ( 100 gramas )";
    const std::array<const char*, kValueCount> labels = {
        "Calorias (KCal)",      "Glicídios (g)",   "Proteínas (g)", "Gordura Total (g)",
        "Gordura Saturada (g)", "Colesterol (mg)", "Fibra (g)",     "Cálcio (mg)",
        "Ferro (mg)",           "Sódio (mg)",      "F.C",           "F.C.C.",
        "Custo ($/1kg)"};
    const auto values = ValueFields();
    const auto sources = SourceFields();
    for (size_t i = 0; i < values.size(); ++i) {
        values[i]->label = W(labels[i]);
        sources[i]->label = "Fonte do dado";
    }
    const std::array<const char*, kExtraValueCount> extraLabels = {
        "Açúcares totais (g)", "Açúcares adicionados (g)", "Gorduras trans (g)"};
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        ExtraFields()[i]->label = W(extraLabels[i]);
        ExtraSourceFields()[i]->label = "Fonte do dado";
    }
    DatCotMaskEdit.label = W("Data cotação");
    NomGruComboBox.label = "Grupo";

    SetRenameButton(AltNomBitBtn);
    SetKeyField(IngMaskEdit);
    // The data fields in their Enter and Tab order.
    auto addValue = [this](MaskEdit& field, int recordField) {
        AddNumericField(field);
        if (IngredientEdit::Slot(recordField) < 0) {
            return;
        }
        // Leaving a value that reaches the preparations keeps its text as edited.
        auto rule = field.onExit;
        field.onExit = [this, rule, &field, recordField](Control* next) {
            rule(next);
            m_edit.edited[static_cast<size_t>(IngredientEdit::Slot(recordField))] = field.text;
        };
    };
    for (size_t i = 0; i < 12; ++i) {
        const int recordField = i < 10 ? ing::kEnergy + static_cast<int>(i)
                                       : ing::kCorrectionFactor + static_cast<int>(i - 10);
        addValue(*values[i], recordField);
        AddTextField(*sources[i]);
        if (i == 9) {
            // After sodium, the values kept beside the record: not carried into the
            // preparations (a label reads them from the table when it is composed).
            for (size_t k = 0; k < kExtraValueCount; ++k) {
                AddNumericField(*ExtraFields()[k]);
                AddTextField(*ExtraSourceFields()[k]);
            }
        }
    }
    addValue(CusUniMaskEdit, ing::kCostPerKilogram);
    AddDataField(DatCotMaskEdit);
    DatCotMaskEdit.onExit = [this](Control* next) { DatCotMaskEditExit(next); };
    AddTextField(CusFonMaskEdit);
    CusFonMaskEdit.maxLength = ing::kCostSourceMaxLength;
    AddDataField(LimNomGruBitBtn);
    LimNomGruBitBtn.onClick = [this] { LimNomGruBitBtnClick(); };
    AddDataField(NomGruComboBox);
}

std::array<MaskEdit*, TCadIngForm::kValueCount> TCadIngForm::ValueFields() {
    return {&kalMaskEdit, &CHOMaskEdit, &PTNMaskEdit,   &LipMaskEdit, &SATMaskEdit,
            &COLMaskEdit, &FibMaskEdit, &CalMaskEdit,   &FerMaskEdit, &SODMaskEdit,
            &FCMaskEdit,  &FCCMaskEdit, &CusUniMaskEdit};
}

std::array<MaskEdit*, TCadIngForm::kValueCount> TCadIngForm::SourceFields() {
    return {&KALFonMaskEdit, &CHOFonMaskEdit, &PTNFonMaskEdit, &LipFonMaskEdit, &SatFonMaskEdit,
            &ColFonMaskEdit, &FibFonMaskEdit, &CalFonMaskEdit, &FerFonMaskEdit, &SodFonMaskEdit,
            &FCFonMaskEdit,  &FCCFonMaskEdit, &CusFonMaskEdit};
}

std::array<MaskEdit*, kExtraValueCount> TCadIngForm::ExtraFields() {
    return {&ACTMaskEdit, &ACAMaskEdit, &TRAMaskEdit};
}

std::array<MaskEdit*, kExtraValueCount> TCadIngForm::ExtraSourceFields() {
    return {&ACTFonMaskEdit, &ACAFonMaskEdit, &TraFonMaskEdit};
}

std::array<const MaskEdit*, kExtraValueCount> TCadIngForm::ExtraFields() const {
    return {&ACTMaskEdit, &ACAMaskEdit, &TRAMaskEdit};
}

std::array<const MaskEdit*, kExtraValueCount> TCadIngForm::ExtraSourceFields() const {
    return {&ACTFonMaskEdit, &ACAFonMaskEdit, &TraFonMaskEdit};
}

MaskEdit& TCadIngForm::CarriedField(int field) {
    if (field == ing::kCostPerKilogram) {
        return CusUniMaskEdit;
    }
    if (field == ing::kQuotationDate) {
        return DatCotMaskEdit;
    }
    return *ValueFields()[static_cast<size_t>(field - ing::kEnergy)];
}

// ---- the screen's pieces ----

std::string TCadIngForm::Title() const {
    return "CADASTRO DE INGREDIENTES - TABELA ATIVA : " + tableName;
}

std::string TCadIngForm::ListTitle() const {
    return "LISTA DE INGREDIENTES";
}

fs::path TCadIngForm::TablePath() const {
    return IngredientFilePath(programFolder, tableName);
}

void TCadIngForm::ShowRecord(int index) {
    const std::string& record = table.lines[index];
    // A stored text into a masked field; a field the record lacks shows blank.
    auto put = [&record](MaskEdit& field, int n) {
        const std::string text = GetField(n, record);
        if (text.empty()) {
            field.Clear();
        } else {
            PutText(field, text);
        }
    };
    put(IngMaskEdit, ing::kName);
    const auto values = ValueFields();
    for (size_t i = 0; i < values.size(); ++i) {
        put(*values[i], ing::SourceValueField(ing::kFirstSource + static_cast<int>(i)));
    }
    put(DatCotMaskEdit, ing::kQuotationDate);
    ChooseGroup(GetField(ing::kGroup, record));
    // A table that can only be consulted names itself as the source of every value it has.
    const auto sources = SourceFields();
    for (size_t i = 0; i < sources.size(); ++i) {
        const int sourceField = ing::kFirstSource + static_cast<int>(i);
        std::string source;
        if (m_activeTable.editable) {
            source = GetField(sourceField, record);
        } else if (!IsBlankStoredValue(GetField(ing::SourceValueField(sourceField), record))) {
            source = tableName;
        }
        sources[i]->text = std::move(source);
        sources[i]->caret = 0;
        sources[i]->selLength = 0;
    }
    const ExtraValues extras = m_extras.Find(GetField(ing::kName, record));
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        MaskEdit& value = *ExtraFields()[i];
        if (extras.values[i].empty()) {
            value.Clear();
        } else {
            PutText(value, extras.values[i]);
        }
        MaskEdit& source = *ExtraSourceFields()[i];
        if (m_activeTable.editable) {
            source.text = extras.sources[i];
        } else {
            source.text = IsBlankStoredValue(extras.values[i]) ? std::string() : tableName;
        }
        source.caret = 0;
        source.selLength = 0;
    }
    TakeShownTexts();
}

void TCadIngForm::ClearFields() {
    IngMaskEdit.Clear();
    for (MaskEdit* field : ValueFields()) {
        field->Clear();
    }
    DatCotMaskEdit.Clear();
    for (MaskEdit* field : ExtraFields()) {
        field->Clear();
    }
    for (MaskEdit* field : SourceFields()) {
        field->text.clear();
        field->caret = 0;
        field->selLength = 0;
    }
    for (MaskEdit* field : ExtraSourceFields()) {
        field->text.clear();
        field->caret = 0;
        field->selLength = 0;
    }
    ChooseGroup({});
    TakeShownTexts();
}

std::string TCadIngForm::ComposeIngredientRecord() const {
    std::string record = IngMaskEdit.text + "|";
    for (const MaskEdit* field :
         {&kalMaskEdit, &CHOMaskEdit, &PTNMaskEdit, &LipMaskEdit, &SATMaskEdit, &COLMaskEdit,
          &FibMaskEdit, &CalMaskEdit, &FerMaskEdit, &SODMaskEdit}) {
        record += field->text + "|";
    }
    record += "|";  // field 12, always empty
    record += NomGruComboBox.SelectedText() + "|";
    for (const MaskEdit* field : {&FCMaskEdit, &FCCMaskEdit, &CusUniMaskEdit, &DatCotMaskEdit}) {
        record += field->text + "|";
    }
    for (const MaskEdit* field :
         {&KALFonMaskEdit, &CHOFonMaskEdit, &PTNFonMaskEdit, &LipFonMaskEdit, &SatFonMaskEdit,
          &ColFonMaskEdit, &FibFonMaskEdit, &CalFonMaskEdit, &FerFonMaskEdit, &SodFonMaskEdit,
          &FCFonMaskEdit, &FCCFonMaskEdit, &CusFonMaskEdit}) {
        record += field->text + "|";
    }
    return record;
}

ExtraValues TCadIngForm::ComposeExtraValues() const {
    ExtraValues extras;
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        extras.values[i] = ExtraFields()[i]->text;
        extras.sources[i] = ExtraSourceFields()[i]->text;
    }
    return extras;
}

std::vector<FileContent> TCadIngForm::FilesWith(const ExtraValuesTable& extras) const {
    const fs::path path = ExtraValuesFileLocation(programFolder, tableName);
    std::string bytes = extras.Bytes();
    std::error_code ec;
    if (bytes.empty() && !fs::exists(path, ec)) {
        return {};
    }
    return {{path, std::move(bytes)}};
}

std::vector<FileContent> TCadIngForm::TableFiles(const ExtraValuesTable& extras) const {
    std::vector<FileContent> files = {{TablePath(), TableBytes()}};
    for (FileContent& file : FilesWith(extras)) {
        files.push_back(std::move(file));
    }
    return files;
}

void TCadIngForm::TakeShownTexts() {
    m_edit.name = IngMaskEdit.text;
    for (size_t i = 0; i < kCarriedIngredientFields.size(); ++i) {
        m_edit.shown[i] = CarriedField(kCarriedIngredientFields[i]).text;
        m_edit.edited[i] = m_edit.shown[i];
    }
}

void TCadIngForm::LoadGroupChoices() {
    LineTable groups;
    LoadLineTable(IngredientGroupsPath(programFolder, tableName), groups);
    m_groupChoices = std::move(groups.keys);
    const std::string chosen = NomGruComboBox.SelectedText();
    NomGruComboBox.items = m_groupChoices.Items();
    ChooseGroup(chosen);
}

// A group the group file no longer holds shows as none.
void TCadIngForm::ChooseGroup(const std::string& group) {
    NomGruComboBox.itemIndex = -1;
    NomGruComboBox.text.clear();
    if (group.empty()) {
        return;
    }
    const FindResult found = FindKey(m_groupChoices, group);
    if (found.found) {
        NomGruComboBox.itemIndex = found.index;
        NomGruComboBox.text = m_groupChoices[found.index];
    }
}

// ---- opening, modes and closing ----

void TCadIngForm::LoadTable() {
    unsavedTable = false;
    m_extras = ExtraValuesTable();
    RegisterScreen::LoadTable();
    const fs::path extrasPath = ExtraValuesFileLocation(programFolder, tableName);
    m_extras = LoadExtraValuesFile(extrasPath);
    if (!m_extras.Problems().empty()) {
        const ExtraValuesProblem& first = m_extras.Problems().front();
        m_ui.ShowMessageBox(W("O arquivo ") + W(extrasPath.string()) +
                                W(" está danificado (linha ") + std::to_string(first.line) +
                                "): " + first.what +
                                W(". A tabela fica somente para consulta até que ele seja "
                                  "corrigido."),
                            MessageKind::Ok);
    }
    LoadGroupChoices();
}

void TCadIngForm::SaveTable() {
    const std::vector<FileContent> files = TableFiles(m_extras);
    FileBatch batch;
    for (const FileContent& file : files) {
        if (file.path != TablePath()) {
            EnsureFolder(file.path.parent_path());
        }
        batch.Add(file.path, file.bytes);
    }
    batch.Commit();
}

void TCadIngForm::StartScreen() {
    mode = TableEditable() ? ScreenMode::Empty : ScreenMode::ReadOnly;
    currentIndex = 0;
    // A table to consult opens on its first record; one without records shows nothing.
    if (mode == ScreenMode::ReadOnly && table.lines.Count() > 0) {
        ShowCurrentRecord();
    } else {
        ClearScreen();
    }
    ApplyMode();
}

void TCadIngForm::ApplyMode() {
    if (!TableEditable()) {
        mode = ScreenMode::ReadOnly;
    }
    RegisterScreen::ApplyMode();
}

bool TCadIngForm::WritePendingTable() {
    if (!TableEditable() || !unsavedTable) {
        return true;
    }
    try {
        SaveTable();
    } catch (const StorageError&) {
        Tell(kTableNotWritten);
        return false;
    }
    unsavedTable = false;
    return true;
}

bool TCadIngForm::DeferredSave() {
    return WritePendingTable();
}

// The screen closes on an inconsistent state, but what was confirmed is written first.
void TCadIngForm::LogicError() {
    Tell(msg::kLogicError);
    if (WritePendingTable()) {
        Close();
    }
}

// ---- storing, deleting, leaving a record ----

void TCadIngForm::RefuseConsultationTable() {
    m_ui.ShowMessageBox(W("A tabela ") + TrimTrailingSpaces(tableName) +
                            W(" está disponível somente para consulta!"),
                        MessageKind::Ok);
    mode = ScreenMode::Showing;
    ApplyMode();
}

bool TCadIngForm::RefuseReadOnly() {
    if (TableEditable()) {
        return false;
    }
    RefuseConsultationTable();
    return true;
}

bool TCadIngForm::RecordInUse() {
    try {
        m_changes.CheckIngredientInUse(m_ui, programFolder, tableName, IngMaskEdit.text,
                                       IngredientUse::Deletion);
    } catch (const StorageError&) {
        // Only a warning: the deletion itself reports a preparation it cannot update.
    }
    return false;
}

// Sugars and trans fat that cannot be right are not stored; those that disagree with the
// carbohydrate or the fats of the record are stored when the user confirms them.
bool TCadIngForm::RefuseValues() {
    for (ExtraValueFinding& finding :
         CheckExtraValuesOf(ComposeExtraValues(), ComposeIngredientRecord())) {
        std::string text = std::move(finding.text);
        text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
        MaskEdit* field = ExtraFields()[static_cast<size_t>(finding.value)];
        if (finding.error) {
            Tell(text);
            SetFocus(field);
            return true;
        }
        if (Ask(text + " Confirma estes valores?") != kAnswerYes) {
            SetFocus(field);
            return true;
        }
    }
    return false;
}

void TCadIngForm::BeforeAlteration() {
    try {
        m_changes.CheckIngredientInUse(m_ui, programFolder, tableName, IngMaskEdit.text,
                                       IngredientUse::Alteration);
    } catch (const StorageError&) {
        // Only a warning: the alteration itself reports a preparation it cannot update.
    }
}

void TCadIngForm::AlterationDeclined() {
    ShowCurrentRecord();
    SetFocus(&kalMaskEdit);
}

// After the record was inserted, replaced or deleted in the table in memory. A new
// ingredient reaches no preparation: the file is written at Retorna. A change or a
// deletion is carried into the preparations in one batch with the ingredient file and the
// file of the values beside it, so that the files never disagree; when that fails
// (StorageError), nothing was written and the register puts its table back and keeps the
// edits on the screen, so that Grava (or SIM) tries again.
void TCadIngForm::SaveAfterChange() {
    ExtraValuesTable extras = m_extras;
    if (mode == ScreenMode::Inserting) {
        extras.Set(IngMaskEdit.text, ComposeExtraValues());
        m_extras = std::move(extras);
        unsavedTable = true;
        return;
    }
    if (mode == ScreenMode::Deleting) {
        extras.Remove(IngMaskEdit.text);
        m_changes.RemoveIngredientFromPreparations(m_ui, programFolder, tableName, IngMaskEdit.text,
                                                   TableFiles(extras));
    } else {
        extras.Set(IngMaskEdit.text, ComposeExtraValues());
        m_edit.name = IngMaskEdit.text;
        m_changes.CarryIngredientChange(m_ui, programFolder, tableName, m_edit, TableFiles(extras));
    }
    m_extras = std::move(extras);
    unsavedTable = false;  // the whole table was written with the preparations
}

void TCadIngForm::AfterStore(bool /*inserted*/) {
    // The preparations hold these values now: a later edit is measured against them.
    m_edit.shown = m_edit.edited;
}

void TCadIngForm::AfterDelete(const std::string& key) {
    const fs::path measures = MeasureFilePath(programFolder, tableName, key, false);
    std::error_code ec;
    if (fs::exists(measures, ec) && !fs::remove(measures, ec)) {
        throw StorageError("Não foi possível excluir o arquivo " + measures.string());
    }
    if (ec) {
        throw StorageError("Não foi possível excluir o arquivo " + measures.string() + " (" +
                           ec.message() + ")");
    }
}

bool TCadIngForm::UnsavedChanges() {
    if (!dirty) {
        return true;
    }
    const bool insert = mode == ScreenMode::Inserting;
    if (Ask(msg::kUnsavedRecord) != kAnswerYes) {
        // A new record keeps its edits until the screen is cleared or left.
        if (!insert) {
            dirty = false;
        }
        return true;
    }
    if (insert && RefuseEscapingName(m_ui, IngMaskEdit.text)) {
        return false;
    }
    if (!insert && (currentIndex < 0 || currentIndex >= table.lines.Count())) {
        dirty = false;
        return true;
    }
    if (!WriteRecord(insert)) {
        return false;
    }
    dirty = false;
    return true;
}

// ---- Lista ----

TCadIngForm::ListChoice TCadIngForm::OpenIngredientList() {
    if (listViewer == nullptr) {
        return {RegisterScreen::ChooseRecord(), false};
    }
    listViewer->Prepare(tableName, table, currentIndex, TableEditable());
    listViewer->companions = this;
    m_ui.ShowModal(*listViewer);
    if (listViewer->copied && !listViewer->wroteFile) {
        unsavedTable = true;  // the copies are in memory: written at Retorna
    }
    // An index outside the table (a row of another table, or an empty table) is given on:
    // the screen is then cleared.
    return {listViewer->chosenIndex, listViewer->wroteFile};
}

void TCadIngForm::IngredientCopied(const CopySourceTable& source, const std::string& name) {
    ExtraValues extras;
    try {
        extras = LoadExtraValues(programFolder, source.name).Find(name);
    } catch (const StorageError&) {
        return;  // the other table's values cannot be read: they stay unknown here
    }
    if (extras.Empty()) {
        return;
    }
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        if (IsBlankStoredValue(extras.values[i])) {
            extras.values[i] = BlankMaskText(kExtraValueMask);
        } else if (source.flag == "0") {
            extras.sources[i] = TrimTrailingSpaces(source.description);
        }
    }
    m_extras.Set(name, extras);
}

std::vector<std::pair<fs::path, std::string>> TCadIngForm::CompanionFiles() const {
    std::vector<std::pair<fs::path, std::string>> files;
    for (const FileContent& file : FilesWith(m_extras)) {
        files.emplace_back(file.path, file.bytes);
    }
    return files;
}

std::optional<int> TCadIngForm::ChooseRecord() {
    const ListChoice choice = OpenIngredientList();
    try {
        LoadGroupChoices();
    } catch (const StorageError&) {
        // The choices loaded before stay.
    }
    if (choice.wroteFile) {
        unsavedTable = false;
    }
    return choice.index;
}

// ---- rename ----

std::string TCadIngForm::RenameCaption() const {
    return "Altera nome do ingrediente";
}

std::string TCadIngForm::RenameExistsMessage() const {
    return W("Já existe um ingrediente com o novo nome!");
}

// The measures file, the preparations and the ingredient file take the new name in one
// go: every new content is written before any file is replaced, so that a disk that
// fills up half-way leaves all of them with the old name (a second rename back could not
// be written either). On a failure the register puts its table back as it was.
void TCadIngForm::SaveRenamed(const std::string& oldName, const std::string& newName) {
    // The record is stored as the screen shows it, and so are its values beside it.
    m_renamedExtras = m_extras;
    m_renamedExtras.Remove(oldName);
    m_renamedExtras.Set(newName, ComposeExtraValues());
    m_changes.RenameIngredient(m_ui, programFolder, tableName, oldName, newName,
                               TableFiles(m_renamedExtras));
}

void TCadIngForm::AfterRename(const std::string& /*oldName*/, const std::string& newName) {
    unsavedTable = false;  // the file was written with the whole table
    m_extras = std::move(m_renamedExtras);
    m_renamedExtras = ExtraValuesTable();
    m_edit.name = newName;
}

// ---- the screen's own controls ----

void TCadIngForm::DatCotMaskEditExit(Control* /*next*/) {
    m_edit.edited[static_cast<size_t>(IngredientEdit::Slot(ing::kQuotationDate))] =
        DatCotMaskEdit.text;
    if (DatCotMaskEdit.text != BlankMaskText(ing::kDateMask) &&
        !ParseShortDate(DatCotMaskEdit.text)) {
        Tell(kInvalidDate);
        SetFocus(&DatCotMaskEdit);
    }
}

void TCadIngForm::LimNomGruBitBtnClick() {
    if (Ask(kClearGroupQuestion) == kAnswerYes && NomGruComboBox.itemIndex >= 0) {
        ChooseGroup({});
        dirty = true;
    }
}

// ---- sugars and trans fat from another table ----

namespace {

// "  12,50" or "?" (not known), right-aligned in `width`.
std::string Shown(const ExtraValues& values, ExtraValue which) {
    std::string text = values.Known(which) ? TrimTrailingSpaces(values.Text(which)) : "?";
    const size_t start = text.find_first_not_of(' ');
    text = start == std::string::npos ? text : text.substr(start);
    return std::string(text.size() < 10 ? 10 - text.size() : 0, ' ') + text;
}

}  // namespace

void TCadIngForm::AcuBitBtnClick() {
    if (!TableEditable()) {
        RefuseConsultationTable();
        return;
    }
    if (mode != ScreenMode::Showing || currentIndex < 0 || currentIndex >= table.lines.Count() ||
        dirty) {
        Tell(
            "Mostre um ingrediente gravado (sem alteração pendente) para buscar os seus "
            "açúcares.");
        return;
    }
    const std::string name = table.keys[currentIndex];
    const ExtraValues current = m_extras.Find(name);
    if (!LacksExtraValues(current)) {
        Tell("O ingrediente já tem açúcares totais, açúcares adicionados e gordura trans.");
        return;
    }
    if (listViewer == nullptr) {
        return;
    }
    listViewer->PreparePick(tableName, table, W(kIbgeTableName));
    listViewer->companions = nullptr;
    m_ui.ShowModal(*listViewer);
    if (listViewer->pickedRow.empty()) {
        return;
    }
    const std::string foodTable = listViewer->pickedTable;
    const std::string foodRow = listViewer->pickedRow;
    const std::string foodName = RecordKey(foodRow);
    ExtraValues food;
    try {
        food = LoadExtraValues(programFolder, foodTable).Find(foodName);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        return;
    }
    const ExtraValuesTaken taken = TakeExtraValues(current, food, foodName, foodTable, false);
    if (taken.taken == 0) {
        m_ui.ShowMessageBox(W("O alimento \"") + TrimTrailingSpaces(foodName) +
                                W("\" não tem os valores que faltam ao ingrediente."),
                            MessageKind::Ok);
        return;
    }
    // The two side by side, with energy and carbohydrate to judge the match.
    const auto field = [](const std::string& record, int f) {
        std::string text = GetField(f, record);
        const size_t start = text.find_first_not_of(' ');
        text = start == std::string::npos ? std::string("?") : text.substr(start);
        return std::string(text.size() < 10 ? 10 - text.size() : 0, ' ') + text;
    };
    const std::string record = table.lines[currentIndex];
    std::string question = W("Ingrediente: ") + TrimTrailingSpaces(name) + "\n" + W("Alimento (") +
                           TrimTrailingSpaces(foodTable) + "): " + TrimTrailingSpaces(foodName) +
                           "\n\n" + W("                      Ingrediente  Alimento\n");
    question += W("Calorias (kcal)       ") + field(record, ing::kEnergy) +
                field(foodRow, ing::kEnergy) + "\n";
    question += W("Glicídios (g)         ") + field(record, ing::kCarbohydrate) +
                field(foodRow, ing::kCarbohydrate) + "\n";
    const std::array<const char*, kExtraValueCount> labels = {
        "Açúcares totais (g)   ", "Açúcares adic. (g)    ", "Gorduras trans (g)    "};
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        const auto which = static_cast<ExtraValue>(i);
        question += W(labels[i]) + Shown(current, which) + Shown(food, which) + "\n";
    }
    question += W("\nGrava no ingrediente os valores em branco com os do alimento?");
    if (m_ui.ShowMessageBox(question, MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    ExtraValuesTable extras = m_extras;
    extras.Set(name, taken.values);
    try {
        // Copies still held in memory go with it, so that no value is for an ingredient
        // the file lacks.
        FileBatch batch;
        for (const FileContent& file : unsavedTable ? TableFiles(extras) : FilesWith(extras)) {
            if (file.path != TablePath()) {
                EnsureFolder(file.path.parent_path());
            }
            batch.Add(file.path, file.bytes);
        }
        batch.Commit();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kAlterFailed), MessageKind::Ok);
        return;
    }
    unsavedTable = false;
    m_extras = std::move(extras);
    ShowCurrentRecord();
}

// ---- layout ----

LayoutItem TCadIngForm::Layout() {
    std::vector<LayoutItem> grid;
    const auto values = ValueFields();
    const auto sources = SourceFields();
    for (size_t i = 0; i < 12; ++i) {
        grid.push_back(LayoutItem::Of(*values[i]));
        grid.push_back(LayoutItem::Of(*sources[i]));
        if (i == 9) {
            for (size_t k = 0; k < kExtraValueCount; ++k) {
                grid.push_back(LayoutItem::Of(*ExtraFields()[k]));
                grid.push_back(LayoutItem::Of(*ExtraSourceFields()[k]));
            }
        }
    }
    return LayoutItem::Column({
        ButtonBar(),
        LayoutItem::Row(
            {LayoutItem::Of(IngMaskEdit), LayoutItem::Of(AltNomBitBtn), LayoutItem::Stretch()}),
        LayoutItem::Grid(2, std::move(grid)),
        LayoutItem::Row({LayoutItem::Of(CusUniMaskEdit), LayoutItem::Of(DatCotMaskEdit),
                         LayoutItem::Of(CusFonMaskEdit)}),
        LayoutItem::Row({LayoutItem::Of(NomGruComboBox), LayoutItem::Of(LimNomGruBitBtn),
                         LayoutItem::Stretch(), LayoutItem::Of(AcuBitBtn)}),
        LayoutItem::Stretch(),
    });
}

}  // namespace velmaro
