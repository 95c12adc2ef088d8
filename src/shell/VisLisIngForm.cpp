#include "shell/VisLisIngForm.h"

#include <algorithm>

#include "platform/Interaction.h"
#include "shell/ListBuilding.h"
#include "shell/ScreenMessages.h"
#include "storage/Collation.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr const char* kListFont = "Courier New";
constexpr int kButtonWidth = 90;

}  // namespace

TVisLisIngForm::TVisLisIngForm(Ui& ui, std::filesystem::path programFolder,
                               ActiveTable& activeTable)
    : Form("TVisLisIngForm"),
      NomTabCheckBox(*this, "NomTabCheckBox", "Visualiza Tabela Ativa"),
      NomTabComboBox(*this, "NomTabComboBox"),
      AtiFilCheckBox(*this, "AtiFilCheckBox", "Filtra Lista por Grupo"),
      NomGruComboBox(*this, "NomGruComboBox"),
      AtiOrdCheckBox(*this, "AtiOrdCheckBox", "Ordena Lista"),
      NomCamComboBox(*this, "NomCamComboBox"),
      PalChaCheckBox(*this, "PalChaCheckBox", "Palavra  Chave"),
      PalChaMaskEdit(*this, "PalChaMaskEdit", ">cccccccccccccccccccc;0;_"),
      PalChaBitBtn(*this, "PalChaBitBtn", "Ok"),
      CabLabel(*this, "CabLabel"),
      LisFilOrdListBox(*this, "LisFilOrdListBox"),
      PriBitBtn(*this, "PriBitBtn", "&Primeiro"),
      BitBtn1(*this, "BitBtn1", "&Volta 1/4"),
      BitBtn3(*this, "BitBtn3", W("&Avança 1/4")),
      UltBitBtn(*this, "UltBitBtn", W("&Último")),
      CopIngBitBtn(*this, "CopIngBitBtn", "Copia Ingrediente p/ Ativa"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      m_ui(ui),
      m_programFolder(std::move(programFolder)),
      m_activeTable(activeTable),
      m_core(*this, AtiFilCheckBox, NomGruComboBox, AtiOrdCheckBox, NomCamComboBox,
             LisFilOrdListBox) {
    caption = "VISUALIZA INGREDIENTES";
    width = 980;
    height = 620;
    LisFilOrdListBox.fontFamily = kListFont;
    LisFilOrdListBox.fontBold = true;
    LisFilOrdListBox.height = 420;
    CabLabel.fontFamily = kListFont;
    CabLabel.fontBold = true;
    NomTabComboBox.width = 200;
    NomGruComboBox.width = 200;
    NomCamComboBox.width = 200;
    for (Button* b : {&PriBitBtn, &BitBtn1, &BitBtn3, &UltBitBtn, &AjuBitBtn, &RetBitBtn}) {
        b->width = kButtonWidth;
    }
    m_core.groupField = ing::kGroup;
    m_core.rebuild = [this] { BuildList(); };

    onActivate = [this] { FormActivate(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    NomTabCheckBox.onClick = [this] { NomTabCheckBoxClick(); };
    NomTabComboBox.onChange = [this] { NomTabComboBoxChange(); };
    AtiFilCheckBox.onClick = [this] { AtiFilCheckBoxClick(); };
    NomGruComboBox.onChange = [this] { NomGruComboBoxChange(); };
    AtiOrdCheckBox.onClick = [this] { AtiOrdCheckBoxClick(); };
    NomCamComboBox.onChange = [this] { NomCamComboBoxChange(); };
    PalChaCheckBox.onClick = [this] { PalChaCheckBoxClick(); };
    PalChaMaskEdit.onKeyPress = [this](char& key) { PalChaMaskEditKeyPress(key); };
    PalChaBitBtn.onClick = [this] { PalChaBitBtnClick(); };
    PriBitBtn.onClick = [this] { PriBitBtnClick(); };
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    BitBtn3.onClick = [this] { BitBtn3Click(); };
    UltBitBtn.onClick = [this] { UltBitBtnClick(); };
    CopIngBitBtn.onClick = [this] { CopIngBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
    LisFilOrdListBox.onDblClick = [this] { LisFilOrdListBoxDblClick(); };
    LisFilOrdListBox.onKeyPress = [this](char& key) { LisFilOrdListBoxKeyPress(key); };
}

std::string TVisLisIngForm::Header() {
    std::string header = CenterText("INGREDIENTE", ing::kNameWidth) + "|";
    for (const char* title : {"KCAL", "CHO", "PTN", "G.TOTAL", "G.SATUR", "COLESTE"}) {
        header += CenterText(title, 7) + "|";
    }
    return header;
}

std::vector<std::string> TVisLisIngForm::ColumnNames() {
    std::vector<std::string> names;
    for (const char* name :
         {"INGREDIENTE", "CALORIAS - KCAL", "CARBOIDRATOS - CHO", "PROTEINAS - PTN",
          "LIPÍDIOS - LIP", "SATURADA - SAT", "COLESTEROL - COL", "FIBRA - FIB", "CÁLCIO - Ca",
          "FERRO - Fe", "SÓDIO - SOD"}) {
        names.push_back(W(name));
    }
    return names;
}

void TVisLisIngForm::Prepare(const std::string& tableName, LineTable& activeTable, int currentIndex,
                             bool writable) {
    m_tableName = tableName;
    m_active = &activeTable;
    m_activeWritable = writable;
    m_core.callerIndex = currentIndex;
    chosenIndex = 0;
    copied = false;
    wroteFile = false;
    startPending = true;
    m_pick = false;
}

void TVisLisIngForm::PreparePick(const std::string& tableName, LineTable& activeTable,
                                 const std::string& firstTable) {
    Prepare(tableName, activeTable, 0, false);
    m_pick = true;
    m_pickFirst = firstTable;
    m_pickFirst.resize(std::max<size_t>(m_pickFirst.size(), 20), ' ');  // a table-list key
    pickedTable.clear();
    pickedRow.clear();
}

int TVisLisIngForm::PickStartTable() const {
    const FindResult first = FindKey(m_tableList.keys, m_pickFirst);
    if (first.found && !TextEquals(m_tableList.keys[first.index], m_tableName)) {
        return first.index;
    }
    for (int i = 0; i < m_tableList.keys.Count(); ++i) {
        if (!TextEquals(m_tableList.keys[i], m_tableName)) {
            return i;
        }
    }
    return -1;
}

// ---- opening ----

void TVisLisIngForm::FormActivate() {
    if (!startPending || m_active == nullptr) {
        return;  // back from the help screen: everything stays as it was
    }
    startPending = false;
    m_open = true;
    copied = false;
    wroteFile = false;
    chosenIndex = 0;
    CabLabel.caption = Header();
    NomCamComboBox.items = ColumnNames();

    m_tableList.Clear();
    try {
        LoadLineTable(TableListPath(m_programFolder), m_tableList);
    } catch (const StorageError&) {
        m_tableList.Clear();  // only the active table can be viewed
    }
    NomTabComboBox.items = m_tableList.keys.Items();
    const FindResult active = FindKey(m_tableList.keys, m_tableName);
    NomTabComboBox.itemIndex = active.found ? active.index : -1;
    NomTabComboBox.text = NomTabComboBox.SelectedText();
    NomTabCheckBox.checked = true;
    NomTabComboBox.enabled = false;
    CopIngBitBtn.enabled = false;
    RetBitBtn.enabled = true;

    m_core.firstBuild = true;
    ViewActiveTable();
    if (m_pick) {
        pickedTable.clear();
        pickedRow.clear();
        const int start = PickStartTable();
        if (start >= 0) {
            SaveState();
            NomTabCheckBox.checked = false;
            NomTabComboBox.enabled = true;
            NomTabComboBox.itemIndex = start;
            NomTabComboBox.text = NomTabComboBox.SelectedText();
            ViewOtherTable(start);
        }
    }
    SetFocus(&LisFilOrdListBox);
}

void TVisLisIngForm::ViewActiveTable() {
    m_viewingActive = true;
    m_viewedName = m_tableName;
    m_other.Clear();
    m_core.rows = &m_active->lines.Items();
    LoadGroups();
    RestoreState();
    SetCaption();
    BuildList();
}

bool TVisLisIngForm::ViewOtherTable(int tableIndex) {
    const std::string name = m_tableList.keys[tableIndex];
    LineTable loaded;
    try {
        LoadScrambledLineTable(IngredientFilePath(m_programFolder, name), loaded, m_ui.Progress());
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        return false;
    }
    m_other = std::move(loaded);
    m_viewed = {name, GetRecordField(m_tableList.lines, tableIndex, 2),
                GetRecordField(m_tableList.lines, tableIndex, 3)};
    m_viewingActive = false;
    m_viewedName = name;
    m_core.rows = &m_other.lines.Items();
    LoadGroups();
    SetCaption();
    m_core.ResetFilters();
    PalChaCheckBox.checked = false;
    PalChaMaskEdit.Clear();
    PalChaMaskEdit.enabled = false;
    PalChaBitBtn.enabled = false;
    m_words.clear();
    BuildList();
    return true;
}

void TVisLisIngForm::LoadGroups() {
    LineTable groups;
    try {
        LoadLineTable(IngredientGroupsPath(m_programFolder, m_viewedName), groups);
    } catch (const StorageError&) {
        groups.Clear();  // no group to filter by
    }
    NomGruComboBox.items = groups.keys.Items();
    NomGruComboBox.itemIndex = -1;
    NomGruComboBox.text.clear();
}

void TVisLisIngForm::SetCaption() {
    caption = (m_pick ? W("ESCOLHA O ALIMENTO DE ONDE VÊM OS AÇÚCARES - TABELA ATIVA : ")
                      : std::string("TELA VISUALIZA INGREDIENTES - TABELA ATIVA : ")) +
              m_tableName + " - TABELA VISUALIZADA : " + m_viewedName;
}

void TVisLisIngForm::BuildList() {
    m_core.Build(PalChaCheckBox.checked ? &m_words : nullptr);
}

// ---- remembered state ----

void TVisLisIngForm::RestoreState() {
    const std::string section = W(cfg::kIngredientListSection);
    std::string keyword;
    try {
        const IniFile ini(ConfigFilePath());
        m_core.RestoreState(ini, section);
        PalChaCheckBox.checked = ini.ReadBool(section, cfg::kAtiFilPalCha, false);
        keyword = ini.ReadString(section, cfg::kPalCha, "");
    } catch (const StorageError&) {
        // An unreadable configuration: the defaults of an empty one.
        m_core.RestoreState(IniFile::FromBytes(""), section);
        PalChaCheckBox.checked = false;
    }
    PalChaMaskEdit.Clear();
    keyword.resize(static_cast<size_t>(PalChaMaskEdit.maxLength), ' ');
    PalChaMaskEdit.text = keyword;
    PalChaMaskEdit.enabled = PalChaCheckBox.checked;
    PalChaBitBtn.enabled = PalChaCheckBox.checked;
    m_words = SplitKeywordWords(PalChaMaskEdit.text);
}

void TVisLisIngForm::SaveState() {
    const std::string section = W(cfg::kIngredientListSection);
    try {
        IniFile ini(ConfigFilePath());
        ini.Hold();
        m_core.SaveFilterAndOrder(ini, section);
        ini.WriteBool(section, cfg::kAtiFilPalCha, PalChaCheckBox.checked);
        ini.WriteString(section, cfg::kPalCha, PalChaMaskEdit.text);
        m_core.SavePosition(ini, section);
        ini.Commit();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kAlterFailed), MessageKind::Ok);
    }
}

// ---- table choice ----

void TVisLisIngForm::NomTabCheckBoxClick() {
    if (m_pick) {
        // Picking: Retorna always leaves, and nothing is copied.
        struct PickButtons {
            TVisLisIngForm& form;
            ~PickButtons() {
                form.RetBitBtn.enabled = true;
                form.CopIngBitBtn.enabled = false;
            }
        } pickButtons{*this};
        if (!NomTabCheckBox.checked) {
            NomTabComboBox.enabled = true;
            SetFocus(&NomTabComboBox);
            return;
        }
    }
    if (NomTabCheckBox.checked) {
        const FindResult active = FindKey(m_tableList.keys, m_tableName);
        NomTabComboBox.itemIndex = active.found ? active.index : -1;
        NomTabComboBox.text = NomTabComboBox.SelectedText();
        NomTabComboBox.enabled = false;
        RetBitBtn.enabled = true;
        CopIngBitBtn.enabled = false;
        if (!m_viewingActive) {
            ViewActiveTable();
        }
        return;
    }
    NomTabComboBox.enabled = true;
    RetBitBtn.enabled = false;
    CopIngBitBtn.enabled = true;
    SetFocus(&NomTabComboBox);
}

void TVisLisIngForm::NomTabComboBoxChange() {
    const int index = NomTabComboBox.itemIndex;
    if (index < 0 || index >= m_tableList.keys.Count()) {
        return;
    }
    const FindResult active = FindKey(m_tableList.keys, m_tableName);
    if (active.found && active.index == index) {
        NomTabCheckBox.checked = true;
        NomTabCheckBoxClick();
        return;
    }
    // The active table's view is remembered when the viewer turns away from it, so that
    // coming back to it finds it as it was.
    if (m_viewingActive) {
        SaveState();
    }
    if (!ViewOtherTable(index)) {
        const FindResult viewed = FindKey(m_tableList.keys, m_viewedName);
        NomTabComboBox.itemIndex = viewed.found ? viewed.index : -1;
        NomTabComboBox.text = NomTabComboBox.SelectedText();
    }
}

// ---- filter, ordering, keyword ----

void TVisLisIngForm::AtiFilCheckBoxClick() {
    m_core.FilterBoxClick();
}

void TVisLisIngForm::NomGruComboBoxChange() {
    BuildList();
}

void TVisLisIngForm::AtiOrdCheckBoxClick() {
    m_core.OrderBoxClick();
}

void TVisLisIngForm::NomCamComboBoxChange() {
    BuildList();
}

void TVisLisIngForm::PalChaCheckBoxClick() {
    if (!ToggleKeywordFilter(*this, PalChaCheckBox, PalChaMaskEdit, PalChaBitBtn)) {
        return;
    }
    m_words.clear();
    BuildList();
}

// Enter in the keyword field applies it, as "Ok" does.
void TVisLisIngForm::PalChaMaskEditKeyPress(char& key) {
    if (key == '\r') {
        key = 0;
        PalChaBitBtnClick();
    }
}

void TVisLisIngForm::PalChaBitBtnClick() {
    PalChaMaskEdit.text = FoldAccents(PalChaMaskEdit.text);
    m_words = SplitKeywordWords(PalChaMaskEdit.text);
    BuildList();
}

// ---- movement ----

void TVisLisIngForm::PriBitBtnClick() {
    m_core.First();
}

void TVisLisIngForm::BitBtn1Click() {
    m_core.Back();
}

void TVisLisIngForm::BitBtn3Click() {
    m_core.Forward();
}

void TVisLisIngForm::UltBitBtnClick() {
    m_core.Last();
}

// ---- choosing, copying, leaving ----

void TVisLisIngForm::CopySelected() {
    const std::string* row = m_core.SelectedRow();
    if (row == nullptr || m_active == nullptr) {
        return;
    }
    const CopySourceTable source =
        m_viewingActive ? CopySourceTable{m_tableName, {}, {}} : m_viewed;
    const bool writable = m_activeTable.editable && m_activeWritable && !m_active->lines.Damaged();
    if (CopyIngredient(m_ui, m_programFolder, writable, m_tableName, *m_active, source, *row)) {
        copied = true;
        if (companions != nullptr) {
            companions->IngredientCopied(source, RecordKey(*row));
        }
    }
}

void TVisLisIngForm::CopIngBitBtnClick() {
    CopySelected();
}

void TVisLisIngForm::LisFilOrdListBoxDblClick() {
    if (m_viewingActive || m_pick) {
        Leave();
    } else {
        CopySelected();
    }
}

void TVisLisIngForm::LisFilOrdListBoxKeyPress(char& key) {
    if (key != '\r') {
        return;
    }
    key = 0;
    if (m_viewingActive || m_pick) {
        Leave();
    } else if (m_core.SelectedRow() != nullptr &&
               m_ui.ShowMessageBox(W("Copia ingrediente para tabela ativa?"), MessageKind::YesNo) ==
                   kAnswerYes) {
        CopySelected();
    }
}

void TVisLisIngForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

void TVisLisIngForm::RetBitBtnClick() {
    Leave();
}

bool TVisLisIngForm::FormCloseQuery() {
    if (m_open) {
        Leave();
    }
    return true;
}

void TVisLisIngForm::Leave() {
    if (!m_open) {
        Close(kAnswerOk);
        return;
    }
    m_open = false;
    if (m_pick && !m_viewingActive) {
        if (const std::string* row = m_core.SelectedRow()) {
            pickedTable = m_viewedName;
            pickedRow = *row;
        }
    }
    if (copied) {
        try {
            // The ingredient file and the files that go with it, all of them or none.
            ProgressSink& progress = m_ui.Progress();
            progress.Begin(100);
            struct EndProgress {
                ProgressSink& sink;
                ~EndProgress() { sink.End(); }
            } endProgress{progress};
            FileBatch files;
            files.Add(IngredientFilePath(m_programFolder, m_tableName),
                      ScrambledLineTableBytes(m_active->lines));
            if (companions != nullptr) {
                for (const auto& [path, bytes] : companions->CompanionFiles()) {
                    files.Add(path, bytes);
                }
            }
            files.Commit();
            wroteFile = true;
        } catch (const StorageError&) {
            // The copies stay in the caller's table, which writes it when it is left.
            m_ui.ShowMessageBox(W(msg::kInsertFailed), MessageKind::Ok);
        }
    }
    // Leaving from another table (the close box): the active table's view was saved
    // when the viewer turned away from it.
    if (m_viewingActive) {
        SaveState();
    }
    chosenIndex = m_core.ChosenIndex(m_active->keys);
    m_core.rows = nullptr;
    m_other.Clear();
    m_tableList.Clear();
    LisFilOrdListBox.items.clear();
    LisFilOrdListBox.itemIndex = -1;
    Close(kAnswerOk);
}

LayoutItem TVisLisIngForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Row({L::Of(NomTabCheckBox), L::Of(NomTabComboBox), L::Stretch(), L::Of(CopIngBitBtn)}),
        L::Row({L::Of(AtiFilCheckBox), L::Of(NomGruComboBox), L::Of(AtiOrdCheckBox),
                L::Of(NomCamComboBox), L::Stretch()}),
        L::Row({L::Of(PalChaCheckBox), L::Of(PalChaMaskEdit), L::Of(PalChaBitBtn), L::Stretch()}),
        L::Of(CabLabel),
        L::Of(LisFilOrdListBox),
        L::Row({L::Of(PriBitBtn), L::Of(BitBtn1), L::Of(BitBtn3), L::Of(UltBitBtn), L::Stretch(),
                L::Of(AjuBitBtn), L::Of(RetBitBtn)}),
    });
}

}  // namespace velmaro
