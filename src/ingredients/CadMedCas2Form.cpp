#include "ingredients/CadMedCas2Form.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ingredients/FileRewrites.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr std::string_view kNoIngredients = "Não existem ingredientes cadastrados!";

}  // namespace

TCadMedCas2Form::TCadMedCas2Form(Ui& ui, std::filesystem::path folder)
    : RegisterScreen("TCadMedCas2Form", ui, std::move(folder)),
      NomIngComboBox(*this, "NomIngComboBox"),
      MedCasMaskEdit(*this, "MedCasMaskEdit", Replicate("c", 20) + ";1;_"),
      AltNomBitBtn(*this, "AltNomBitBtn", ""),
      QuaMaskEdit(*this, "QuaMaskEdit", kQuantityMask),
      UniLabel(*this, "UniLabel", "(g)") {
    caption = "Cadastro de medidas caseiras";
    NomIngComboBox.label = "Selecione um Ingrediente";
    MedCasMaskEdit.label = "Medida caseira";
    QuaMaskEdit.label = "Quantidade (g/ml)";
    AltNomBitBtn.hint = "Altera nome da medida caseira";
    SetKeyField(MedCasMaskEdit);
    SetRenameButton(AltNomBitBtn);
    AddNumericField(QuaMaskEdit);
    // Leaving a blank measure name for the ingredient choice is as silent as leaving it
    // for Retorna, Lista, Novo or Ajuda.
    MedCasMaskEdit.onExit = [this](Control* next) {
        if (next == &NomIngComboBox && IsAllSpaces(MedCasMaskEdit.text)) {
            return;
        }
        KeyFieldExit(next);
    };
    NomIngComboBox.onChange = [this] { NomIngComboBoxChange(); };
    NomIngComboBox.onExit = [this](Control* next) { NomIngComboBoxExit(next); };
}

std::string TCadMedCas2Form::Title() const {
    return "CADASTRO DE MEDIDAS CASEIRAS - Tabela ativa : " + tableName;
}

std::string TCadMedCas2Form::ListTitle() const {
    return "MEDIDAS CASEIRAS - " + TrimTrailingSpaces(currentIngredient) + " - (g/ml)";
}

std::filesystem::path TCadMedCas2Form::TablePath() const {
    return MeasureFilePath(programFolder, tableName, currentIngredient, true);
}

void TCadMedCas2Form::ShowRecord(int index) {
    PutText(MedCasMaskEdit, GetRecordField(table.lines, index, 1));
    PutText(QuaMaskEdit, GetRecordField(table.lines, index, 2));
}

std::string TCadMedCas2Form::ComposeRecord() const {
    return MedCasMaskEdit.text + "|" + QuaMaskEdit.text + "|";
}

void TCadMedCas2Form::ClearFields() {
    MedCasMaskEdit.Clear();
    QuaMaskEdit.Clear();
}

// The ingredients of the table become the choices; the first one is chosen and its
// measures file (created when missing) is loaded.
void TCadMedCas2Form::LoadTable() {
    LineTable ingredients;
    LoadScrambledLineTable(IngredientFilePath(programFolder, tableName), ingredients,
                           m_ui.Progress());
    NomIngComboBox.items = ingredients.keys.Items();
    NomIngComboBox.itemIndex = NomIngComboBox.items.empty() ? -1 : 0;
    NomIngComboBox.text = NomIngComboBox.SelectedText();
    currentIngredient = NomIngComboBox.SelectedText();
    table.Clear();
    if (!currentIngredient.empty()) {
        LoadLineTable(TablePath(), table);
    }
}

void TCadMedCas2Form::StartScreen() {
    if (NomIngComboBox.items.empty()) {
        Tell(kNoIngredients);
        Close();
        return;
    }
    RegisterScreen::StartScreen();
}

void TCadMedCas2Form::NomIngComboBoxChange() {
    MedCasMaskEdit.Clear();
    QuaMaskEdit.Clear();
}

void TCadMedCas2Form::NomIngComboBoxExit(Control* next) {
    table.Clear();
    currentIngredient = NomIngComboBox.SelectedText();
    currentIndex = 0;
    if (!currentIngredient.empty()) {
        try {
            LoadLineTable(TablePath(), table);
        } catch (const StorageError&) {
            // A file that cannot be read is not shown empty, to be overwritten later.
            table.Clear();
            Tell(msg::kReadFailed);
            Close();
            return;
        }
    }
    if (next != &LisBitBtn) {
        mode = ScreenMode::Empty;
        ApplyMode();
    }
}

// Lista shows the whole records, each measure beside its quantity.
std::optional<int> TCadMedCas2Form::ChooseRecord() {
    const int count = table.lines.Count();
    if (count == 0) {
        Tell(msg::kNoRecords);
        return std::nullopt;
    }
    const int preselected = std::clamp(currentIndex, 0, count - 1);
    return m_ui.PickFromList(ListTitle(), table.lines.Items(), preselected);
}

bool TCadMedCas2Form::CheckMeasureInUse(MeasureChange change) {
    const std::string measure = GetRecordField(table.lines, currentIndex, 1);
    std::vector<std::string> items;
    try {
        items = MeasureInUseItems(programFolder, tableName, currentIngredient, measure, change,
                                  m_ui.Progress());
    } catch (const StorageError&) {
        // Without the preparations it cannot be told whether the measure is used: kept.
        Tell(change == MeasureChange::Alteration ? msg::kAlterFailed : msg::kDeleteFailed);
        return true;
    }
    if (items.empty()) {
        return false;
    }
    const std::string name = TrimTrailingSpaces(measure);
    const std::string message =
        change == MeasureChange::Alteration
            ? W(" A medida caseira <<<") + name +
                  W(">>>// não pode ser alterada porque é a medida definida para os//"
                    " ingredientes nas preparações listadas abaixo. Se realmente//"
                    " deseja alterá-la você deve excluí-la para os//"
                    " ingredientes das preparações da lista abaixo.//"
                    " Para facilitar seu trabalho imprima ou salve a lista.")
            : W(" A medida caseira <<<") + name +
                  W(">>>// não pode ser excluida porque é a medida definida para os//"
                    " ingredientes nas preparações listadas abaixo. Se realmente//"
                    " deseja excluí-la você deve alterar a medida caseira para os//"
                    " ingredientes das preparações da lista abaixo.//"
                    " Para facilitar seu trabalho imprima ou salve a lista.");
    m_ui.ShowItemsInUse(message, items);
    return true;
}

bool TCadMedCas2Form::RecordInUse() {
    return CheckMeasureInUse(MeasureChange::Deletion);
}

bool TCadMedCas2Form::RefuseAlteration() {
    return CheckMeasureInUse(MeasureChange::Alteration);
}

std::string TCadMedCas2Form::RenameCaption() const {
    return "Altera nome da medida caseira";
}

std::string TCadMedCas2Form::RenameExistsMessage() const {
    return W("Nome da medida caseira já existe!");
}

// The preparations' ingredient files are read and renamed in memory first; the changed
// ones and the measures file are then written together (all of them or none), and on a
// failure the base undoes the rename in memory and reports it.
void TCadMedCas2Form::SaveRenamed(const std::string& oldName, const std::string& newName) {
    std::vector<FileRewrite> rewrites = MeasureRenameRewrites(
        programFolder, tableName, currentIngredient, oldName, newName, m_ui.Progress());
    rewrites.push_back({TablePath(), TableBytes()});
    WriteAllOrRestore(rewrites);
}

LayoutItem TCadMedCas2Form::Layout() {
    return LayoutItem::Column({
        ButtonBar(),
        LayoutItem::Row({LayoutItem::Of(NomIngComboBox), LayoutItem::Stretch()}),
        LayoutItem::Row(
            {LayoutItem::Of(MedCasMaskEdit), LayoutItem::Of(AltNomBitBtn), LayoutItem::Stretch()}),
        LayoutItem::Row(
            {LayoutItem::Of(QuaMaskEdit), LayoutItem::Of(UniLabel), LayoutItem::Stretch()}),
        LayoutItem::Stretch(),
    });
}

}  // namespace velmaro
