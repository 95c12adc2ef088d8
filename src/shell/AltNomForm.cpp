#include "shell/AltNomForm.h"

#include "platform/Interaction.h"
#include "shell/NameRules.h"
#include "storage/Cp1252.h"

namespace velmaro {

TAltNomForm::TAltNomForm(Ui& ui)
    : Form("TAltNomForm"),
      NomAtuMaskEdit(*this, "NomAtuMaskEdit"),
      NovNomMaskEdit(*this, "NovNomMaskEdit"),
      ConBitBtn(*this, "ConBitBtn", W("Confirma alteração do nome")),
      CanBitBtn(*this, "CanBitBtn", W("Cancela alteração do nome")),
      m_ui(ui) {
    caption = "TELA ALTERA NOME";
    NomAtuMaskEdit.label = "Nome atual";
    NomAtuMaskEdit.enabled = false;
    NovNomMaskEdit.label = "Novo nome";
    ConBitBtn.modalResult = kConfirmed;
    CanBitBtn.modalResult = kCancelled;
    onActivate = [this] { FormActivate(); };
    onKeyPress = [this](char& key) { FormKeyPress(key); };
    NovNomMaskEdit.onKeyPress = [this](char& key) { NovNomMaskEditKeyPress(key); };
    ConBitBtn.onClick = [this] { ConBitBtnClick(); };
    CanBitBtn.onClick = [this] { CanBitBtnClick(); };
}

void TAltNomForm::Prepare(const std::string& title, const std::string& editMask,
                          const std::string& currentName) {
    ResetClose();
    caption = title.empty() ? std::string("TELA ALTERA NOME") : title;
    NomAtuMaskEdit.SetMask(editMask);
    NovNomMaskEdit.SetMask(editMask);
    NomAtuMaskEdit.text = currentName;
    NovNomMaskEdit.Clear();
}

void TAltNomForm::FormActivate() {
    SetFocus(&NovNomMaskEdit);
}

// Enter walks to the next control, like Tab.
void TAltNomForm::FormKeyPress(char& key) {
    EnterMovesToNextControl(*this, key);
}

void TAltNomForm::NovNomMaskEditKeyPress(char& key) {
    RefuseForbiddenChar(m_ui, key);
}

void TAltNomForm::ConBitBtnClick() {
    Close(kConfirmed);
}
void TAltNomForm::CanBitBtnClick() {
    Close(kCancelled);
}

LayoutItem TAltNomForm::Layout() {
    return LayoutItem::Column(
        {LayoutItem::Of(NomAtuMaskEdit), LayoutItem::Of(NovNomMaskEdit),
         LayoutItem::Row({LayoutItem::Of(ConBitBtn), LayoutItem::Of(CanBitBtn)})});
}

}  // namespace velmaro
