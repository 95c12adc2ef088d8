#include "platform/qt/RowsModel.h"

#include "platform/qt/QtText.h"

namespace velmaro::qt {

bool RowsModel::Show(const std::vector<std::string>& rows) {
    if (rows == m_rows) {
        return false;
    }
    beginResetModel();
    m_rows = rows;
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
