#pragma once

// The configuration screen: fixes the active table and keeps the responsible
// technician's name and contact line that the technical-sheet reports print. It reads
// the configuration file at every opening and writes it only when the user saves.

#include <filesystem>
#include <string>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

class TCfgNutForm : public Form {
  public:
    TCfgNutForm(Ui& ui, std::filesystem::path programFolder);

    CheckBox FixTabCheckBox;
    ComboBox NomTabComboBox;
    MaskEdit NomTecMaskEdit;
    MaskEdit ConTecMaskEdit;
    Button GraBitBtn;
    Button AjuBitBtn;
    Button RetBitBtn;

    std::filesystem::path programFolder;
    std::string tableName;      // handed over by the main menu; the screen reads its own
    bool changed = false;       // any setting changed since activation
    bool tableChanged = false;  // the table selection changed since activation

    void FormActivate();
    void FormKeyPress(char& key);
    bool FormCloseQuery();
    void FixTabCheckBoxClick();
    void NomTabComboBoxChange();
    void NomTecMaskEditChange();
    void ConTecMaskEditChange();
    void GraBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();

    LayoutItem Layout() override;

    static constexpr const char* kTechnicianMask =
        "cccccccccccccccccccccccccccccccccccccccccccccccccc;0;_";

  private:
    void Load();
    void Unload();
    bool ConfirmLeave();

    Ui& m_ui;
    bool m_open = false;  // loaded and not yet closed
};

}  // namespace velmaro
