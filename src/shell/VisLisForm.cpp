#include "shell/VisLisForm.h"

#include "shell/ScreenMessages.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

constexpr const char* kListFont = "Courier New";
constexpr int kButtonWidth = 90;

}  // namespace

TVisLisForm::TVisLisForm(Ui& ui)
    : Form("TVisLisForm"),
      AtiFilCheckBox(*this, "AtiFilCheckBox", "Filtra Lista"),
      NomGruComboBox(*this, "NomGruComboBox"),
      AtiOrdCheckBox(*this, "AtiOrdCheckBox", "Ordena Lista"),
      NomCamComboBox(*this, "NomCamComboBox"),
      CabMemo(*this, "CabMemo"),
      LisFilOrdListBox(*this, "LisFilOrdListBox"),
      PriBitBtn(*this, "PriBitBtn", "&Primeiro"),
      BitBtn1(*this, "BitBtn1", "&Volta"),
      BitBtn3(*this, "BitBtn3", W("&Avança")),
      UltBitBtn(*this, "UltBitBtn", W("&Último")),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      m_ui(ui),
      m_core(*this, AtiFilCheckBox, NomGruComboBox, AtiOrdCheckBox, NomCamComboBox,
             LisFilOrdListBox) {
    caption = "VISUALIZA LISTA";
    width = 980;
    height = 600;
    CabMemo.readOnly = true;
    CabMemo.fontFamily = kListFont;
    CabMemo.height = 28;
    LisFilOrdListBox.fontFamily = kListFont;
    LisFilOrdListBox.fontBold = true;
    LisFilOrdListBox.height = 440;
    NomGruComboBox.width = 240;
    NomCamComboBox.width = 240;
    for (Button* b : {&PriBitBtn, &BitBtn1, &BitBtn3, &UltBitBtn, &AjuBitBtn, &RetBitBtn}) {
        b->width = kButtonWidth;
    }
    m_core.rebuild = [this] { BuildList(); };

    onActivate = [this] { FormActivate(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    AtiFilCheckBox.onClick = [this] { AtiFilCheckBoxClick(); };
    NomGruComboBox.onChange = [this] { NomGruComboBoxChange(); };
    AtiOrdCheckBox.onClick = [this] { AtiOrdCheckBoxClick(); };
    NomCamComboBox.onChange = [this] { NomCamComboBoxChange(); };
    PriBitBtn.onClick = [this] { PriBitBtnClick(); };
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    BitBtn3.onClick = [this] { BitBtn3Click(); };
    UltBitBtn.onClick = [this] { UltBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
    LisFilOrdListBox.onDblClick = [this] { LisFilOrdListBoxDblClick(); };
    LisFilOrdListBox.onKeyPress = [this](char& key) { LisFilOrdListBoxKeyPress(key); };
}

void TVisLisForm::Prepare(const ListViewerInput& input) {
    m_input = input;
    chosenIndex = 0;
    startPending = true;
}

void TVisLisForm::FormActivate() {
    if (!startPending) {
        return;  // back from the help screen
    }
    startPending = false;
    m_open = true;
    chosenIndex = 0;
    caption = "VISUALIZA LISTA DE " + m_input.kind + " - TABELA ATIVA : " + m_input.tableName;
    CabMemo.lines = {m_input.header};
    NomCamComboBox.items = m_input.columnNames;
    NomGruComboBox.items =
        m_input.groups != nullptr ? m_input.groups->Items() : std::vector<std::string>();
    m_core.rows = m_input.rows != nullptr ? &m_input.rows->Items() : nullptr;
    m_core.groupField = m_input.groupField;
    m_core.callerIndex = m_input.currentIndex;
    m_core.firstBuild = true;
    try {
        m_core.RestoreState(IniFile(ConfigFilePath()), m_input.section);
    } catch (const StorageError&) {
        m_core.RestoreState(IniFile::FromBytes(""), m_input.section);
    }
    BuildList();
    SetFocus(&LisFilOrdListBox);
}

void TVisLisForm::BuildList() {
    m_core.Build(nullptr);
}

void TVisLisForm::AtiFilCheckBoxClick() {
    m_core.FilterBoxClick();
}

void TVisLisForm::NomGruComboBoxChange() {
    BuildList();
}

void TVisLisForm::AtiOrdCheckBoxClick() {
    m_core.OrderBoxClick();
}

void TVisLisForm::NomCamComboBoxChange() {
    BuildList();
}

void TVisLisForm::PriBitBtnClick() {
    m_core.First();
}

void TVisLisForm::BitBtn1Click() {
    m_core.Back();
}

void TVisLisForm::BitBtn3Click() {
    m_core.Forward();
}

void TVisLisForm::UltBitBtnClick() {
    m_core.Last();
}

void TVisLisForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

void TVisLisForm::RetBitBtnClick() {
    Leave();
}

void TVisLisForm::LisFilOrdListBoxDblClick() {
    Leave();
}

void TVisLisForm::LisFilOrdListBoxKeyPress(char& key) {
    if (key == '\r') {
        key = 0;
        Leave();
    }
}

bool TVisLisForm::FormCloseQuery() {
    if (m_open) {
        Leave();
    }
    return true;
}

void TVisLisForm::Leave() {
    if (m_open) {
        m_open = false;
        try {
            IniFile ini(ConfigFilePath());
            ini.Hold();
            m_core.SaveFilterAndOrder(ini, m_input.section);
            m_core.SavePosition(ini, m_input.section);
            ini.Commit();
        } catch (const StorageError&) {
            m_ui.ShowMessageBox(W(msg::kAlterFailed), MessageKind::Ok);
        }
        static const KeyList kNoKeys;
        chosenIndex = m_core.ChosenIndex(m_input.keys != nullptr ? *m_input.keys : kNoKeys);
        m_core.rows = nullptr;
        LisFilOrdListBox.items.clear();
        LisFilOrdListBox.itemIndex = -1;
    }
    Close(kAnswerOk);
}

LayoutItem TVisLisForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Row({L::Of(AtiFilCheckBox), L::Of(NomGruComboBox), L::Of(AtiOrdCheckBox),
                L::Of(NomCamComboBox), L::Stretch()}),
        L::Of(CabMemo),
        L::Of(LisFilOrdListBox),
        L::Row({L::Of(PriBitBtn), L::Of(BitBtn1), L::Of(BitBtn3), L::Of(UltBitBtn), L::Stretch(),
                L::Of(AjuBitBtn), L::Of(RetBitBtn)}),
    });
}

}  // namespace velmaro
