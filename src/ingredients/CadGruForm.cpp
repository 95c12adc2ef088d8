#include "ingredients/CadGruForm.h"

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

bool IsIngredient(GroupKind kind) {
    return kind == GroupKind::Ingredient;
}

std::string NameMask(GroupKind kind) {
    return Replicate("c", IsIngredient(kind) ? 20 : 30) + ";1;_";
}

// The items-in-use report's message; `name` without its trailing spaces.
std::string InUseMessage(GroupKind kind, const std::string& name) {
    if (IsIngredient(kind)) {
        return W(" O grupo de ingrediente <<<") + name +
               W(">>>// não pode ser excluido porque é o grupo definido para os//"
                 " ingredientes listados abaixo. Se realmente deseja excluí-lo,//"
                 " você deve alterar o grupo dos ingredientes da lista.//"
                 " Para facilitar seu trabalho imprima ou salve a lista.//");
    }
    return W(" O grupo de preparação <<<") + name +
           W(">>>// não pode ser excluido porque é o grupo definido para as//"
             " preparações listadas abaixo. Se realmente deseja excluí-lo,//"
             " você deve alterar o grupo das preparações da lista.//"
             " Para facilitar seu trabalho imprima ou salve a lista.");
}

}  // namespace

TCadGruForm::TCadGruForm(std::string className, Ui& ui, std::filesystem::path folder,
                         GroupKind kind)
    : RegisterScreen(std::move(className), ui, std::move(folder)),
      GruMaskEdit(*this, "GruMaskEdit", NameMask(kind)),
      AltNomBitBtn(*this, "AltNomBitBtn", ""),
      m_kind(kind) {
    caption = IsIngredient(kind) ? "Cadastro de Grupo de Ingredientes"
                                 : W("Cadastro de Grupo de Preparações");
    GruMaskEdit.label = "Nome do Grupo";
    AltNomBitBtn.hint = IsIngredient(kind) ? "Altera nome do Grupo de Ingrediente"
                                           : W("Altera nome do Grupo de Preparação");
    SetKeyField(GruMaskEdit);
    SetRenameButton(AltNomBitBtn);
}

int TCadGruForm::NameWidth() const {
    return IsIngredient(m_kind) ? 20 : 30;
}

std::string TCadGruForm::Title() const {
    const std::string prefix = IsIngredient(m_kind)
                                   ? "CADASTRO DE GRUPOS DE INGREDIENTES - Tabela ativa : "
                                   : W("CADASTRO DE GRUPOS DE PREPARAÇÕES - Tabela ativa : ");
    return prefix + TrimTrailingSpaces(tableName);
}

std::string TCadGruForm::ListTitle() const {
    return "LISTA DE GRUPOS";
}

std::filesystem::path TCadGruForm::TablePath() const {
    return IsIngredient(m_kind) ? IngredientGroupsPath(programFolder, tableName)
                                : PreparationGroupsPath(programFolder, tableName);
}

void TCadGruForm::ShowRecord(int index) {
    PutText(GruMaskEdit, GetRecordField(table.lines, index, 1));
}

std::string TCadGruForm::ComposeRecord() const {
    return GruMaskEdit.text + "|";
}

void TCadGruForm::ClearFields() {
    GruMaskEdit.Clear();
}

bool TCadGruForm::RecordInUse() {
    const std::string group = GetRecordField(table.lines, currentIndex, 1);
    std::vector<std::string> users;
    try {
        const GroupUsers records =
            ReadGroupUsers(m_kind, programFolder, tableName, m_ui.Progress());
        users = RecordsInGroup(records, group, m_ui.Progress());
    } catch (const StorageError&) {
        // Without the records it cannot be told whether the group is used: kept.
        Tell(msg::kDeleteFailed);
        return true;
    }
    if (users.empty()) {
        return false;
    }
    m_ui.ShowItemsInUse(InUseMessage(m_kind, TrimTrailingSpaces(group)), users);
    return true;
}

std::string TCadGruForm::RenameCaption() const {
    return IsIngredient(m_kind) ? "Altera nome do grupo de ingredientes"
                                : W("Altera nome do grupo de preparações");
}

std::string TCadGruForm::RenameExistsMessage() const {
    return W("Nome do grupo já existe!");
}

// The records that use the group are read and renamed in memory first; their file and
// the group file are then written together (both or neither), and on a failure the base
// undoes the rename in memory and reports it.
void TCadGruForm::SaveRenamed(const std::string& oldName, const std::string& newName) {
    ProgressSink& progress = m_ui.Progress();
    GroupUsers users = ReadGroupUsers(m_kind, programFolder, tableName, progress);
    RenameGroupInRecords(users, oldName, newName, progress);
    WriteAllOrRestore({{users.path, GroupUsersBytes(users)}, {TablePath(), TableBytes()}});
}

TCadGruIngForm::TCadGruIngForm(Ui& ui, std::filesystem::path folder)
    : TCadGruForm("TCadGruIngForm", ui, std::move(folder), GroupKind::Ingredient) {}

TCadGruPreForm::TCadGruPreForm(Ui& ui, std::filesystem::path folder)
    : TCadGruForm("TCadGruPreForm", ui, std::move(folder), GroupKind::Preparation) {}

}  // namespace velmaro
