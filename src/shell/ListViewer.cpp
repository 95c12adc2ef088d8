#include "shell/ListViewer.h"

#include <algorithm>

#include "shell/ListBuilding.h"
#include "storage/Collation.h"
#include "storage/Config.h"

namespace velmaro {

namespace {

// The entry of a drop-down whose text is `name` (compared as keys are), or -1.
int IndexOfName(const ComboBox& box, const std::string& name) {
    if (name.empty()) {
        return -1;
    }
    for (size_t i = 0; i < box.items.size(); ++i) {
        if (box.items[i] == name) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < box.items.size(); ++i) {
        if (TextEquals(box.items[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Choose(ComboBox& box, int index) {
    box.itemIndex = index;
    box.text = index >= 0 ? box.items[static_cast<size_t>(index)] : std::string();
}

}  // namespace

ListViewerCore::ListViewerCore(Form& form, CheckBox& filterBox, ComboBox& groupBox,
                               CheckBox& orderBox, ComboBox& columnBox, ListBox& list)
    : m_form(form),
      m_filterBox(filterBox),
      m_groupBox(groupBox),
      m_orderBox(orderBox),
      m_columnBox(columnBox),
      m_list(list) {}

void ListViewerCore::Build(const std::vector<std::string>* words) {
    static const std::vector<std::string> kNoRows;
    ListQuery query;
    query.groupField = groupField;
    if (m_filterBox.checked && m_groupBox.itemIndex >= 0 &&
        m_groupBox.itemIndex < static_cast<int>(m_groupBox.items.size())) {
        query.group = &m_groupBox.items[static_cast<size_t>(m_groupBox.itemIndex)];
    }
    if (m_orderBox.checked && m_columnBox.itemIndex >= 0 &&
        m_columnBox.itemIndex < static_cast<int>(m_columnBox.items.size())) {
        query.orderField = m_columnBox.itemIndex + 1;
    }
    query.words = words;
    BuiltList built = BuildList(rows != nullptr ? *rows : kNoRows, query);

    int selection = 0;
    if (built.filteredOrOrdered) {
        selection = rememberedPosition;
    } else if (firstBuild) {
        selection = callerIndex;
    }
    m_list.items = std::move(built.rows);
    m_list.itemIndex =
        selection >= 0 && selection < static_cast<int>(m_list.items.size()) ? selection : -1;
    firstBuild = false;
    rememberedPosition = 0;
}

void ListViewerCore::FilterBoxClick() {
    Choose(m_groupBox, -1);
    m_groupBox.enabled = m_filterBox.checked;
    if (m_filterBox.checked) {
        m_form.SetFocus(&m_groupBox);
    } else if (rebuild) {
        rebuild();
    }
}

void ListViewerCore::OrderBoxClick() {
    Choose(m_columnBox, -1);
    m_columnBox.enabled = m_orderBox.checked;
    if (m_orderBox.checked) {
        m_form.SetFocus(&m_columnBox);
    } else if (rebuild) {
        rebuild();
    }
}

void ListViewerCore::First() {
    m_list.itemIndex = m_list.items.empty() ? -1 : 0;
}

void ListViewerCore::Last() {
    m_list.itemIndex = static_cast<int>(m_list.items.size()) - 1;
}

void ListViewerCore::Back() {
    const int count = static_cast<int>(m_list.items.size());
    if (count == 0) {
        return;
    }
    m_list.itemIndex = std::max(0, std::max(m_list.itemIndex, 0) - count / 4);
}

void ListViewerCore::Forward() {
    const int count = static_cast<int>(m_list.items.size());
    if (count == 0) {
        return;
    }
    m_list.itemIndex = std::min(count - 1, std::max(m_list.itemIndex, 0) + count / 4);
}

void ListViewerCore::ResetFilters() {
    m_filterBox.checked = false;
    m_groupBox.enabled = false;
    Choose(m_groupBox, -1);
    m_orderBox.checked = false;
    m_columnBox.enabled = false;
    Choose(m_columnBox, -1);
}

void ListViewerCore::RestoreState(const IniFile& ini, const std::string& section) {
    m_filterBox.checked = ini.ReadBool(section, cfg::kAtiFil, false);
    m_groupBox.enabled = m_filterBox.checked;
    Choose(m_groupBox, IndexOfName(m_groupBox, ReadPaddedName(ini, section, cfg::kGruFil)));
    m_orderBox.checked = ini.ReadBool(section, cfg::kAtiOrd, false);
    m_columnBox.enabled = m_orderBox.checked;
    Choose(m_columnBox, IndexOfName(m_columnBox, ReadPaddedName(ini, section, cfg::kCamOrd)));
    rememberedPosition = ini.ReadInteger(section, cfg::kPosFilOrd, 0);
}

void ListViewerCore::SaveFilterAndOrder(IniFile& ini, const std::string& section) const {
    ini.WriteBool(section, cfg::kAtiFil, m_filterBox.checked);
    WritePaddedName(ini, section, cfg::kGruFil, m_groupBox.SelectedText());
    ini.WriteBool(section, cfg::kAtiOrd, m_orderBox.checked);
    WritePaddedName(ini, section, cfg::kCamOrd, m_columnBox.SelectedText());
}

void ListViewerCore::SavePosition(IniFile& ini, const std::string& section) const {
    ini.WriteInteger(section, cfg::kPosFilOrd, SelectedRow() != nullptr ? m_list.itemIndex : -1);
}

const std::string* ListViewerCore::SelectedRow() const {
    if (m_list.itemIndex < 0 || m_list.itemIndex >= static_cast<int>(m_list.items.size())) {
        return nullptr;
    }
    return &m_list.items[static_cast<size_t>(m_list.itemIndex)];
}

int ListViewerCore::ChosenIndex(const KeyList& keys) const {
    const std::string* row = SelectedRow();
    if (row == nullptr) {
        return 0;
    }
    const FindResult found = FindKey(keys, RecordKey(*row));
    return found.found ? found.index : -1;
}

bool ToggleKeywordFilter(Form& form, const CheckBox& box, MaskEdit& words, Button& ok) {
    words.enabled = box.checked;
    ok.enabled = box.checked;
    if (box.checked) {
        form.SetFocus(&words);
        return false;
    }
    words.Clear();
    return true;
}

}  // namespace velmaro
