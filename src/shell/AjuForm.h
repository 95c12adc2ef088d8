#pragma once

// The help screen: shows the help file of the data home, writes it back when the
// screen loses the focus, and prints it with a new print job at each page-break line.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

class TAjuForm : public Form {
  public:
    TAjuForm(Ui& ui, std::filesystem::path programFolder);

    Memo AjuMemo;
    Button ImpBitBtn;
    Button BitBtn1;  // "&Retorna"

    void FormActivate();
    void FormDeactivate();
    void ImpBitBtnClick();
    void BitBtn1Click();

    LayoutItem Layout() override;

  private:
    Ui& m_ui;
    std::filesystem::path m_programFolder;
    bool m_loaded = false;  // the file was read: only then may it be written back
    std::vector<std::string> m_loadedLines;
};

// The help lines cut into print jobs at the lines holding "<quebra página>" (those
// lines are not printed): n page-break lines give n + 1 pages.
std::vector<std::vector<std::string>> SplitHelpPages(const std::vector<std::string>& lines);

}  // namespace velmaro
