#pragma once

// The items-in-use report: a message split into lines at "//", a line of "=", then the
// items that keep a record from being deleted. The user can print or save the list.

#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

class TIteVerForm : public Form {
  public:
    explicit TIteVerForm(Ui& ui);

    ListBox IteVerListBox;
    Button BitBtn1;  // "Imprime Lista"
    Button BitBtn2;  // "Salva lista"
    Button BitBtn3;  // "Continua"

    void Fill(const std::string& message, const std::vector<std::string>& items);

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    LayoutItem Layout() override;

  private:
    Ui& m_ui;
};

// The lines of the report's message: split at each "//"; a message ending in "//" gives
// no empty last line.
std::vector<std::string> SplitReportMessage(const std::string& message);

}  // namespace velmaro
