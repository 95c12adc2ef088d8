#pragma once

// The household measures of the ingredients of a composition table: one measures file
// per ingredient ("Medidas\<ingredient>.med"), each record a measure's name (20
// characters) and the weight or volume of one measure ("999999,9"). The file is created
// when its ingredient is chosen. A measure used in preparations cannot be altered or
// deleted, and a rename is carried into the preparations' ingredient lines.

#include <filesystem>
#include <optional>
#include <string>

#include "ingredients/MeasureUsage.h"
#include "platform/Ui.h"
#include "shell/RegisterScreen.h"

namespace velmaro {

class TCadMedCas2Form : public RegisterScreen {
  public:
    TCadMedCas2Form(Ui& ui, std::filesystem::path programFolder);

    ComboBox NomIngComboBox;  // the ingredient whose measures are shown
    MaskEdit MedCasMaskEdit;  // key: the measure's name, 20 characters
    Button AltNomBitBtn;      // rename
    MaskEdit QuaMaskEdit;     // grams (or millilitres) of one measure, "999999,9"
    Label UniLabel;           // "(g)" beside the quantity

    // The current ingredient: its key as stored (60 characters, padded).
    std::string currentIngredient;

    void NomIngComboBoxChange();             // IngredientChanged
    void NomIngComboBoxExit(Control* next);  // IngredientLeft

    LayoutItem Layout() override;

    static constexpr const char* kQuantityMask = "999999,9;1;_";

  protected:
    std::string Title() const override;
    std::string ListTitle() const override;
    std::filesystem::path TablePath() const override;
    void ShowRecord(int index) override;
    std::string ComposeRecord() const override;
    void ClearFields() override;
    void LoadTable() override;
    void StartScreen() override;
    std::optional<int> ChooseRecord() override;
    bool RecordInUse() override;       // CheckMeasureInUse for a deletion
    bool RefuseAlteration() override;  // CheckMeasureInUse for an alteration
    std::string RenameCaption() const override;
    std::string RenameExistsMessage() const override;
    void SaveRenamed(const std::string& oldName,
                     const std::string& newName) override;  // RenameMeasure

  private:
    // The in-use scan and report; true when the measure is used (or the scan failed).
    bool CheckMeasureInUse(MeasureChange change);
};

}  // namespace velmaro
