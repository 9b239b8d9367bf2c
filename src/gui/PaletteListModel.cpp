#include "PaletteListModel.h"

namespace zandrel {

PaletteListModel::PaletteListModel(const ListBox& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), revision_(list.revision),
      count_(static_cast<int>(list.rows.size())) {}

int PaletteListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

QVariant PaletteListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_ || role != Qt::DisplayRole)
        return {};
    // Row() gives empty text for a row removed since the last refresh.
    const std::string_view row = list_.Row(index.row());
    return QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size()));
}

bool PaletteListModel::Refresh() {
    if (list_.revision == revision_)
        return false;
    beginResetModel();
    revision_ = list_.revision;
    count_ = static_cast<int>(list_.rows.size());
    endResetModel();
    return true;
}

} // namespace zandrel
