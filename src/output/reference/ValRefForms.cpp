#include "output/reference/ValRefForms.h"

#include <algorithm>
#include <utility>

#include "output/labels/current/Rdc429Rules.h"
#include "output/reference/In75List.h"
#include "output/reference/ReferencePortion.h"
#include "shell/ListBuilding.h"
#include "shell/ListViewer.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

constexpr const char* kListFont = "Courier New";
constexpr const char* kFileEmpty = "File empty!";
constexpr int kButtonWidth = 100;
constexpr int kCharPixels = 7;
constexpr int kMaxFieldPixels = 960;

// A read-only entry field of `length` characters.
void SetUpField(MaskEdit& field, const char* caption, int length) {
    field.label = W(caption);
    field.readOnly = true;
    field.maxLength = length;
    field.width = std::min(length * kCharPixels + 12, kMaxFieldPixels);
}

}  // namespace

// ---- the list viewer ----

TVisLisValRefForm::TVisLisValRefForm(Ui& ui, std::filesystem::path programFolder)
    : Form("TVisLisValRefForm"),
      AtiFilCheckBox(*this, "AtiFilCheckBox", "Ver :"),
      NomGruComboBox(*this, "NomGruComboBox"),
      PalChaCheckBox(*this, "PalChaCheckBox", "Ativa filtro"),
      PalChaMaskEdit(*this, "PalChaMaskEdit", ">cccccccccccccccccccccccccccccc;0;_"),
      PalChaBitBtn(*this, "PalChaBitBtn", "Ok"),
      LisFilOrdListBox(*this, "LisFilOrdListBox"),
      m_ui(ui),
      m_programFolder(std::move(programFolder)) {
    caption = W("Lista de valores para Porção de Referência");
    width = 1000;
    height = 560;
    NomGruComboBox.width = 560;
    NomGruComboBox.enabled = false;
    PalChaMaskEdit.enabled = false;
    PalChaBitBtn.enabled = false;
    PalChaBitBtn.width = 60;
    LisFilOrdListBox.fontFamily = kListFont;
    LisFilOrdListBox.fontBold = true;
    LisFilOrdListBox.height = 460;

    onActivate = [this] { FormActivate(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    AtiFilCheckBox.onClick = [this] { AtiFilCheckBoxClick(); };
    NomGruComboBox.onChange = [this] { NomGruComboBoxChange(); };
    PalChaCheckBox.onClick = [this] { PalChaCheckBoxClick(); };
    PalChaMaskEdit.onKeyPress = [this](char& key) { PalChaMaskEditKeyPress(key); };
    PalChaBitBtn.onClick = [this] { PalChaBitBtnClick(); };
    LisFilOrdListBox.onDblClick = [this] { LisFilOrdListBoxDblClick(); };
    LisFilOrdListBox.onKeyPress = [this](char& key) { LisFilOrdListBoxKeyPress(key); };
}

void TVisLisValRefForm::Prepare(const LineTable& values, int currentIndex) {
    m_values = &values;
    m_receivedIndex = currentIndex;
    chosenIndex = currentIndex;
    startPending = true;
}

void TVisLisValRefForm::FormActivate() {
    if (!startPending) {
        return;
    }
    startPending = false;
    m_open = true;
    chosenIndex = m_receivedIndex;

    // The reference tables as the choices of the group filter; none chosen.
    NomGruComboBox.items.clear();
    NomGruComboBox.itemIndex = -1;
    NomGruComboBox.text.clear();
    LineTable tables;
    try {
        LoadLineTable(ReferenceTablePath(m_programFolder), tables);
    } catch (const StorageError&) {
        tables.Clear();  // no group to filter by
    }
    NomGruComboBox.items = tables.keys.Items();
    NomGruComboBox.enabled = AtiFilCheckBox.checked;
    PalChaMaskEdit.enabled = PalChaCheckBox.checked;
    PalChaBitBtn.enabled = PalChaCheckBox.checked;

    BuildKeywords();
    BuildList();
    const int count = static_cast<int>(LisFilOrdListBox.items.size());
    if (!AtiFilCheckBox.checked && !PalChaCheckBox.checked && count > 0) {
        LisFilOrdListBox.itemIndex = std::clamp(m_receivedIndex, 0, count - 1);
    }
    SetFocus(&LisFilOrdListBox);
}

void TVisLisValRefForm::BuildKeywords() {
    m_words.clear();
    if (PalChaCheckBox.checked) {
        m_words = SplitKeywordWords(PalChaMaskEdit.text);
    }
}

void TVisLisValRefForm::BuildList() {
    LisFilOrdListBox.items.clear();
    LisFilOrdListBox.itemIndex = -1;
    if (m_values == nullptr) {
        return;
    }
    const LineList& lines = m_values->lines;
    const bool byGroup = AtiFilCheckBox.checked && NomGruComboBox.itemIndex >= 0;
    const bool byKeyword = PalChaCheckBox.checked && !m_words.empty();
    const std::string group = byGroup ? NomGruComboBox.SelectedText() : std::string();

    // The line list is held sorted, so the rows kept come out in the store's order.
    if (!byGroup && !byKeyword) {
        for (const std::string& line : lines.Items()) {
            LisFilOrdListBox.items.push_back(GetField(valref::kFood, line));
        }
        return;
    }
    ProgressSink& progress = m_ui.Progress();
    progress.Begin(lines.Count());
    std::string searchName;
    for (int i = 0; i < lines.Count(); ++i) {
        progress.SetPosition(i);
        const std::string& line = lines[i];
        if (byGroup && GetField(valref::kTable, line) != group) {
            continue;
        }
        const std::string name = GetField(valref::kFood, line);
        if (byKeyword) {
            KeywordSearchName(name, searchName);
            if (!MatchesKeywordWords(m_words, searchName)) {
                continue;
            }
        }
        LisFilOrdListBox.items.push_back(name);
    }
    progress.End();
}

void TVisLisValRefForm::AtiFilCheckBoxClick() {
    NomGruComboBox.itemIndex = -1;
    NomGruComboBox.text.clear();
    if (AtiFilCheckBox.checked) {
        NomGruComboBox.enabled = true;
        SetFocus(&NomGruComboBox);
        return;
    }
    NomGruComboBox.enabled = false;
    BuildList();
}

void TVisLisValRefForm::NomGruComboBoxChange() {
    BuildList();
}

void TVisLisValRefForm::PalChaCheckBoxClick() {
    if (!ToggleKeywordFilter(*this, PalChaCheckBox, PalChaMaskEdit, PalChaBitBtn)) {
        return;
    }
    BuildKeywords();
    BuildList();
}

// Enter in the keyword field applies it, as "Ok" does.
void TVisLisValRefForm::PalChaMaskEditKeyPress(char& key) {
    if (key == '\r') {
        key = 0;
        PalChaBitBtnClick();
    }
}

void TVisLisValRefForm::PalChaBitBtnClick() {
    PalChaMaskEdit.text = FoldAccents(PalChaMaskEdit.text);
    BuildKeywords();
    BuildList();
}

void TVisLisValRefForm::LisFilOrdListBoxDblClick() {
    Choose();
}

void TVisLisValRefForm::LisFilOrdListBoxKeyPress(char& key) {
    if (key == '\r') {
        key = 0;
        Choose();
    }
}

void TVisLisValRefForm::Choose() {
    if (!m_open) {
        return;
    }
    m_open = false;
    chosenIndex = 0;
    const int selected = LisFilOrdListBox.itemIndex;
    if (m_values != nullptr && selected >= 0 &&
        selected < static_cast<int>(LisFilOrdListBox.items.size())) {
        const FindResult found =
            FindKey(m_values->keys, LisFilOrdListBox.items[static_cast<size_t>(selected)]);
        chosenIndex = found.found ? found.index : 0;
    }
    Close(kAnswerOk);
}

// Closing without choosing gives back the index received.
bool TVisLisValRefForm::FormCloseQuery() {
    if (m_open) {
        m_open = false;
        chosenIndex = m_receivedIndex;
    }
    return true;
}

LayoutItem TVisLisValRefForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Row({L::Of(AtiFilCheckBox), L::Of(NomGruComboBox), L::Stretch()}),
        L::Row({L::Of(PalChaCheckBox), L::Of(PalChaMaskEdit), L::Of(PalChaBitBtn), L::Stretch()}),
        L::Of(LisFilOrdListBox),
    });
}

// ---- the reference values screen ----

TCadValRefForm::TCadValRefForm(Ui& ui, std::filesystem::path programFolder,
                               TVisLisValRefForm& viewer)
    : Form("TCadValRefForm"),
      NomAliMaskEdit(*this, "NomAliMaskEdit"),
      ValRefMaskEdit(*this, "ValRefMaskEdit"),
      UniMedCasMaskEdit(*this, "UniMedCasMaskEdit"),
      MedCasMaskEdit(*this, "MedCasMaskEdit"),
      PesMedCasMaskEdit(*this, "PesMedCasMaskEdit"),
      AprMedCasMaskEdit(*this, "AprMedCasMaskEdit"),
      NomTabValRefMaskEdit(*this, "NomTabValRefMaskEdit"),
      AntBitBtn(*this, "AntBitBtn", "&Anterior"),
      ProBitBtn(*this, "ProBitBtn", W("&Próximo")),
      LisBitBtn(*this, "LisBitBtn", "&Lista"),
      AjuBitBtn(*this, "AjuBitBtn", "Seleciona"),
      RetBitBtn(*this, "RetBitBtn", "Cancela"),
      PorGruBitBtn(*this, "PorGruBitBtn", W("Porção pela energia do grupo")),
      m_ui(ui),
      m_programFolder(std::move(programFolder)),
      m_viewer(viewer) {
    caption = W("Valores de referência de alimentos embalados para fins de rotulagem nutricional");
    width = 1000;
    SetUpField(NomAliMaskEdit, "Alimento", 140);
    SetUpField(ValRefMaskEdit, "Valor de referência", 70);
    SetUpField(UniMedCasMaskEdit, "Unidade", 2);
    SetUpField(MedCasMaskEdit, "Medida caseira", 60);
    SetUpField(PesMedCasMaskEdit, "Peso médio por medida caseira", 70);
    SetUpField(AprMedCasMaskEdit,
               "Formas de apresentação das medidas caseiras no rótulo, com arredondamento", 70);
    SetUpField(NomTabValRefMaskEdit, "Tabela", 76);
    for (Button* b : {&AntBitBtn, &ProBitBtn, &LisBitBtn, &AjuBitBtn, &RetBitBtn}) {
        b->width = kButtonWidth;
    }
    startPending = true;

    onActivate = [this] { FormActivate(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    AntBitBtn.onClick = [this] { AntBitBtnClick(); };
    ProBitBtn.onClick = [this] { ProBitBtnClick(); };
    LisBitBtn.onClick = [this] { LisBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
    PorGruBitBtn.onClick = [this] { PorGruBitBtnClick(); };
    PorGruBitBtn.width = 220;
    PorGruBitBtn.hint =
        W("Alimento que a lista não traz: a porção com a energia média do grupo "
          "(RDC 429, art. 9º IX)");
}

MaskEdit& TCadValRefForm::Field(int n) {
    MaskEdit* fields[] = {&NomAliMaskEdit,      &ValRefMaskEdit,    &UniMedCasMaskEdit,
                          &MedCasMaskEdit,      &PesMedCasMaskEdit, &AprMedCasMaskEdit,
                          &NomTabValRefMaskEdit};
    return *fields[std::clamp(n, 1, valref::kFieldCount) - 1];
}

void TCadValRefForm::FormActivate() {
    if (!startPending) {
        return;  // back from the list viewer
    }
    startPending = false;
    m_open = true;
    m_choice.reset();
    m_values.Clear();
    m_index = 0;
    m_loaded = false;
    try {
        LoadLineTable(ReferenceValuesPath(m_programFolder), m_values);
        LineTable tables;
        try {
            LoadLineTable(ReferenceTableLocation(m_programFolder), tables);
        } catch (const StorageError&) {
            tables.Clear();  // none yet: nothing to tell
        }
        // A file that did not read whole is shown as read, and never written back.
        m_loaded = !m_values.lines.Damaged();
        for (const LineList* list : {&m_values.lines, &tables.lines}) {
            if (list->Damaged()) {
                m_ui.ShowMessageBox(
                    *Utf8ToCp1252(DamagedFileMessage(list->Check()) +
                                      " Os valores de referência não serão gravados; para "
                                      "repará-lo, use \"velmaro-cli verificar --reparar\".",
                                  '?'),
                    MessageKind::Ok);
                break;
            }
        }
    } catch (const StorageError&) {
        // Not written back on closing, so the unread file is kept as it is.
        m_values.Clear();
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
    }
    ShowRecord();
    SetFocus(&ProBitBtn);
}

void TCadValRefForm::ShowRecord() {
    const bool any = m_index >= 0 && m_index < m_values.lines.Count();
    for (int n = 1; n <= valref::kFieldCount; ++n) {
        Field(n).text = any ? GetRecordField(m_values.lines, m_index, n) : std::string();
    }
}

void TCadValRefForm::AntBitBtnClick() {
    if (m_index > 0) {
        --m_index;
        ShowRecord();
    }
}

void TCadValRefForm::ProBitBtnClick() {
    if (m_index < m_values.lines.Count() - 1) {
        ++m_index;
        ShowRecord();
    }
}

void TCadValRefForm::LisBitBtnClick() {
    if (m_values.lines.Empty()) {
        m_ui.ShowMessageBox(kFileEmpty, MessageKind::Ok);
        return;
    }
    m_viewer.Prepare(m_values, m_index);
    m_ui.ShowModal(m_viewer);
    m_index = std::clamp(m_viewer.chosenIndex, 0, m_values.lines.Count() - 1);
    ShowRecord();
}

void TCadValRefForm::AjuBitBtnClick() {
    if (m_index >= 0 && m_index < m_values.lines.Count()) {
        m_choice = ReferenceValueChoice{NomAliMaskEdit.text,    ValRefMaskEdit.text,
                                        UniMedCasMaskEdit.text, AprMedCasMaskEdit.text,
                                        MedCasMaskEdit.text,    NomTabValRefMaskEdit.text};
    }
    Leave(kValRefSelected);
}

void TCadValRefForm::PorGruBitBtnClick() {
    std::vector<std::string> groups;
    for (size_t i = 0; i < kIn75GroupNames.size(); ++i) {
        const int kcal = rdc429::kPortionGroups[i].meanKcal;
        groups.push_back(W(kIn75GroupNames[i]) + (kcal > 0 ? " (" + std::to_string(kcal) + " kcal)"
                                                           : W(" (sem energia média)")));
    }
    const auto shown = In75GroupOfTable(NomTabValRefMaskEdit.text);
    const int picked = m_ui.PickFromList(W("Grupo do alimento (energia média da porção)"), groups,
                                         shown ? static_cast<int>(*shown) : 0);
    if (picked < 0 || picked >= static_cast<int>(groups.size())) {
        return;
    }
    const GroupEnergyPortion portion =
        PortionFromGroupEnergy(static_cast<size_t>(picked), kcalPerGram);
    if (!portion.refusal.empty()) {
        m_ui.ShowMessageBox(portion.refusal, MessageKind::Ok);
        return;
    }
    if (m_ui.ShowMessageBox(W("Porção do rótulo: ") + std::to_string(portion.grams) + " g, " +
                                portion.explanation + W(". Usar esta porção?"),
                            MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    m_choice = ReferenceValueChoice{
        "", std::to_string(portion.grams), "g", "", "", "", portion.explanation};
    Leave(kValRefSelected);
}

void TCadValRefForm::RetBitBtnClick() {
    m_choice.reset();
    Leave(kValRefCancelled);
}

bool TCadValRefForm::FormCloseQuery() {
    if (m_open) {
        m_choice.reset();
        Leave(kValRefCancelled);
    }
    return true;
}

void TCadValRefForm::Leave(int result) {
    if (m_open) {
        m_open = false;
        if (m_loaded) {
            try {
                SaveLineTable(ReferenceValuesPath(m_programFolder), m_values.lines);
            } catch (const StorageError&) {
                m_ui.ShowMessageBox(W(msg::kAlterFailed), MessageKind::Ok);
            }
        }
        m_values.Clear();
        m_loaded = false;
    }
    Close(result);
}

LayoutItem TCadValRefForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Of(NomAliMaskEdit),
        L::Row({L::Of(ValRefMaskEdit), L::Of(UniMedCasMaskEdit), L::Stretch()}),
        L::Of(MedCasMaskEdit),
        L::Of(PesMedCasMaskEdit),
        L::Of(AprMedCasMaskEdit),
        L::Of(NomTabValRefMaskEdit),
        L::Row({L::Of(AntBitBtn), L::Of(ProBitBtn), L::Of(LisBitBtn), L::Of(PorGruBitBtn),
                L::Stretch(), L::Of(AjuBitBtn), L::Of(RetBitBtn)}),
    });
}

ReferenceValueTarget ReferenceValueTargetFor(TCadValRefForm& form) {
    ReferenceValueTarget target;
    target.form = &form;
    target.prepare = [&form](std::optional<long double> kcalPerGram) {
        form.kcalPerGram = kcalPerGram;
        form.startPending = true;
    };
    target.chosen = [&form](int modalResult) -> std::optional<ReferenceValueChoice> {
        if (modalResult != kValRefSelected) {
            return std::nullopt;
        }
        return form.Choice();
    };
    return target;
}

}  // namespace velmaro
