#include "platform/qt/RowsModel.h"

#include <algorithm>

#include "platform/qt/QtText.h"

namespace velmaro::qt {

bool RowsModel::Show(const std::vector<std::string>& rows) {
    if (rows == m_rows) {
        return false;
    }
    beginResetModel();
    m_rows = rows;
    size_t longest = 0;
    for (const std::string& row : m_rows) {
        longest = std::max(longest, row.size());  // one byte a character in Windows-1252
    }
    m_longest = static_cast<int>(longest);
    endResetModel();
    return true;
}

int RowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= static_cast<int>(m_rows.size())) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return ToQt(m_rows[static_cast<size_t>(index.row())]);
    }
    return {};
}

}  // namespace velmaro::qt
