#pragma once

// The list picker: the caller sets the caption, fills the list and selects an entry;
// a double click or Enter on the list closes it, and so does the close box, which
// leaves the preselected entry as the choice.

#include <string>
#include <vector>

#include "platform/Form.h"

namespace velmaro {

class TLisForm : public Form {
  public:
    TLisForm();

    velmaro::ListBox ListBox;

    void Fill(const std::string& title, const std::vector<std::string>& items, int preselected);

    void ListBoxDblClick();
    void ListBoxKeyPress(char& key);

    LayoutItem Layout() override;
};

}  // namespace velmaro
