#pragma once

// The method-of-preparation text of one preparation: a free text of at most 32 lines of
// 70 characters, kept in its own file beside the preparation list and printed by the
// technical-sheet reports.
//
// Opening: the preparation register sets `tableName`, `preparationName`, the caption of
// NomPreLabel and `startPending`, then shows the screen.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"
#include "preparations/MethodText.h"

namespace velmaro {

class TCadRecForm : public Form {
  public:
    TCadRecForm(Ui& ui, std::filesystem::path programFolder);

    Label NomPreLabel;  // the preparation's name
    Memo RecMemo;       // the text, fixed pitch
    Button GraBitBtn;   // "&Grava": save with a question
    Button ImpBitBtn;   // "&Imprime": save without one
    Button AjuBitBtn;
    Button RetBitBtn;

    std::filesystem::path programFolder;
    std::string tableName;        // the active table's key as stored
    std::string preparationName;  // the preparation's key as stored
    bool dirty = false;           // the text changed since it was loaded or saved

    void FormActivate();
    bool FormCloseQuery();
    void RecMemoChange();
    void RecMemoKeyPress(char& key);
    void GraBitBtnClick();
    void ImpBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();

    LayoutItem Layout() override;

    static constexpr int kMaxLines = 32;
    static constexpr int kLineWidth = 70;
    static constexpr int kMaxChars = kMaxLines * kLineWidth;

  private:
    // Writes the text to its file; false (with the error shown) when it cannot.
    bool Save();
    // Leaving with unsaved changes: asks whether to save them. False when the screen
    // is to stay open (the answer was SIM and the text could not be saved).
    bool ConfirmLeave();

    Ui& m_ui;
    MethodText m_text;         // the text as last taken, with the kinds of its breaks
    bool m_backspace = false;  // the edit under way is a Backspace
};

}  // namespace velmaro
