#pragma once

// The table register: the names and descriptions of the ingredient composition tables
// ("ArqTab.dad"). Tables the user creates carry "1" in field 3 and may be changed; the
// others come with the installation and can only be consulted. Each table also says
// whether its carbohydrate includes dietary fibre (TableCarbohydrate.h): a choice for the
// user's tables, "Não" unless chosen, shown for the supplied ones as their file says.

#include <filesystem>
#include <string>

#include "platform/Ui.h"
#include "shell/RegisterScreen.h"

namespace velmaro {

class TCadTabForm : public RegisterScreen {
  public:
    TCadTabForm(Ui& ui, std::filesystem::path programFolder);

    MaskEdit TabMaskEdit;     // key: the table name, 20 characters
    MaskEdit DesTabMaskEdit;  // the description, 65 characters
    ComboBox CarFibComboBox;  // "Carboidrato inclui fibra alimentar": "Não" / "Sim"

    static constexpr const char* kNameMask = "cccccccccccccccccccc;1;_";

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override;
    void ClearFields() override;
    bool DataFieldsEditable() const override;
    bool RefuseReadOnly() override;
    // Also the names of the files all tables share in "Dados".
    bool RefuseKeyName(std::string_view name) override;
    // A table created again under the name of one deleted finds its old choice.
    void ApplyMode() override;
    // The choice is written first, then the table list; when the list cannot be written
    // the choice is put back, so that a failure changes nothing.
    void SaveAfterChange() override;

  private:
    // Field 3 of the record at the current index is "1".
    bool CurrentRecordEditable() const;
    // Shows the stored choice of `tableKey`; a file that cannot be read is told and leaves
    // the choice unselected (Grava then keeps the file as it is).
    void ShowFibreChoice(std::string_view tableKey);
};

}  // namespace velmaro
