#pragma once

// What the two list viewers share: the group filter and the ordering with their check
// boxes and drop-downs, the list built from them, the four movement buttons, the state
// remembered in a section of the configuration file, and the record given back. The
// viewer forms own the controls; this works on them.

#include <functional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"

namespace velmaro {

// The keyword filter's check box of a viewer: on, the keyword field and its "Ok" open and
// the field takes the focus; off, they close and the field empties. True when the filter
// was turned off: the viewer then forgets its keywords and builds its list again.
bool ToggleKeywordFilter(Form& form, const CheckBox& box, MaskEdit& words, Button& ok);

class ListViewerCore {
  public:
    ListViewerCore(Form& form, CheckBox& filterBox, ComboBox& groupBox, CheckBox& orderBox,
                   ComboBox& columnBox, ListBox& list);

    // The rows listed (a record a line) and the field that holds their group. The n-th
    // entry of the column drop-down orders by field n.
    const std::vector<std::string>* rows = nullptr;
    int groupField = 0;
    // Selected after a build that narrowed or ordered the list ("PosFilOrd"); 0 after
    // every build.
    int rememberedPosition = 0;
    // Selected by the first build of an opening that neither narrowed nor ordered.
    int callerIndex = 0;
    bool firstBuild = true;
    // Rebuilds the list as the form does it (with its keyword); run when a check box is
    // unchecked or an entry is chosen.
    std::function<void()> rebuild;

    // Builds the list from `rows` with the filter and ordering chosen and the keyword
    // words (null: no keyword), shows it and selects the row due.
    void Build(const std::vector<std::string>* words);

    void FilterBoxClick();
    void OrderBoxClick();
    void First();
    void Back();     // by a quarter of the rows, down to the first
    void Forward();  // by a quarter of the rows, up to the last
    void Last();

    // Filter and ordering off, nothing chosen.
    void ResetFilters();
    // "AtiFil", "GruFil", "AtiOrd", "CamOrd" and "PosFilOrd" of `section`; names that
    // are not among the entries choose nothing.
    void RestoreState(const IniFile& ini, const std::string& section);
    // "AtiFil", "GruFil", "AtiOrd", "CamOrd" (names with the "|").
    void SaveFilterAndOrder(IniFile& ini, const std::string& section) const;
    // "PosFilOrd": the selected row, -1 when none.
    void SavePosition(IniFile& ini, const std::string& section) const;

    // The selected row, or null.
    const std::string* SelectedRow() const;
    // The index of the selected row's key in `keys`: 0 when no row is selected, -1 when
    // the key is not there.
    int ChosenIndex(const KeyList& keys) const;

  private:
    Form& m_form;
    CheckBox& m_filterBox;
    ComboBox& m_groupBox;
    CheckBox& m_orderBox;
    ComboBox& m_columnBox;
    ListBox& m_list;
};

}  // namespace velmaro
