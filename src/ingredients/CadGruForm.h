#pragma once

// The group registers: one list of ingredient groups ("ArqGruIng.dad", names of 20
// characters, used in field 13 of the ingredient file) and one of preparation groups
// ("ArqGruPre.dad", 30 characters, field 39 of the preparation list) per composition
// table. Both are the same screen on different files; every confirmed change is written
// at once, a group still used by a record cannot be deleted, and a rename is carried into
// the records that use the group.

#include <filesystem>
#include <string>

#include "ingredients/GroupUsage.h"
#include "platform/Ui.h"
#include "shell/RegisterScreen.h"

namespace velmaro {

class TCadGruForm : public RegisterScreen {
  public:
    TCadGruForm(std::string className, Ui& ui, std::filesystem::path programFolder, GroupKind kind);

    MaskEdit GruMaskEdit;  // key: the group name
    Button AltNomBitBtn;   // rename

    GroupKind Kind() const { return m_kind; }
    int NameWidth() const;

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override;
    void ClearFields() override;
    bool RecordInUse() override;  // CheckGroupInUse
    std::string RenameCaption() const override;
    std::string RenameExistsMessage() const override;
    void SaveRenamed(const std::string& oldName,
                     const std::string& newName) override;  // RenameGroup

  private:
    GroupKind m_kind;
};

// Ingredient groups: main menu "Grupos de Ingredientes da Tabela Ativa".
class TCadGruIngForm : public TCadGruForm {
  public:
    TCadGruIngForm(Ui& ui, std::filesystem::path programFolder);
};

// Preparation groups: main menu "Grupos de Preparações da Tabela Ativa".
class TCadGruPreForm : public TCadGruForm {
  public:
    TCadGruPreForm(Ui& ui, std::filesystem::path programFolder);
};

}  // namespace velmaro
