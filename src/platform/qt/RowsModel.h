#pragma once

// The rows of a list box or drop-down list as the views ask for them: the Windows-1252
// texts are kept as the form holds them and turned into Qt text only for the rows
// drawn, so a list of 50,000 records costs a copy, not 50,000 widget items.

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace velmaro::qt {

class RowsModel final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    // Shows these rows; false (and nothing done) when they are the rows shown already.
    bool Show(const std::vector<std::string>& rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    std::vector<std::string> m_rows;
};

}  // namespace velmaro::qt
