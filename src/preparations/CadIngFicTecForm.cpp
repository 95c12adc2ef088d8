#include "preparations/CadIngFicTecForm.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/Interaction.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/IngredientRecord.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

namespace L = IngredientLineField;
namespace P = PreparationRecordField;

constexpr const char* kListFont = "Courier New";
constexpr int kNameWidth = 40;

std::string Mask(std::string_view pattern) {
    return std::string(pattern) + ";1;_";
}

// The composition warnings, in nutrient order (UTF-8).
constexpr std::array<const char*, 10> kMissingValue = {
    "Atenção para ausência do valor das Calorias!",
    "Atenção para ausência do valor dos Carboidratos!",
    "Atenção para ausência do valor das Proteinas!",
    "Atenção para ausência do valor dos Lipídios!",
    "Atenção para ausência do valor da Gordura Saturada!",
    "Atenção para ausência do valor do Colesterol!",
    "Atenção para ausência do valor dos Fibras!",
    "Atenção para ausência do valor do Cálcio!",
    "Atenção para ausência do valor do Ferro!",
    "Atenção para ausência do valor do Sódio!"};

// The captions of the nutrient columns, in nutrient order (UTF-8).
constexpr std::array<const char*, 10> kNutrientCaptions = {
    "Calorias\n(kcal)", "Carboidrato\n(g)", "Proteínas\n(g)", "Gord.Total\n(g)", "Saturada\n(g)",
    "Colesterol\n(mg)", "Fibra\n(g)",       "Cálcio\n(mg)",   "Ferro\n(mg)",     "Sódio\n(mg)"};

}  // namespace

// ---- the list texts ----

std::string IngredientListHeader() {
    std::string header = CenterText("Ingrediente", 3) + "|" + CenterText(" PL(g)", 8) + "|";
    for (const char* title : {"Kcal", "CHO(g)", "PTN(g)", "LIP(g)", "SAT(g)", " COL(mg)", "FIB(g)",
                              " CAL(mg)", " FER(mg)", " Na(mg)"}) {
        header += CenterText(title, 9) + "|";
    }
    return header;
}

std::string IngredientListRow(std::string_view line) {
    std::string row =
        GetField(L::kIngredient, line).substr(0, 3) + "|" + GetField(L::kNetWeight, line) + "|";
    for (int field = L::kEnergy; field <= L::kSodium; ++field) {
        row += GetField(field, line) + "|";
    }
    return row;
}

std::string IngredientListFooter(long double netWeightSum, std::string_view preparationRecord) {
    std::string footer =
        CenterText(W("Somatório"), 3) + "|" + FormatNumber(1, 8, netWeightSum) + "|";
    for (int field = P::kEnergyTotal; field <= P::kSodiumTotal; ++field) {
        footer += GetField(field, preparationRecord) + "|";
    }
    return footer;
}

// ---- the screen ----

const std::array<TCadIngFicTecForm::Field, 10> TCadIngFicTecForm::kPerHundredFields = {
    &TCadIngFicTecForm::KALMaskEdit, &TCadIngFicTecForm::CHOMaskEdit,
    &TCadIngFicTecForm::PTNMaskEdit, &TCadIngFicTecForm::LIPMaskEdit,
    &TCadIngFicTecForm::SATMaskEdit, &TCadIngFicTecForm::COLMaskEdit,
    &TCadIngFicTecForm::FIBMaskEdit, &TCadIngFicTecForm::CALMaskEdit,
    &TCadIngFicTecForm::FERMaskEdit, &TCadIngFicTecForm::SODMaskEdit};

const std::array<TCadIngFicTecForm::Field, 10> TCadIngFicTecForm::kAmountFields = {
    &TCadIngFicTecForm::PesPorKalMaskEdit, &TCadIngFicTecForm::PesPorCHOMaskEdit,
    &TCadIngFicTecForm::PesPorPTNMaskEdit, &TCadIngFicTecForm::PesPorLipMaskEdit,
    &TCadIngFicTecForm::PesPorSATMaskEdit, &TCadIngFicTecForm::PesPorCOLMaskEdit,
    &TCadIngFicTecForm::PesPorFIBMaskEdit, &TCadIngFicTecForm::PesPorCALMaskEdit,
    &TCadIngFicTecForm::PesPorFERMaskEdit, &TCadIngFicTecForm::PesPorSODMaskEdit};

TCadIngFicTecForm::TCadIngFicTecForm(Ui& ui, std::filesystem::path folder)
    : RegisterScreen("TCadIngFicTecForm", ui, std::move(folder)),
      CopBitBtn(*this, "CopBitBtn", "&Copia"),
      NomPreMaskEdit(*this, "NomPreMaskEdit", Replicate("c", kNameWidth) + ";1;_"),
      NomIngComboBox(*this, "NomIngComboBox"),
      NomMedCasComboBox(*this, "NomMedCasComboBox"),
      QuaMedCasMaskEdit(*this, "QuaMedCasMaskEdit", Mask(kMeasureCountMask)),
      PesLiqMaskEdit(*this, "PesLiqMaskEdit", Mask(kWeightMask)),
      PesBruMaskEdit(*this, "PesBruMaskEdit", Mask(kWeightMask)),
      PesCozMaskEdit(*this, "PesCozMaskEdit", Mask(kWeightMask)),
      PesCruMaskEdit(*this, "PesCruMaskEdit", Mask(kWeightMask)),
      IngFicTecListBox(*this, "IngFicTecListBox"),
      TabBitBtn(*this, "TabBitBtn", "Consulta"),
      LimNomMedCasBitBtn(*this, "LimNomMedCasBitBtn", "Limpa"),
      UmaMedCasMaskEdit(*this, "UmaMedCasMaskEdit", Mask(kWeightMask)),
      FCMaskEdit(*this, "FCMaskEdit", Mask(kFactorMask)),
      FCCMaskEdit(*this, "FCCMaskEdit", Mask(kFactorMask)),
      CusUniMaskEdit(*this, "CusUniMaskEdit", Mask(kMoneyMask)),
      CusCalMaskEdit(*this, "CusCalMaskEdit", Mask(kMoneyMask)),
      DatCotMaskEdit(*this, "DatCotMaskEdit", Mask(kDateMask)),
      KALMaskEdit(*this, "KALMaskEdit", std::string(ing::kValueMask)),
      CHOMaskEdit(*this, "CHOMaskEdit", std::string(ing::kValueMask)),
      PTNMaskEdit(*this, "PTNMaskEdit", std::string(ing::kValueMask)),
      LIPMaskEdit(*this, "LIPMaskEdit", std::string(ing::kValueMask)),
      SATMaskEdit(*this, "SATMaskEdit", std::string(ing::kValueMask)),
      COLMaskEdit(*this, "COLMaskEdit", std::string(ing::kValueMask)),
      FIBMaskEdit(*this, "FIBMaskEdit", std::string(ing::kValueMask)),
      CALMaskEdit(*this, "CALMaskEdit", std::string(ing::kValueMask)),
      FERMaskEdit(*this, "FERMaskEdit", std::string(ing::kValueMask)),
      SODMaskEdit(*this, "SODMaskEdit", std::string(ing::kSodiumMask)),
      PesPorKalMaskEdit(*this, "PesPorKalMaskEdit", Mask(kAmountMask)),
      PesPorCHOMaskEdit(*this, "PesPorCHOMaskEdit", Mask(kAmountMask)),
      PesPorPTNMaskEdit(*this, "PesPorPTNMaskEdit", Mask(kAmountMask)),
      PesPorLipMaskEdit(*this, "PesPorLipMaskEdit", Mask(kAmountMask)),
      PesPorSATMaskEdit(*this, "PesPorSATMaskEdit", Mask(kAmountMask)),
      PesPorCOLMaskEdit(*this, "PesPorCOLMaskEdit", Mask(kAmountMask)),
      PesPorFIBMaskEdit(*this, "PesPorFIBMaskEdit", Mask(kAmountMask)),
      PesPorCALMaskEdit(*this, "PesPorCALMaskEdit", Mask(kAmountMask)),
      PesPorFERMaskEdit(*this, "PesPorFERMaskEdit", Mask(kAmountMask)),
      PesPorSODMaskEdit(*this, "PesPorSODMaskEdit", Mask(kAmountMask)),
      CabLabel(*this, "CabLabel"),
      RodLabel(*this, "RodLabel") {
    caption = W("Ingredientes da Preparação");
    width = 1010;
    height = 720;
    CopBitBtn.width = kButtonWidth;
    CopBitBtn.height = kButtonHeight;

    NomPreMaskEdit.label = W("Nome da Preparação");
    NomIngComboBox.label = "Seleciona Ingrediente";
    NomIngComboBox.width = 430;
    TabBitBtn.hint = "Consulta Tabelas";
    NomMedCasComboBox.label = "Medida caseira";
    NomMedCasComboBox.width = 190;
    LimNomMedCasBitBtn.icon = ButtonIcon::Clear;
    LimNomMedCasBitBtn.hint = "Limpa o campo \"Medida Caseira\"";
    UmaMedCasMaskEdit.label = "Uma Med.Cas.\n tem (g/ml)";
    QuaMedCasMaskEdit.label = "Quantidade\nMed Caseira";
    PesLiqMaskEdit.label = W("Peso Líquido\n(g)");
    PesBruMaskEdit.label = "Peso Bruto\n(g)";
    PesCozMaskEdit.label = "Peso Cozido\n(g)";
    PesCruMaskEdit.label = "Peso Cru\n(g)";
    FCMaskEdit.label = "F.C.";
    FCCMaskEdit.label = "F.C.C.";
    CusUniMaskEdit.label = "Custo P.B.\n($/1000g)";
    CusCalMaskEdit.label = "Custo P.B.\n$";
    DatCotMaskEdit.label = W("Data\nCotação");
    for (size_t i = 0; i < kNutrientCaptions.size(); ++i) {
        (this->*kPerHundredFields[i]).label = W(kNutrientCaptions[i]);
        (this->*kAmountFields[i]).label = W(kNutrientCaptions[i]);
    }
    for (Label* l : {&CabLabel, &RodLabel}) {
        l->fontFamily = kListFont;
        l->caption = IngredientListHeader();  // the width of the list until activation
    }
    IngFicTecListBox.fontFamily = kListFont;
    IngFicTecListBox.height = 220;

    // Only the weights, the measure and its number are ever typed in; the others are
    // shown for reading.
    for (MaskEdit* shown : {&NomPreMaskEdit, &UmaMedCasMaskEdit, &FCMaskEdit, &FCCMaskEdit,
                            &CusUniMaskEdit, &CusCalMaskEdit, &DatCotMaskEdit}) {
        shown->enabled = false;
        shown->readOnly = true;
    }
    for (size_t i = 0; i < kPerHundredFields.size(); ++i) {
        for (MaskEdit* shown : {&(this->*kPerHundredFields[i]), &(this->*kAmountFields[i])}) {
            shown->enabled = false;
            shown->readOnly = true;
        }
    }

    // The editing controls, enabled by the mode; the measure takes the focus.
    AddDataField(NomMedCasComboBox);
    AddDataField(LimNomMedCasBitBtn);
    for (MaskEdit* weight : {&PesLiqMaskEdit, &PesBruMaskEdit, &PesCozMaskEdit, &PesCruMaskEdit}) {
        AddNumericField(*weight);
    }
    // The number of measures follows the numeric field rule too, but is enabled only
    // while a measure is chosen, so it is not one of the fields the mode enables.
    QuaMedCasMaskEdit.onKeyPress = [this](char& ch) {
        ch = NumericFieldKeyPress(QuaMedCasMaskEdit.text, ch);
    };
    QuaMedCasMaskEdit.onChange = [this] { dirty = true; };
    QuaMedCasMaskEdit.onExit = [this](Control* next) {
        QuaMedCasMaskEdit.text = NumericFieldExit(QuaMedCasMaskEdit.text, QuaMedCasMaskEdit.Mask());
        QuaMedCasMaskEditExit(next);
    };
    QuaMedCasMaskEdit.enabled = false;

    // Leaving a weight: the numeric field rule, then the edit step.
    auto after = [](MaskEdit& field, auto handler) {
        auto rule = field.onExit;
        field.onExit = [rule, handler](Control* next) {
            rule(next);
            handler(next);
        };
    };
    after(PesLiqMaskEdit, [this](Control* n) { PesLiqMaskEditExit(n); });
    after(PesBruMaskEdit, [this](Control* n) { PesBruMaskEditExit(n); });
    after(PesCozMaskEdit, [this](Control* n) { PesCozMaskEditExit(n); });
    after(PesCruMaskEdit, [this](Control* n) { PesCruMaskEditExit(n); });

    NomIngComboBox.onChange = [this] { NomIngComboBoxChange(); };
    NomIngComboBox.onExit = [this](Control* n) { NomIngComboBoxExit(n); };
    NomIngComboBox.onClick = [this] { NomIngComboBoxClick(); };
    NomMedCasComboBox.onChange = [this] { NomMedCasComboBoxChange(); };
    LimNomMedCasBitBtn.onClick = [this] { LimNomMedCasBitBtnClick(); };
    IngFicTecListBox.onClick = [this] { IngFicTecListBoxClick(); };
    TabBitBtn.onClick = [this] { TabBitBtnClick(); };
    CopBitBtn.onClick = [this] { CopBitBtnClick(); };
    LisBitBtn.onClick = [this] { LisBitBtnClick(); };
    ClearFields();
}

void TCadIngFicTecForm::Prepare(const std::string& tableKey, const std::string& preparation,
                                LineTable& preparations, int recordIndex,
                                const ListViewerInput& preparationList) {
    tableName = tableKey;
    preparationName = preparation;
    m_preparations = &preparations;
    m_recordIndex = recordIndex;
    m_preparationList = preparationList;
    mode = ScreenMode::Empty;
    startPending = true;
}

// ---- the register's pieces ----

std::string TCadIngFicTecForm::Title() const {
    return W("INCLUSÃO DE INGREDIENTES NA PREPARAÇÃO - TABELA ATIVA : ") + tableName;
}

std::string TCadIngFicTecForm::ListTitle() const {
    return W("LISTA DE INGREDIENTES DA FICHA TÉCNICA");
}

std::filesystem::path TCadIngFicTecForm::TablePath() const {
    return PreparationFilePath(programFolder, tableName, preparationName);
}

void TCadIngFicTecForm::LoadTable() {
    RegisterScreen::LoadTable();
    m_ingredients.Clear();
    LoadScrambledLineTable(IngredientFilePath(programFolder, tableName), m_ingredients,
                           m_ui.Progress());
}

void TCadIngFicTecForm::StartScreen() {
    PutText(NomPreMaskEdit, preparationName);
    NomIngComboBox.items = m_ingredients.keys.Items();
    QuaMedCasMaskEdit.enabled = false;
    CabLabel.caption = IngredientListHeader();
    RefreshList();
    currentIndex = 0;
    RegisterScreen::StartScreen();  // every field cleared, mode Empty applied
}

void TCadIngFicTecForm::BeforeClose() {
    m_ingredients.Clear();
    m_measures.Clear();
    NomIngComboBox.items.clear();
    NomMedCasComboBox.items.clear();
    NomIngComboBox.enabled = true;
}

void TCadIngFicTecForm::ClearFields() {
    IngFicTecListBox.itemIndex = -1;
    NomIngComboBox.itemIndex = -1;
    NomIngComboBox.text.clear();
    m_chosenIngredient = -1;
    m_lineKey.clear();
    m_measures.Clear();
    NomMedCasComboBox.items.clear();
    ClearMeasure();
    for (MaskEdit* f :
         {&PesLiqMaskEdit, &PesBruMaskEdit, &PesCozMaskEdit, &PesCruMaskEdit, &FCMaskEdit,
          &FCCMaskEdit, &CusUniMaskEdit, &CusCalMaskEdit, &DatCotMaskEdit}) {
        f->Clear();
    }
    for (size_t i = 0; i < kPerHundredFields.size(); ++i) {
        (this->*kPerHundredFields[i]).Clear();
        (this->*kAmountFields[i]).Clear();
    }
}

void TCadIngFicTecForm::ApplyMode() {
    RegisterScreen::ApplyMode();
    const bool empty = mode == ScreenMode::Empty;
    if (!empty && mode != ScreenMode::Inserting && mode != ScreenMode::Showing) {
        return;  // Altering and Deleting change nothing on screen
    }
    NomIngComboBox.enabled = empty;
    TabBitBtn.enabled = empty;
    QuaMedCasMaskEdit.enabled = !empty && m_chosenMeasure >= 0;
    CopBitBtn.enabled = true;
    if (empty) {
        SetFocus(&NomIngComboBox);
    }
}

void TCadIngFicTecForm::InsertionDeclined() {
    SetFocus(&PesBruMaskEdit);
}

void TCadIngFicTecForm::AlterationDeclined() {
    SetFocus(&PesBruMaskEdit);
}

// The screen stays on the line it stored. An insertion that failed leaves no line to
// show: the screen goes on inserting, so that a later "&Grava" cannot replace another
// ingredient's line with this one.
ScreenMode TCadIngFicTecForm::ModeAfterStore() const {
    if (mode == ScreenMode::Inserting && !FindKey(table.keys, m_lineKey).found) {
        return ScreenMode::Inserting;
    }
    return ScreenMode::Showing;
}

void TCadIngFicTecForm::AfterStore(bool /*inserted*/) {
    RefreshList();
    SelectRow(currentIndex);
}

void TCadIngFicTecForm::AfterDelete(const std::string& /*key*/) {
    RefreshList();
}

// ---- the line being edited ----

std::string TCadIngFicTecForm::ChosenRecord() const {
    if (m_chosenIngredient < 0 || m_chosenIngredient >= m_ingredients.lines.Count()) {
        return {};
    }
    return m_ingredients.lines[m_chosenIngredient];
}

IngredientLine TCadIngFicTecForm::EditedLine() const {
    IngredientLine l;
    l.ingredient = m_lineKey;
    l.grossWeight = PesBruMaskEdit.text;
    l.netWeight = PesLiqMaskEdit.text;
    l.cookedWeight = PesCozMaskEdit.text;
    l.rawWeight = PesCruMaskEdit.text;
    l.correctionFactor = FCMaskEdit.text;
    l.cookingFactor = FCCMaskEdit.text;
    l.unitCost = CusUniMaskEdit.text;
    l.computedCost = CusCalMaskEdit.text;
    l.quotationDate = DatCotMaskEdit.text;
    l.measure = m_chosenMeasure >= 0 ? NomMedCasComboBox.SelectedText() : std::string();
    l.measureCount = QuaMedCasMaskEdit.text;
    for (size_t i = 0; i < kAmountFields.size(); ++i) {
        l.amounts[i] = (this->*kAmountFields[i]).text;
    }
    l.ingredientRecord = ChosenRecord();
    l.measureWeight = UmaMedCasMaskEdit.text;
    return l;
}

void TCadIngFicTecForm::PutLine(const IngredientLine& l) {
    PutText(PesBruMaskEdit, l.grossWeight);
    PutText(PesLiqMaskEdit, l.netWeight);
    PutText(PesCozMaskEdit, l.cookedWeight);
    PutText(PesCruMaskEdit, l.rawWeight);
    PutText(FCMaskEdit, l.correctionFactor);
    PutText(FCCMaskEdit, l.cookingFactor);
    PutText(CusUniMaskEdit, l.unitCost);
    PutText(CusCalMaskEdit, l.computedCost);
    PutText(DatCotMaskEdit, l.quotationDate);
    PutText(QuaMedCasMaskEdit, l.measureCount);
    for (size_t i = 0; i < kAmountFields.size(); ++i) {
        PutText(this->*kAmountFields[i], l.amounts[i]);
    }
}

std::string TCadIngFicTecForm::ComposeRecord() const {
    return ComposeIngredientLine(EditedLine());
}

void TCadIngFicTecForm::RunStep(void (*step)(IngredientLine&, Ui&)) {
    IngredientLine line = EditedLine();
    step(line, m_ui);
    PutLine(line);
}

// ---- leaving the fields ----

void TCadIngFicTecForm::PesLiqMaskEditExit(Control* /*next*/) {
    RunStep(AfterNetWeight);
}

void TCadIngFicTecForm::PesBruMaskEditExit(Control* /*next*/) {
    RunStep(AfterGrossWeight);
}

void TCadIngFicTecForm::PesCozMaskEditExit(Control* /*next*/) {
    RunStep(AfterCookedWeight);
}

// The raw weight is the last field of a line: Enter leads on to "&Grava", not into the
// list of lines.
void TCadIngFicTecForm::PesCruMaskEditExit(Control* next) {
    RunStep(AfterRawWeight);
    if (next == &IngFicTecListBox && GraBitBtn.CanFocus()) {
        SetFocus(&GraBitBtn);
    }
}

void TCadIngFicTecForm::QuaMedCasMaskEditExit(Control* /*next*/) {
    if (!IsBlankValue(QuaMedCasMaskEdit.text)) {
        RunStep(AfterMeasureCount);
        return;
    }
    if (m_chosenMeasure < 0) {
        return;
    }
    if (Ask("Deseja manter descrição da medida caseira?") != kAnswerYes) {
        ClearMeasure();
        dirty = true;
    }
}

// ---- the household measure ----

void TCadIngFicTecForm::LoadMeasures() {
    m_measures.Clear();
    if (m_chosenIngredient < 0 || m_chosenIngredient >= m_ingredients.keys.Count()) {
        return;
    }
    try {
        const std::filesystem::path path = MeasureFilePath(
            programFolder, tableName, m_ingredients.keys[m_chosenIngredient], false);
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) {
            LoadLineTable(path, m_measures);
        }
    } catch (const StorageError&) {
        m_measures.Clear();
        Tell(msg::kReadFailed);
    }
}

void TCadIngFicTecForm::SelectMeasure(int index) {
    if (index < 0 || index >= m_measures.lines.Count()) {
        ClearMeasure();
        return;
    }
    m_chosenMeasure = index;
    NomMedCasComboBox.itemIndex = index;
    NomMedCasComboBox.text = m_measures.keys[index];
    PutText(UmaMedCasMaskEdit, GetField(2, m_measures.lines[index]));
    QuaMedCasMaskEdit.enabled = true;
}

void TCadIngFicTecForm::ClearMeasure() {
    m_chosenMeasure = -1;
    NomMedCasComboBox.itemIndex = -1;
    NomMedCasComboBox.text.clear();
    UmaMedCasMaskEdit.Clear();
    QuaMedCasMaskEdit.Clear();
    QuaMedCasMaskEdit.enabled = false;
}

void TCadIngFicTecForm::NomMedCasComboBoxChange() {
    dirty = true;
    const int index = NomMedCasComboBox.itemIndex;
    if (index < 0 || index >= m_measures.keys.Count()) {
        m_chosenMeasure = -1;
        QuaMedCasMaskEdit.enabled = false;
        return;
    }
    m_chosenMeasure = index;
    PutText(UmaMedCasMaskEdit, GetField(2, m_measures.lines[index]));
    QuaMedCasMaskEdit.enabled = true;
}

void TCadIngFicTecForm::LimNomMedCasBitBtnClick() {
    if (Ask("Limpa o campo \"Medida Caseira\"?") != kAnswerYes) {
        return;
    }
    if (m_chosenMeasure >= 0 || NomMedCasComboBox.itemIndex >= 0) {
        ClearMeasure();
        dirty = true;
    }
}

// ---- the ingredient ----

void TCadIngFicTecForm::SelectIngredient(int index) {
    if (index < 0 || index >= m_ingredients.keys.Count()) {
        m_chosenIngredient = -1;
        NomIngComboBox.itemIndex = -1;
        NomIngComboBox.text.clear();
        return;
    }
    m_chosenIngredient = index;
    NomIngComboBox.itemIndex = index;
    NomIngComboBox.text = m_ingredients.keys[index];
}

void TCadIngFicTecForm::ShowComposition() {
    m_measures.Clear();
    NomMedCasComboBox.items.clear();
    ClearMeasure();
    if (m_chosenIngredient < 0 || m_chosenIngredient >= m_ingredients.lines.Count()) {
        // A line whose ingredient is no longer in the table: no composition and no
        // measures (not those of the ingredient shown before).
        for (const Field f : kPerHundredFields) {
            (this->*f).Clear();
        }
        return;
    }
    LoadMeasures();
    NomMedCasComboBox.items = m_measures.keys.Items();
    const std::string record = ChosenRecord();
    for (size_t i = 0; i < kPerHundredFields.size(); ++i) {
        const int field = ing::NutrientField(static_cast<int>(i));
        MaskEdit& shown = this->*kPerHundredFields[i];
        const std::string value = GetField(field, record);
        if (value.empty()) {
            shown.Clear();
        } else {
            PutText(shown, value);
        }
    }
    // A line not yet shown takes the ingredient's factors, unit cost and quotation date;
    // a stored line keeps its own.
    if (mode == ScreenMode::Empty) {
        IngredientLine line = EditedLine();
        TakeIngredientDefaults(line);
        PutText(FCMaskEdit, line.correctionFactor);
        PutText(FCCMaskEdit, line.cookingFactor);
        PutText(CusUniMaskEdit, line.unitCost);
        PutText(DatCotMaskEdit, line.quotationDate);
    }
}

void TCadIngFicTecForm::CompositionWarnings() {
    const std::string record = ChosenRecord();
    if (record.empty()) {
        return;
    }
    for (size_t i = 0; i < kMissingValue.size(); ++i) {
        if (IsBlankValue(GetField(ing::NutrientField(static_cast<int>(i)), record))) {
            Tell(kMissingValue[i]);
        }
    }
}

void TCadIngFicTecForm::NomIngComboBoxChange() {
    m_chosenIngredient = NomIngComboBox.itemIndex;
    ShowComposition();
}

void TCadIngFicTecForm::NomIngComboBoxExit(Control* next) {
    if (NomIngComboBox.text.empty()) {
        return;
    }
    if (LeavingForAButtonClicked(next) || (next == &TabBitBtn && !FocusMovingByKey())) {
        return;
    }
    ChooseIngredient();
}

// An ingredient chosen from the open list with the mouse is the choice Enter makes: the
// field is left for the next one, and leaving it chooses.
void TCadIngFicTecForm::NomIngComboBoxClick() {
    if (!NomIngComboBox.enabled || NomIngComboBox.itemIndex < 0) {
        return;
    }
    if (ActiveControl() != &NomIngComboBox && !MoveFocus(*this, &NomIngComboBox)) {
        return;
    }
    MoveToNextControl(*this);
}

void TCadIngFicTecForm::ChooseIngredient() {
    const int index = NomIngComboBox.itemIndex;
    if (index < 0 || index >= m_ingredients.keys.Count()) {
        return;
    }
    m_chosenIngredient = index;
    ShowComposition();
    CompositionWarnings();
    // A line already shown keeps its place: only a new choice looks the ingredient up.
    if (mode != ScreenMode::Empty) {
        return;
    }
    const std::string key = m_ingredients.keys[index];
    const FindResult found = FindKey(table.keys, key);
    currentIndex = found.index;
    if (found.found) {
        mode = ScreenMode::Showing;
        ShowLine(found.index);
        SelectRow(found.index);
    } else {
        mode = ScreenMode::Inserting;
        m_lineKey = key;
    }
    ApplyMode();
}

// ---- showing a line ----

void TCadIngFicTecForm::ShowLine(int index) {
    if (index < 0 || index >= table.lines.Count()) {
        return;
    }
    const IngredientLine line = ReadIngredientLine(table.lines[index]);
    m_lineKey = line.ingredient;
    const FindResult ingredient = FindKey(m_ingredients.keys, line.ingredient);
    if (ingredient.found) {
        NomIngComboBox.itemIndex = ingredient.index;
        NomIngComboBox.text = m_ingredients.keys[ingredient.index];
    } else {
        NomIngComboBox.itemIndex = -1;
        NomIngComboBox.text.clear();
    }
    PutLine(line);
    const FindResult measure =
        line.measure.empty() ? FindResult{} : FindKey(m_measures.keys, line.measure);
    if (measure.found) {
        SelectMeasure(measure.index);
        PutText(QuaMedCasMaskEdit, line.measureCount);
    } else {
        ClearMeasure();
    }
    RefreshFooter();
    dirty = false;
}

// "&Anterior" and "&Próximo": the line at `index` with its ingredient's composition.
void TCadIngFicTecForm::ShowRecord(int index) {
    if (index < 0 || index >= table.lines.Count()) {
        return;
    }
    SelectRow(index);
    const FindResult found = FindKey(m_ingredients.keys, table.keys[index]);
    m_chosenIngredient = found.found ? found.index : -1;
    ShowComposition();
    ShowLine(index);
}

void TCadIngFicTecForm::ShowChosenLine(int index) {
    if (index < 0 || index >= table.lines.Count()) {
        return;
    }
    currentIndex = index;
    mode = ScreenMode::Showing;
    SelectRow(index);
    const FindResult found = FindKey(m_ingredients.keys, table.keys[index]);
    m_chosenIngredient = found.found ? found.index : -1;
    ShowComposition();
    CompositionWarnings();
    ShowLine(index);
    ApplyMode();
}

void TCadIngFicTecForm::LisBitBtnClick() {
    if (!UnsavedChanges()) {
        return;
    }
    if (const std::optional<int> chosen = ChooseRecord()) {
        ShowChosenLine(*chosen);
    }
}

void TCadIngFicTecForm::IngFicTecListBoxClick() {
    const int row = IngFicTecListBox.itemIndex;
    if (row < 0 || row >= table.keys.Count()) {
        return;
    }
    // Storing pending changes may insert a line before the clicked one: the clicked line
    // is found again by its ingredient.
    const std::string key = table.keys[row];
    if (!UnsavedChanges()) {
        SelectRow(mode == ScreenMode::Inserting ? -1 : currentIndex);  // the line on screen
        return;
    }
    const FindResult found = FindKey(table.keys, key);
    if (found.found) {
        ShowChosenLine(found.index);
    }
}

// ---- the list of lines ----

void TCadIngFicTecForm::RefreshList() {
    LineList none;
    LineList& preparations = m_preparations != nullptr ? m_preparations->lines : none;
    m_sums = UpdatePreparationTotals(table.lines, preparations, m_recordIndex, m_ui);
    RefreshFooter();
    BuildRows();
}

void TCadIngFicTecForm::RefreshFooter() {
    std::string record;
    if (m_preparations != nullptr && m_recordIndex >= 0 &&
        m_recordIndex < m_preparations->lines.Count()) {
        record = m_preparations->lines[m_recordIndex];
    }
    RodLabel.caption = IngredientListFooter(m_sums.net, record);
}

void TCadIngFicTecForm::BuildRows() {
    std::vector<std::string> rows;
    rows.reserve(table.lines.Items().size());
    for (const std::string& line : table.lines.Items()) {
        rows.push_back(IngredientListRow(line));
    }
    IngFicTecListBox.items = std::move(rows);
    IngFicTecListBox.itemIndex = -1;
}

void TCadIngFicTecForm::SelectRow(int index) {
    IngFicTecListBox.itemIndex =
        index >= 0 && index < static_cast<int>(IngFicTecListBox.items.size()) ? index : -1;
}

// ---- the viewers ----

bool TCadIngFicTecForm::Available(const Form* form) {
    if (form != nullptr) {
        return true;
    }
    Tell("Esta tela ainda não está disponível.");
    return false;
}

void TCadIngFicTecForm::TabBitBtnClick() {
    if (m_ingredients.lines.Empty()) {
        Tell(msg::kNoRecords);
        return;
    }
    if (!Available(ingredientViewer)) {
        return;
    }
    ingredientViewer->Prepare(tableName, m_ingredients, std::max(m_chosenIngredient, 0));
    m_ui.ShowModal(*ingredientViewer);
    int chosen = ingredientViewer->chosenIndex;
    if (ingredientViewer->copied && !ingredientViewer->wroteFile) {
        // The viewer could not write the ingredients it copied (and said so): the list
        // goes back to the file, so that no line refers to an ingredient it lacks.
        const std::string key =
            chosen >= 0 && chosen < m_ingredients.keys.Count() ? m_ingredients.keys[chosen] : "";
        try {
            LineTable reloaded;
            LoadScrambledLineTable(IngredientFilePath(programFolder, tableName), reloaded,
                                   m_ui.Progress());
            m_ingredients = std::move(reloaded);
            const FindResult found = FindKey(m_ingredients.keys, key);
            chosen = !key.empty() && found.found ? found.index : -1;
        } catch (const StorageError&) {
            Tell(msg::kReadFailed);
        }
    }
    NomIngComboBox.items = m_ingredients.keys.Items();
    SelectIngredient(chosen);
    SetFocus(&NomIngComboBox);
    ShowComposition();
}

void TCadIngFicTecForm::CopBitBtnClick() {
    if (m_preparations == nullptr || m_preparations->lines.Empty()) {
        Tell(msg::kNoRecords);
        return;
    }
    if (!Available(listViewer)) {
        return;
    }
    ListViewerInput view = m_preparationList;
    view.currentIndex = m_recordIndex;
    listViewer->Prepare(view);
    m_ui.ShowModal(*listViewer);
    int source = listViewer->chosenIndex;
    if (source < 0 || source >= m_preparations->lines.Count()) {
        source = 0;
    }
    if (Ask("Confirma copia dos ingredientes?") != kAnswerYes) {
        return;
    }
    try {
        m_sums = CopyIngredients(table, programFolder, tableName, preparationName,
                                 RecordKey(m_preparations->lines[source]), m_preparations->lines,
                                 m_recordIndex, m_ui);
    } catch (const StorageError&) {
        Tell("Erro durante a cópia dos ingredientes! Nada foi alterado.");
        return;
    }
    currentIndex = 0;
    RefreshFooter();
    BuildRows();
    mode = ScreenMode::Empty;
    ApplyMode();
}

// ---- layout ----

LayoutItem TCadIngFicTecForm::Layout() {
    using LI = LayoutItem;
    std::vector<LI> bar;
    for (Button* b : {&GraBitBtn, &NovBitBtn, &CopBitBtn, &ExcBitBtn, &AntBitBtn, &ProBitBtn,
                      &LisBitBtn, &AjuBitBtn, &RetBitBtn}) {
        bar.push_back(LI::Of(*b));
    }
    bar.push_back(LI::Stretch());
    std::vector<LI> perHundred;
    std::vector<LI> amounts;
    for (size_t i = 0; i < kPerHundredFields.size(); ++i) {
        perHundred.push_back(LI::Of(this->*kPerHundredFields[i]));
        amounts.push_back(LI::Of(this->*kAmountFields[i]));
    }
    perHundred.push_back(LI::Stretch());
    amounts.push_back(LI::Stretch());
    return LI::Column({
        LI::Row(std::move(bar)),
        LI::Row({LI::Of(NomPreMaskEdit), LI::Stretch()}),
        LI::Row({LI::Of(NomIngComboBox), LI::Of(TabBitBtn), LI::Of(NomMedCasComboBox),
                 LI::Of(LimNomMedCasBitBtn), LI::Of(UmaMedCasMaskEdit), LI::Of(QuaMedCasMaskEdit),
                 LI::Stretch()}),
        LI::Row({LI::Of(PesLiqMaskEdit), LI::Of(PesBruMaskEdit), LI::Of(PesCozMaskEdit),
                 LI::Of(PesCruMaskEdit), LI::Of(FCMaskEdit), LI::Of(FCCMaskEdit),
                 LI::Of(CusUniMaskEdit), LI::Of(CusCalMaskEdit), LI::Of(DatCotMaskEdit),
                 LI::Stretch()}),
        LI::Group(W("Composição química para cada 100 gramas do ingrediente"),
                  {LI::Row(std::move(perHundred))}),
        LI::Group(W("Composição química para o peso líquido do ingrediente"),
                  {LI::Row(std::move(amounts))}),
        LI::Of(CabLabel),
        LI::Of(IngFicTecListBox),
        LI::Of(RodLabel),
    });
}

}  // namespace velmaro
