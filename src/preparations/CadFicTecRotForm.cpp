#include "preparations/CadFicTecRotForm.h"

#include <algorithm>
#include <utility>

#include "preparations/CadRecForm.h"
#include "preparations/IngredientLine.h"
#include "preparations/PreparationFiles.h"
#include "shell/NameRules.h"
#include "shell/ScreenMessages.h"
#include "shell/ShortDate.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace F = PreparationRecordField;

namespace {

const std::string kWholeWeightMask = "999999;1;_";
const std::string kValueMask = std::string(kAmountMask) + ";1;_";
const std::string kPreparationDateMask = "99/99/9999;1;_";
constexpr std::string_view kBlankDate = "  /  /    ";

std::string NameMask() {
    return Replicate("c", TCadFicTecRotForm::kNameWidth) + ";1;_";
}

// The free-text fields of the label portion: no mask, a limit on what is typed.
constexpr int kUnitLength = 2;
constexpr int kMeasureLength = 40;
constexpr int kNormLength = 50;
constexpr int kFoodGroupLength = 140;

constexpr std::array<ScaledRow, 3> kScaledRows = {ScaledRow::Portion, ScaledRow::Tablespoon,
                                                  ScaledRow::Label};

// A number with nothing but digits (at most the six of a weight).
bool IsWholeWeight(std::string_view text) {
    return !text.empty() && text.size() <= 6 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string TrimSpaces(std::string_view text) {
    std::string t = TrimTrailingSpaces(text);
    t.erase(0, std::min(t.find_first_not_of(' '), t.size()));
    return t;
}

}  // namespace

TCadFicTecRotForm::TCadFicTecRotForm(Ui& ui, std::filesystem::path folder)
    : RegisterScreen("TCadFicTecRotForm", ui, std::move(folder)),
      NomPreMaskEdit(*this, "NomPreMaskEdit", NameMask()),
      DatPreMaskEdit(*this, "DatPreMaskEdit", kPreparationDateMask),
      NomGruPreComboBox(*this, "NomGruPreComboBox"),
      IngBitBtn(*this, "IngBitBtn", "&Ingredientes"),
      RecBitBtn(*this, "RecBitBtn", "&Modo de Preparo"),
      ImpFicTecBitBtn(*this, "ImpFicTecBitBtn", W("Relatórios")),
      ImpRotBitBtn(*this, "ImpRotBitBtn", W("Rótulo")),
      RenPesMaskEdit(*this, "RenPesMaskEdit", kWholeWeightMask),
      NumPorMaskEdit(*this, "NumPorMaskEdit", kWholeWeightMask),
      RenColSopMaskEdit(*this, "RenColSopMaskEdit", kWholeWeightMask),
      SelValRefBitBtn(*this, "SelValRefBitBtn", W("Seleciona Valor de Referência")),
      RenRotMaskEdit(*this, "RenRotMaskEdit", kWholeWeightMask),
      UniPorMaskEdit(*this, "UniPorMaskEdit"),
      AMCMaskEdit(*this, "AMCMaskEdit"),
      MedCasComboBox(*this, "MedCasComboBox"),
      PesMedMaskEdit(*this, "PesMedMaskEdit", std::string(kWeightMask) + ";1;_"),
      NorValRefMaskEdit(*this, "NorValRefMaskEdit"),
      GruAliMaskEdit(*this, "GruAliMaskEdit"),
      AltNomBitBtn(*this, "AltNomBitBtn", "Altera"),
      LimNomGruPreBitBtn(*this, "LimNomGruPreBitBtn", "Limpa"),
      RenPorMaskEdit(*this, "RenPorMaskEdit", kWholeWeightMask),
      KALPesMaskEdit(*this, "KALPesMaskEdit", kValueMask),
      CHOPesMaskEdit(*this, "CHOPesMaskEdit", kValueMask),
      PTNPesMaskEdit(*this, "PTNPesMaskEdit", kValueMask),
      LIPPesMaskEdit(*this, "LIPPesMaskEdit", kValueMask),
      SATPesMaskEdit(*this, "SATPesMaskEdit", kValueMask),
      COLPesMaskEdit(*this, "COLPesMaskEdit", kValueMask),
      FIBPesMaskEdit(*this, "FIBPesMaskEdit", kValueMask),
      CALPesMaskEdit(*this, "CALPesMaskEdit", kValueMask),
      FERPesMaskEdit(*this, "FERPesMaskEdit", kValueMask),
      SODPesMaskEdit(*this, "SODPesMaskEdit", kValueMask),
      CusPesMaskEdit(*this, "CusPesMaskEdit", kValueMask),
      KALPorMaskEdit(*this, "KALPorMaskEdit", kValueMask),
      CHOPorMaskEdit(*this, "CHOPorMaskEdit", kValueMask),
      PTNPorMaskEdit(*this, "PTNPorMaskEdit", kValueMask),
      LIPPorMaskEdit(*this, "LIPPorMaskEdit", kValueMask),
      SATPorMaskEdit(*this, "SATPorMaskEdit", kValueMask),
      COLPorMaskEdit(*this, "COLPorMaskEdit", kValueMask),
      FIBPorMaskEdit(*this, "FIBPorMaskEdit", kValueMask),
      CALPorMaskEdit(*this, "CALPorMaskEdit", kValueMask),
      FERPorMaskEdit(*this, "FERPorMaskEdit", kValueMask),
      SODPorMaskEdit(*this, "SODPorMaskEdit", kValueMask),
      CUSPorMaskEdit(*this, "CUSPorMaskEdit", kValueMask),
      KALColSopMaskEdit(*this, "KALColSopMaskEdit", kValueMask),
      CHOColSopMaskEdit(*this, "CHOColSopMaskEdit", kValueMask),
      PTNColSopMaskEdit(*this, "PTNColSopMaskEdit", kValueMask),
      LIPColSopMaskEdit(*this, "LIPColSopMaskEdit", kValueMask),
      SATColSopMaskEdit(*this, "SATColSopMaskEdit", kValueMask),
      COLColSopMaskEdit(*this, "COLColSopMaskEdit", kValueMask),
      FIBColSopMaskEdit(*this, "FIBColSopMaskEdit", kValueMask),
      CALColSopMaskEdit(*this, "CALColSopMaskEdit", kValueMask),
      FERColSopMaskEdit(*this, "FERColSopMaskEdit", kValueMask),
      SODColSopMaskEdit(*this, "SODColSopMaskEdit", kValueMask),
      CUSColSopMaskEdit(*this, "CUSColSopMaskEdit", kValueMask),
      KALRotMaskEdit(*this, "KALRotMaskEdit", kValueMask),
      CHORotMaskEdit(*this, "CHORotMaskEdit", kValueMask),
      PTNRotMaskEdit(*this, "PTNRotMaskEdit", kValueMask),
      LIPRotMaskEdit(*this, "LIPRotMaskEdit", kValueMask),
      SATRotMaskEdit(*this, "SATRotMaskEdit", kValueMask),
      COLRotMaskEdit(*this, "COLRotMaskEdit", kValueMask),
      FIBRotMaskEdit(*this, "FIBRotMaskEdit", kValueMask),
      CALRotMaskEdit(*this, "CALRotMaskEdit", kValueMask),
      FERRotMaskEdit(*this, "FERRotMaskEdit", kValueMask),
      SODRotMaskEdit(*this, "SODRotMaskEdit", kValueMask),
      CusRotMaskEdit(*this, "CusRotMaskEdit", kValueMask),
      ColKALLabel(*this, "ColKALLabel", "Calorias\n(kcal)"),
      ColCHOLabel(*this, "ColCHOLabel", W("Glicídios\n(g)")),
      ColPTNLabel(*this, "ColPTNLabel", W("Proteínas\n(g)")),
      ColLIPLabel(*this, "ColLIPLabel", W("Lipídios\n(g)")),
      ColSATLabel(*this, "ColSATLabel", "Saturada\n(g)"),
      ColCOLLabel(*this, "ColCOLLabel", "Colesterol\n(mg)"),
      ColFIBLabel(*this, "ColFIBLabel", "Fibra\n(g)"),
      ColCALLabel(*this, "ColCALLabel", W("Cálcio\n(mg)")),
      ColFERLabel(*this, "ColFERLabel", "Ferro\n(mg)"),
      ColSODLabel(*this, "ColSODLabel", W("Sódio\n(mg)")),
      PesLabel(*this, "PesLabel", "RECEITA"),
      PorLabel(*this, "PorLabel", W("PORÇÃO PER CAPITA")),
      ColSopLabel(*this, "ColSopLabel", "COLHER DE SOPA"),
      RotLabel(*this, "RotLabel", W("VALOR DE REFERÊNCIA\nPARA RÓTULO NUTRICIONAL")) {
    caption = W("Ficha Técnica");
    for (Label* l : {&ColKALLabel, &ColCHOLabel, &ColPTNLabel, &ColLIPLabel, &ColSATLabel,
                     &ColCOLLabel, &ColFIBLabel, &ColCALLabel, &ColFERLabel, &ColSODLabel}) {
        l->centred = true;
    }
    NomPreMaskEdit.label = W("Nome da preparação");
    AltNomBitBtn.hint = W("Altera nome da preparação");
    DatPreMaskEdit.label = "Data";
    NomGruPreComboBox.label = W("Grupo da Preparação");
    LimNomGruPreBitBtn.icon = ButtonIcon::Clear;
    LimNomGruPreBitBtn.hint = W("Limpa o campo \"Grupo da Ficha Técnica\"");
    for (MaskEdit* w : {&RenPesMaskEdit, &RenPorMaskEdit, &RenColSopMaskEdit}) {
        w->label = "Rendimento (g,ml) :";
    }
    for (MaskEdit* cost : {&CusPesMaskEdit, &CUSPorMaskEdit, &CUSColSopMaskEdit, &CusRotMaskEdit}) {
        cost->label = "Custo : ";
    }
    NumPorMaskEdit.label = W("Número de porções");
    RenRotMaskEdit.label = "VR :";
    UniPorMaskEdit.label = "Unid :";
    AMCMaskEdit.label = "MC :";
    NorValRefMaskEdit.label = "Norma para VR :";
    MedCasComboBox.label = "Medida caseira :";
    MedCasComboBox.editable = true;
    MedCasComboBox.items = HouseholdMeasureWords();
    MedCasComboBox.width = 150;
    MedCasComboBox.hint =
        W("Utensílio (IN 75, Anexo VII) ou unidade, fatia, pedaço...: escreve "
          "a medida caseira (MC) da porção do rótulo");
    PesMedMaskEdit.label = "Peso de 1 medida (g, ml) :";
    PesMedMaskEdit.hint = W("Peso (ou volume) de uma medida: a MC é a porção dividida por ele");
    GruAliMaskEdit.label =
        W("Grupo de alimentos a que pertence a preparação visualizada para fins de definição "
          "do valor de referência");

    // The record's fields and their controls.
    m_fields[F::kName] = &NomPreMaskEdit;
    m_fields[F::kYield] = &RenPesMaskEdit;
    m_fields[F::kPortions] = &NumPorMaskEdit;
    m_fields[F::kPortionWeight] = &RenPorMaskEdit;
    m_fields[F::kTablespoonWeight] = &RenColSopMaskEdit;
    m_fields[F::kDate] = &DatPreMaskEdit;
    m_fields[F::kLabelPortionWeight] = &RenRotMaskEdit;
    m_fields[F::kFoodGroup] = &GruAliMaskEdit;
    m_fields[F::kReferenceNorm] = &NorValRefMaskEdit;
    m_fields[F::kLabelPortionUnit] = &UniPorMaskEdit;
    m_fields[F::kLabelPortionMeasure] = &AMCMaskEdit;
    const std::array<MaskEdit*, 11> recipe = {&KALPesMaskEdit, &CHOPesMaskEdit, &PTNPesMaskEdit,
                                              &LIPPesMaskEdit, &SATPesMaskEdit, &COLPesMaskEdit,
                                              &FIBPesMaskEdit, &CALPesMaskEdit, &FERPesMaskEdit,
                                              &SODPesMaskEdit, &CusPesMaskEdit};
    for (int k = 0; k < 11; ++k) {
        m_fields[static_cast<size_t>(F::kEnergyTotal + k)] = recipe[static_cast<size_t>(k)];
        // Computed values: shown for reading, never typed into.
        recipe[static_cast<size_t>(k)]->readOnly = true;
        for (ScaledRow row : kScaledRows) {
            MaskEdit* value = RowValues(row)[static_cast<size_t>(k)];
            m_fields[static_cast<size_t>(RowFields(row).first + k)] = value;
            value->readOnly = true;
        }
    }
    for (MaskEdit* f : m_fields) {
        if (f != nullptr) {
            f->enabled = false;  // the data fields are enabled by the mode
        }
    }

    // The editing controls, the date first: it takes the focus in Inserting and Showing.
    SetKeyField(NomPreMaskEdit);
    SetRenameButton(AltNomBitBtn);
    AddTextField(DatPreMaskEdit);
    AddDataField(NomGruPreComboBox);
    AddDataField(LimNomGruPreBitBtn);
    for (Button* b : {&IngBitBtn, &RecBitBtn, &ImpFicTecBitBtn, &ImpRotBitBtn}) {
        AddDataField(*b);
    }
    AddNumericField(RenPesMaskEdit);
    AddNumericField(NumPorMaskEdit);
    AddNumericField(RenColSopMaskEdit);
    AddDataField(SelValRefBitBtn);
    AddNumericField(RenRotMaskEdit);
    AddTextField(UniPorMaskEdit);
    AddTextField(AMCMaskEdit);
    AddDataField(MedCasComboBox);
    AddNumericField(PesMedMaskEdit);
    AddTextField(NorValRefMaskEdit);
    AddTextField(GruAliMaskEdit);
    ClearFields();

    // Leaving a weight: the numeric field rule, then the scaled rows.
    auto after = [](MaskEdit& field, auto handler) {
        auto rule = field.onExit;
        field.onExit = [rule, handler](Control* next) {
            rule(next);
            handler(next);
        };
    };
    after(RenPesMaskEdit, [this](Control* n) { RenPesMaskEditExit(n); });
    after(NumPorMaskEdit, [this](Control* n) { NumPorMaskEditExit(n); });
    after(RenColSopMaskEdit, [this](Control* n) { RenColSopMaskEditExit(n); });
    after(RenRotMaskEdit, [this](Control* n) { RenRotMaskEditExit(n); });
    after(PesMedMaskEdit, [this](Control* n) { PesMedMaskEditExit(n); });
    MedCasComboBox.onChange = [this] {
        dirty = true;
        MedCasComboBoxChange();
    };
    DatPreMaskEdit.onExit = [this](Control* n) { DatPreMaskEditExit(n); };
    IngBitBtn.onClick = [this] { IngBitBtnClick(); };
    RecBitBtn.onClick = [this] { RecBitBtnClick(); };
    ImpFicTecBitBtn.onClick = [this] { ImpFicTecBitBtnClick(); };
    ImpRotBitBtn.onClick = [this] { ImpRotBitBtnClick(); };
    SelValRefBitBtn.onClick = [this] { SelValRefBitBtnClick(); };
    LimNomGruPreBitBtn.onClick = [this] { LimNomGruPreBitBtnClick(); };
}

void TCadFicTecRotForm::UseMethodTextScreen(TCadRecForm& screen) {
    targets.methodText.form = &screen;
    targets.methodText.prepare = [&screen](const std::string& tableKey,
                                           const std::string& preparation) {
        screen.tableName = tableKey;
        screen.preparationName = preparation;
        screen.NomPreLabel.caption = preparation;
        screen.startPending = true;
    };
}

// ---- the screen's pieces ----

std::string TCadFicTecRotForm::Title() const {
    return W("CADASTRO DE PREPARAÇÕES - TABELA ATIVA : ") + tableName;
}

std::string TCadFicTecRotForm::ListTitle() const {
    return W("VISUALIZA LISTA DE FICHA TÉCNICA - TABELA ATIVA : ") + tableName;
}

std::filesystem::path TCadFicTecRotForm::TablePath() const {
    return PreparationListPath(programFolder, tableName);
}

void TCadFicTecRotForm::LoadTable() {
    RegisterScreen::LoadTable();
    groups.Clear();
    LoadLineTable(PreparationGroupsPath(programFolder, tableName), groups);
    NomGruPreComboBox.items = groups.keys.Items();
    NomGruPreComboBox.itemIndex = -1;
    NomGruPreComboBox.text.clear();
}

void TCadFicTecRotForm::BeforeClose() {
    groups.Clear();
    NomGruPreComboBox.items.clear();
    NomGruPreComboBox.itemIndex = -1;
    NomGruPreComboBox.text.clear();
}

void TCadFicTecRotForm::ShowRecord(int index) {
    const std::string& line = table.lines[index];
    ProgressSink& progress = m_ui.Progress();
    progress.Begin(52);
    for (int n = 1; n <= F::kCount; ++n) {
        const std::string value = GetField(n, line);
        if (n == F::kGroup) {
            const auto& items = NomGruPreComboBox.items;
            const auto it = std::find(items.begin(), items.end(), value);
            NomGruPreComboBox.itemIndex =
                it == items.end() ? -1 : static_cast<int>(it - items.begin());
            NomGruPreComboBox.text = it == items.end() ? std::string() : value;
        } else {
            MaskEdit& field = *m_fields[static_cast<size_t>(n)];
            if (field.Mask().empty()) {
                field.text = value;
                field.caret = 0;
            } else {
                PutText(field, value);
            }
        }
        progress.SetPosition(std::min(n, 52));
    }
    progress.End();
    // The label portion's companions, from the preparation's label data file.
    m_storedPortion = LabelPortionData();
    try {
        const std::filesystem::path file =
            LabelFileLocation(programFolder, tableName, GetField(F::kName, line));
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            m_storedPortion = LoadLabelPortion(IniFile(file));
        }
    } catch (const StorageError&) {
        m_storedPortion = LabelPortionData();
    }
    m_labelPortion = m_storedPortion;
    MedCasComboBox.text = m_storedPortion.measure;
    const auto& words = MedCasComboBox.items;
    const auto it = std::find(words.begin(), words.end(), m_storedPortion.measure);
    MedCasComboBox.itemIndex = it == words.end() ? -1 : static_cast<int>(it - words.begin());
    PesMedMaskEdit.Clear();
    if (!m_storedPortion.weight.empty()) {
        PutText(PesMedMaskEdit,
                PadLeft(m_storedPortion.weight, static_cast<int>(PesMedMaskEdit.text.size())));
    }
}

std::string TCadFicTecRotForm::ComposeRecord() const {
    std::string line;
    for (int n = 1; n <= F::kCount; ++n) {
        line += n == F::kGroup ? NomGruPreComboBox.SelectedText()
                               : m_fields[static_cast<size_t>(n)]->text;
        line += '|';
    }
    return line;
}

void TCadFicTecRotForm::ClearFreeText(MaskEdit& field) {
    field.Clear();
    field.maxLength = &field == &UniPorMaskEdit      ? kUnitLength
                      : &field == &AMCMaskEdit       ? kMeasureLength
                      : &field == &NorValRefMaskEdit ? kNormLength
                                                     : kFoodGroupLength;
}

void TCadFicTecRotForm::ClearFields() {
    for (MaskEdit* f : m_fields) {
        if (f == nullptr) {
            continue;
        }
        if (f->Mask().empty()) {
            ClearFreeText(*f);
        } else {
            f->Clear();
        }
    }
    NomGruPreComboBox.itemIndex = -1;
    NomGruPreComboBox.text.clear();
    MedCasComboBox.itemIndex = -1;
    MedCasComboBox.text.clear();
    m_storedPortion = LabelPortionData();
    m_labelPortion = LabelPortionData();
}

void TCadFicTecRotForm::ApplyMode() {
    RegisterScreen::ApplyMode();
    // A name not yet in the list is a new record to be stored.
    if (mode == ScreenMode::Inserting) {
        dirty = true;
    }
}

void TCadFicTecRotForm::InsertionDeclined() {
    SetFocus(&RenPesMaskEdit);
}

void TCadFicTecRotForm::AlterationDeclined() {
    SetFocus(&RenPesMaskEdit);
}

// The screen stays on the record it stored. An insertion that failed leaves no record
// to show: the screen goes on inserting, so that a later Grava cannot replace another
// preparation's record with this one.
ScreenMode TCadFicTecRotForm::ModeAfterStore() const {
    if (mode == ScreenMode::Inserting && !FindKey(table.keys, NomPreMaskEdit.text).found) {
        return ScreenMode::Inserting;
    }
    return ScreenMode::Showing;
}

void TCadFicTecRotForm::AfterDelete(const std::string& key) {
    DeletePreparationFiles(programFolder, tableName, key);
}

std::string TCadFicTecRotForm::RenameCaption() const {
    return W("Altera nome da preparação");
}

std::string TCadFicTecRotForm::RenameExistsMessage() const {
    return W("Nome da preparação já existe!");
}

// The preparation's files move with its record, all of them or none: the files first,
// then the list; a list that cannot be written takes the files back.
void TCadFicTecRotForm::SaveRenamed(const std::string& oldName, const std::string& newName) {
    RenamePreparationFiles(programFolder, tableName, oldName, newName);
    try {
        SaveTable();
    } catch (const StorageError&) {
        try {
            RenamePreparationFiles(programFolder, tableName, newName, oldName);
        } catch (const StorageError&) {
        }
        throw;
    }
}

bool TCadFicTecRotForm::RefuseKeyName(std::string_view name) {
    return RefusePreparationName(m_ui, name);
}

void TCadFicTecRotForm::AfterRename(const std::string& /*oldName*/,
                                    const std::string& /*newName*/) {
    dirty = false;  // the record on screen was stored under its new name
    StoreLabelPortion();
}

void TCadFicTecRotForm::AfterStore(bool /*inserted*/) {
    StoreLabelPortion();
}

LabelPortionData TCadFicTecRotForm::LabelPortion() const {
    LabelPortionData data = m_labelPortion;
    data.measure = TrimSpaces(MedCasComboBox.text);
    data.weight =
        IsBlankValue(PesMedMaskEdit.text) ? std::string() : TrimSpaces(PesMedMaskEdit.text);
    return data;
}

// Written only when it changed, so that a preparation never labelled keeps its label data
// file as it was (or without one).
void TCadFicTecRotForm::StoreLabelPortion() {
    const LabelPortionData data = LabelPortion();
    if (data == m_storedPortion) {
        return;
    }
    try {
        IniFile ini(LabelFilePath(programFolder, tableName, NomPreMaskEdit.text));
        if (!ini.Check().Clean()) {
            m_ui.ShowMessageBox(DamagedFileNotice(ini.Check()), MessageKind::Ok);
            return;
        }
        ini.Hold();
        SaveLabelPortion(ini, data);
        ini.Commit();
        m_storedPortion = data;
    } catch (const StorageError&) {
        Tell("Erro durante a gravação dos dados do rótulo!");
    }
}

std::string TCadFicTecRotForm::CurrentRecord() const {
    if (currentIndex < 0 || currentIndex >= table.lines.Count()) {
        return {};
    }
    return table.lines[currentIndex];
}

std::string TCadFicTecRotForm::ListHeader() {
    std::string header =
        CenterText(W("FICHA TÉCNICA"), kNameWidth) + "|" + CenterText("RENDIMENTO", 6) + "|";
    for (const char* code : {"KCAL", "CHO", "PTN", "LIP", "SAT", "COL", "FIB"}) {
        header += CenterText(code, 9) + "|";
    }
    return header;
}

ListViewerInput TCadFicTecRotForm::ListView() const {
    ListViewerInput view;
    view.kind = W("FICHA TÉCNICA");
    view.tableName = tableName;
    view.groupField = F::kGroup;
    view.currentIndex = currentIndex;
    for (const char* name : {"FICHA TÉCNICA", "RENDIMENTO", "CALORIAS", "CARBOIDRATOS", "PROTEINAS",
                             "LIPÍDIOS", "GORDURA SATURADA", "COLESTEROL", "FIBRAS - PORÇÃO"}) {
        view.columnNames.push_back(W(name));
    }
    view.groups = &groups.keys;
    view.keys = &table.keys;
    view.rows = &table.lines;
    view.header = ListHeader();
    view.section = W("Lista Preparações");
    return view;
}

std::optional<int> TCadFicTecRotForm::ChooseRecord() {
    const int count = table.keys.Count();
    if (count == 0) {
        Tell(msg::kNoRecords);
        return std::nullopt;
    }
    if (listViewer != nullptr) {
        listViewer->Prepare(ListView());
        m_ui.ShowModal(*listViewer);
        return listViewer->chosenIndex;
    }
    return m_ui.PickFromList(ListTitle(), table.keys.Items(),
                             std::clamp(currentIndex, 0, count - 1));
}

// ---- the scaled rows ----

MaskEdit& TCadFicTecRotForm::WeightField(ScaledRow row) {
    return *m_fields[static_cast<size_t>(RowFields(row).weight)];
}

std::array<MaskEdit*, 11> TCadFicTecRotForm::RowValues(ScaledRow row) {
    switch (row) {
        case ScaledRow::Portion:
            return {&KALPorMaskEdit, &CHOPorMaskEdit, &PTNPorMaskEdit, &LIPPorMaskEdit,
                    &SATPorMaskEdit, &COLPorMaskEdit, &FIBPorMaskEdit, &CALPorMaskEdit,
                    &FERPorMaskEdit, &SODPorMaskEdit, &CUSPorMaskEdit};
        case ScaledRow::Tablespoon:
            return {&KALColSopMaskEdit, &CHOColSopMaskEdit, &PTNColSopMaskEdit, &LIPColSopMaskEdit,
                    &SATColSopMaskEdit, &COLColSopMaskEdit, &FIBColSopMaskEdit, &CALColSopMaskEdit,
                    &FERColSopMaskEdit, &SODColSopMaskEdit, &CUSColSopMaskEdit};
        case ScaledRow::Label:
            break;
    }
    return {&KALRotMaskEdit, &CHORotMaskEdit, &PTNRotMaskEdit, &LIPRotMaskEdit,
            &SATRotMaskEdit, &COLRotMaskEdit, &FIBRotMaskEdit, &CALRotMaskEdit,
            &FERRotMaskEdit, &SODRotMaskEdit, &CusRotMaskEdit};
}

void TCadFicTecRotForm::UpdatePortionWeight() {
    if (auto weight = PortionWeight(RenPesMaskEdit.text, NumPorMaskEdit.text)) {
        PutText(RenPorMaskEdit, *weight);
    }
}

// A row whose values would not fit is left blank, as one that cannot be computed: never
// with the values of another weight beside the new one. The focus goes back to `back`.
void TCadFicTecRotForm::ScaleRow(ScaledRow row, Control& back) {
    std::string line = ComposeRecord();
    if (!ScaleFromYield(line, row)) {
        m_ui.ShowMessageBox(ScaledValueTooLargeMessage(row), MessageKind::Ok);
        BlankRow(row);
        SetFocus(&back);
        return;
    }
    const int first = RowFields(row).first;
    const auto values = RowValues(row);
    for (int k = 0; k < 11; ++k) {
        PutText(*values[static_cast<size_t>(k)], GetField(first + k, line));
    }
}

void TCadFicTecRotForm::BlankRow(ScaledRow row) {
    for (MaskEdit* f : RowValues(row)) {
        f->Clear();
    }
}

// ---- leaving the fields ----

void TCadFicTecRotForm::DatPreMaskEditExit(Control* /*next*/) {
    if (DatPreMaskEdit.text != kBlankDate && !ParseShortDate(DatPreMaskEdit.text)) {
        Tell("Data inválida!");
        SetFocus(&DatPreMaskEdit);
    }
}

void TCadFicTecRotForm::RenPesMaskEditExit(Control* /*next*/) {
    if (!IsBlankValue(RenPesMaskEdit.text)) {
        UpdatePortionWeight();
        for (ScaledRow row : kScaledRows) {
            ScaleRow(row, RenPesMaskEdit);
        }
        return;
    }
    NumPorMaskEdit.Clear();
    for (ScaledRow row : kScaledRows) {
        WeightField(row).Clear();
        BlankRow(row);
    }
}

void TCadFicTecRotForm::NumPorMaskEditExit(Control* /*next*/) {
    if (IsBlankValue(NumPorMaskEdit.text)) {
        RenPorMaskEdit.Clear();
        BlankRow(ScaledRow::Portion);
        return;
    }
    if (TextToNumber(NumPorMaskEdit.text) > 0) {
        UpdatePortionWeight();
        ScaleRow(ScaledRow::Portion, NumPorMaskEdit);
        return;
    }
    Tell("Número de porções deve ser maior que zero!");
    SetFocus(&NumPorMaskEdit);
}

void TCadFicTecRotForm::RenColSopMaskEditExit(Control* /*next*/) {
    if (IsBlankValue(RenColSopMaskEdit.text)) {
        BlankRow(ScaledRow::Tablespoon);
    } else {
        ScaleRow(ScaledRow::Tablespoon, RenColSopMaskEdit);
    }
}

void TCadFicTecRotForm::RenRotMaskEditExit(Control* /*next*/) {
    if (IsBlankValue(RenRotMaskEdit.text)) {
        BlankRow(ScaledRow::Label);
    } else {
        ScaleRow(ScaledRow::Label, RenRotMaskEdit);
        UpdateMeasureText(true);
    }
}

// ---- the household measure helper ----

void TCadFicTecRotForm::PesMedMaskEditExit(Control* /*next*/) {
    UpdateMeasureText(true);
}

void TCadFicTecRotForm::MedCasComboBoxChange() {
    // A utensil for a liquid: one measure holds its capacity, until a weight is typed.
    if (IsBlankValue(PesMedMaskEdit.text) && TrimSpaces(UniPorMaskEdit.text) == "ml") {
        if (const auto capacity = UtensilCapacity(MedCasComboBox.text)) {
            PutText(PesMedMaskEdit, FormatNumber(1, 8, *capacity));
        }
    }
    UpdateMeasureText(false);
}

void TCadFicTecRotForm::UpdateMeasureText(bool tell) {
    const LabelPortionData data = LabelPortion();
    if (data.measure.empty() || data.weight.empty() || IsBlankValue(RenRotMaskEdit.text)) {
        return;
    }
    const long double portion = TextToNumber(RenRotMaskEdit.text);
    const long double weight = TextToNumber(PesMedMaskEdit.text);
    const auto text = HouseholdMeasureText(portion, weight, data.measure);
    if (!text) {
        if (tell && weight > 0) {
            m_ui.ShowMessageBox(W("A porção do rótulo é menor que 1/8 de ") + data.measure +
                                    W(": escolha uma medida menor."),
                                MessageKind::Ok);
        }
        return;
    }
    if (static_cast<int>(text->size()) > kMeasureLength) {
        if (tell) {
            m_ui.ShowMessageBox(
                W("A medida caseira \"") + *text + W("\" não cabe nos 40 caracteres do campo MC."),
                MessageKind::Ok);
        }
        return;
    }
    if (AMCMaskEdit.text != *text) {
        AMCMaskEdit.text = *text;
        dirty = true;
    }
}

// ---- the group ----

void TCadFicTecRotForm::LimNomGruPreBitBtnClick() {
    if (Ask("Limpa o campo \"Grupo da Ficha Técnica\"?") != kAnswerYes) {
        return;
    }
    if (NomGruPreComboBox.itemIndex >= 0) {
        NomGruPreComboBox.itemIndex = -1;
        NomGruPreComboBox.text.clear();
        dirty = true;
    }
}

// ---- the reference value ----

void TCadFicTecRotForm::ApplyReferenceValue(const ReferenceValueChoice& choice) {
    const std::string value = TrimSpaces(choice.value);
    const std::string unit = TrimSpaces(choice.unit);
    const std::string food = TrimTrailingSpaces(choice.food);
    GruAliMaskEdit.text =
        food.empty() ? TrimSpaces(choice.origin).substr(0, kFoodGroupLength) : food;
    NorValRefMaskEdit.text = TrimTrailingSpaces(choice.value);
    UniPorMaskEdit.text = TrimTrailingSpaces(choice.unit);
    AMCMaskEdit.text = TrimTrailingSpaces(choice.presentation);
    // The preparation keeps what it was labelled under.
    m_labelPortion.food = food;
    m_labelPortion.table = TrimSpaces(choice.table);
    m_labelPortion.value = value;
    m_labelPortion.unit = unit;
    m_labelPortion.origin = TrimSpaces(choice.origin);
    if (IsAllSpaces(MedCasComboBox.text)) {
        const std::string word = SuggestedMeasureWord(choice.measure);
        const auto& words = MedCasComboBox.items;
        const auto it = std::find(words.begin(), words.end(), word);
        if (it != words.end()) {
            MedCasComboBox.itemIndex = static_cast<int>(it - words.begin());
            MedCasComboBox.text = word;
        }
    }
    dirty = true;
    if (IsWholeWeight(value)) {
        PutText(RenRotMaskEdit, value);
        NorValRefMaskEdit.text = value + unit;
        UpdateMeasureText(false);
    } else {
        // A portion the list gives as a text: the amount is the user's to say.
        m_ui.ShowMessageBox(
            W("A porção de referência de \"") + food + "\" " + W("é \"") + value +
                W("\": informe em VR a quantidade do produto que corresponde a ela e, em Unid, "
                  "g ou ml."),
            MessageKind::Ok);
    }
    SetFocus(&RenRotMaskEdit);
}

void TCadFicTecRotForm::SelValRefBitBtnClick() {
    ReferenceValueTarget& target = targets.referenceValue;
    if (!Available(target.form)) {
        return;
    }
    if (target.prepare) {
        // The energy of a gram (ml) of the preparation: the recipe's energy over its yield.
        std::optional<long double> kcalPerGram;
        if (!IsBlankValue(KALPesMaskEdit.text) && !IsBlankValue(RenPesMaskEdit.text) &&
            TextToNumber(RenPesMaskEdit.text) > 0) {
            kcalPerGram = TextToNumber(KALPesMaskEdit.text) / TextToNumber(RenPesMaskEdit.text);
        }
        target.prepare(kcalPerGram);
    }
    const int result = m_ui.ShowModal(*target.form);
    const std::optional<ReferenceValueChoice> choice =
        target.chosen ? target.chosen(result) : std::nullopt;
    if (choice) {
        ApplyReferenceValue(*choice);
    }
}

// ---- the screens reached from here ----

bool TCadFicTecRotForm::Available(const Form* form) {
    if (form != nullptr) {
        return true;
    }
    Tell("Esta tela ainda não está disponível.");
    return false;
}

bool TCadFicTecRotForm::StorePending() {
    const bool insert = mode == ScreenMode::Inserting;
    if (!insert && !dirty) {
        return true;
    }
    if (insert && RefusePreparationName(m_ui, NomPreMaskEdit.text)) {
        return false;
    }
    if (!WriteRecord(insert)) {
        return false;
    }
    dirty = false;
    if (insert) {
        mode = ScreenMode::Showing;
    }
    return true;
}

void TCadFicTecRotForm::IngBitBtnClick() {
    ScreenTarget& target = targets.ingredients;
    if (!Available(target.form) || !StorePending()) {
        return;
    }
    if (target.prepare) {
        target.prepare(tableName, NomPreMaskEdit.text);
    }
    m_ui.ShowModal(*target.form);
    // The ingredients screen wrote the new totals into the record in the list: the rows
    // follow them, and the record is stored even when nothing changed.
    if (currentIndex >= 0 && currentIndex < table.lines.Count()) {
        ShowCurrentRecord();
        for (ScaledRow row : kScaledRows) {
            ScaleRow(row, RenPesMaskEdit);
        }
        if (WriteRecord(false)) {
            dirty = false;
        }
    }
    mode = ScreenMode::Showing;
    ApplyMode();
    SetFocus(&RenPesMaskEdit);
}

void TCadFicTecRotForm::RecBitBtnClick() {
    ScreenTarget& target = targets.methodText;
    if (!Available(target.form) || !StorePending()) {
        return;
    }
    if (target.prepare) {
        target.prepare(tableName, NomPreMaskEdit.text);
    }
    m_ui.ShowModal(*target.form);
    mode = ScreenMode::Showing;
    ApplyMode();
}

void TCadFicTecRotForm::ImpFicTecBitBtnClick() {
    ScreenTarget& target = targets.reports;
    if (!Available(target.form) || !StorePending()) {
        return;
    }
    mode = ScreenMode::Showing;
    ApplyMode();
    if (target.prepare) {
        target.prepare(tableName, NomPreMaskEdit.text);
    }
    m_ui.ShowModal(*target.form);
}

void TCadFicTecRotForm::ImpRotBitBtnClick() {
    ScreenTarget& target = targets.label;
    if (!Available(target.form) || !StorePending()) {
        return;
    }
    if (target.prepare) {
        target.prepare(tableName, NomPreMaskEdit.text);
    }
    m_ui.ShowModal(*target.form);
    mode = ScreenMode::Showing;
    ApplyMode();
}

// ---- layout ----

LayoutItem TCadFicTecRotForm::Layout() {
    using L = LayoutItem;
    std::vector<L> grid{L::Stretch()};
    for (Label* l : {&ColKALLabel, &ColCHOLabel, &ColPTNLabel, &ColLIPLabel, &ColSATLabel,
                     &ColCOLLabel, &ColFIBLabel, &ColCALLabel, &ColFERLabel, &ColSODLabel}) {
        grid.push_back(L::Of(*l));
    }
    grid.push_back(L::Stretch());
    grid.push_back(L::Stretch());
    const std::array<std::pair<Label*, ScaledRow>, 3> scaled = {
        {{&PorLabel, ScaledRow::Portion},
         {&ColSopLabel, ScaledRow::Tablespoon},
         {&RotLabel, ScaledRow::Label}}};
    grid.push_back(L::Of(PesLabel));
    for (int k = 0; k < 11; ++k) {
        grid.push_back(L::Of(*m_fields[static_cast<size_t>(F::kEnergyTotal + k)]));
    }
    grid.push_back(L::Of(RenPesMaskEdit));
    for (const auto& [label, row] : scaled) {
        grid.push_back(L::Of(*label));
        for (MaskEdit* f : RowValues(row)) {
            grid.push_back(L::Of(*f));
        }
        grid.push_back(L::Of(WeightField(row)));
    }
    return L::Column({
        ButtonBar(),
        L::Row({L::Of(NomPreMaskEdit), L::Of(AltNomBitBtn), L::Of(DatPreMaskEdit),
                L::Of(NomGruPreComboBox), L::Of(LimNomGruPreBitBtn), L::Stretch()}),
        L::Row({L::Of(IngBitBtn), L::Of(RecBitBtn), L::Of(ImpFicTecBitBtn), L::Of(ImpRotBitBtn),
                L::Stretch()}),
        L::Grid(13, std::move(grid)),
        L::Row({L::Of(NumPorMaskEdit), L::Of(UniPorMaskEdit), L::Of(AMCMaskEdit),
                L::Of(SelValRefBitBtn), L::Of(NorValRefMaskEdit), L::Stretch()}),
        L::Row({L::Of(MedCasComboBox), L::Of(PesMedMaskEdit), L::Stretch()}),
        L::Row({L::Of(GruAliMaskEdit)}),
        L::Stretch(),
    });
}

}  // namespace velmaro
