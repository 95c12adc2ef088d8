#pragma once

// The rename dialog: the current name (read only) and the new name, both with the edit
// mask of the caller's key field.

#include <string>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

class TAltNomForm : public Form {
  public:
    explicit TAltNomForm(Ui& ui);

    MaskEdit NomAtuMaskEdit;
    MaskEdit NovNomMaskEdit;
    Button ConBitBtn;
    Button CanBitBtn;

    // Modal results of the two buttons.
    static constexpr int kConfirmed = 1;
    static constexpr int kCancelled = 2;

    void Prepare(const std::string& title, const std::string& editMask,
                 const std::string& currentName);

    void FormActivate();
    void FormKeyPress(char& key);
    void NovNomMaskEditKeyPress(char& key);
    void ConBitBtnClick();
    void CanBitBtnClick();

    LayoutItem Layout() override;

  private:
    Ui& m_ui;
};

}  // namespace velmaro
