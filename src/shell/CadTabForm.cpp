#include "shell/CadTabForm.h"

#include "shell/NameRules.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

TCadTabForm::TCadTabForm(Ui& ui, std::filesystem::path folder)
    : RegisterScreen("TCadTabForm", ui, std::move(folder)),
      TabMaskEdit(*this, "TabMaskEdit", kNameMask),
      DesTabMaskEdit(*this, "DesTabMaskEdit", Replicate("c", 65) + ";0;_"),
      CarFibComboBox(*this, "CarFibComboBox") {
    caption = "Cadastro de tabelas";
    TabMaskEdit.label = "Nome da tabela";
    DesTabMaskEdit.label = W("Descrição da tabela");
    SetKeyField(TabMaskEdit);
    AddTextField(DesTabMaskEdit);
    CarFibComboBox.label = "Carboidrato inclui fibra alimentar";
    CarFibComboBox.items = {W("Não"), "Sim"};
    CarFibComboBox.itemIndex = 0;
    CarFibComboBox.hint =
        W("Sim: o carboidrato da tabela é o total (por diferença), com a fibra "
          "alimentar; o rótulo do modelo 5 declara carboidrato - fibra.");
    AddDataField(CarFibComboBox);
}

namespace {

constexpr int kNo = 0;
constexpr int kYes = 1;

}  // namespace

void TCadTabForm::ShowFibreChoice(std::string_view tableKey) {
    try {
        CarFibComboBox.itemIndex = CarbohydrateIncludesFibre(programFolder, tableKey) ? kYes : kNo;
    } catch (const StorageError& e) {
        CarFibComboBox.itemIndex = -1;
        m_ui.ShowMessageBox(*Utf8ToCp1252(e.what(), '?'), MessageKind::Ok);
    }
    CarFibComboBox.text = CarFibComboBox.SelectedText();
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
    ShowFibreChoice(GetRecordField(table.lines, index, 1));
}

std::string TCadTabForm::ComposeRecord() const {
    return TabMaskEdit.text + "|" + DesTabMaskEdit.text + "|1|";
}

void TCadTabForm::ClearFields() {
    TabMaskEdit.Clear();
    DesTabMaskEdit.Clear();
    CarFibComboBox.itemIndex = kNo;
    CarFibComboBox.text = CarFibComboBox.SelectedText();
}

void TCadTabForm::ApplyMode() {
    const bool entering = mode == ScreenMode::Inserting && !dirty;
    RegisterScreen::ApplyMode();
    if (entering && !IsAllSpaces(TabMaskEdit.text)) {
        try {
            if (StoredCarbohydrateIncludesFibre(programFolder, TabMaskEdit.text)) {
                ShowFibreChoice(TabMaskEdit.text);
            }
        } catch (const StorageError&) {
            ShowFibreChoice(TabMaskEdit.text);  // tells what is wrong with the file
        }
    }
}

void TCadTabForm::SaveAfterChange() {
    const bool storing = mode == ScreenMode::Inserting || mode == ScreenMode::Altering;
    const int chosen = CarFibComboBox.itemIndex;
    if (!storing || (chosen != kNo && chosen != kYes)) {
        SaveTable();
        return;
    }
    const std::string name = TabMaskEdit.text;
    const std::filesystem::path path = CarbohydrateFibreFileLocation(programFolder, name);
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    // "Não" needs no file: a new table keeps to the table list alone.
    if (!existed && chosen == kNo) {
        SaveTable();
        return;
    }
    const std::string before = existed ? ReadFileBytes(path) : std::string();
    StoreCarbohydrateIncludesFibre(programFolder, name, chosen == kYes);
    try {
        SaveTable();
    } catch (const StorageError&) {
        try {
            if (existed) {
                WriteFileAtomic(path, before);
            } else {
                std::filesystem::remove(path, ec);
            }
        } catch (const StorageError&) {
            // The failure of the table list is the one told.
        }
        throw;
    }
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
