#include "shell/CadTabForm.h"

#include "shell/NameRules.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/Text.h"

namespace velmaro {

TCadTabForm::TCadTabForm(Ui& ui, std::filesystem::path folder)
    : RegisterScreen("TCadTabForm", ui, std::move(folder)),
      TabMaskEdit(*this, "TabMaskEdit", kNameMask),
      DesTabMaskEdit(*this, "DesTabMaskEdit", Replicate("c", 65) + ";0;_") {
    caption = "Cadastro de tabelas";
    TabMaskEdit.label = "Nome da tabela";
    DesTabMaskEdit.label = W("Descrição da tabela");
    SetKeyField(TabMaskEdit);
    AddTextField(DesTabMaskEdit);
}

std::string TCadTabForm::Title() const {
    return "CADASTRA NOME PARA NOVA TABELA DE INGREDIENTES";
}

std::string TCadTabForm::ListTitle() const {
    return "LISTA DE NOMES DAS TABELAS";
}

std::filesystem::path TCadTabForm::TablePath() const {
    return TableListPath(programFolder);
}

void TCadTabForm::ShowRecord(int index) {
    PutText(TabMaskEdit, GetRecordField(table.lines, index, 1));
    PutText(DesTabMaskEdit, GetRecordField(table.lines, index, 2));
}

std::string TCadTabForm::ComposeRecord() const {
    return TabMaskEdit.text + "|" + DesTabMaskEdit.text + "|1|";
}

void TCadTabForm::ClearFields() {
    TabMaskEdit.Clear();
    DesTabMaskEdit.Clear();
}

bool TCadTabForm::CurrentRecordEditable() const {
    return currentIndex >= 0 && currentIndex < table.lines.Count() &&
           GetRecordField(table.lines, currentIndex, 3) == "1";
}

bool TCadTabForm::DataFieldsEditable() const {
    return CurrentRecordEditable();
}

bool TCadTabForm::RefuseReadOnly() {
    if (mode != ScreenMode::Altering && mode != ScreenMode::Deleting) {
        return false;
    }
    if (currentIndex < 0 || currentIndex >= table.lines.Count() || CurrentRecordEditable()) {
        return false;
    }
    const std::string name = TrimTrailingSpaces(GetRecordField(table.lines, currentIndex, 1));
    m_ui.ShowMessageBox(W("A tabela ") + name + W(" está disponível somente para consulta!"),
                        MessageKind::Ok);
    mode = ScreenMode::Showing;
    ApplyMode();
    return true;
}

bool TCadTabForm::RefuseKeyName(std::string_view name) {
    return RefuseTableName(m_ui, name);
}

}  // namespace velmaro
