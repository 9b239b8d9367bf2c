// The rows of a list of the form model, shown without copying them into widget items.
#pragma once

#include <cstdint>

#include <QAbstractListModel>

#include "app/FormModel.h"

namespace zandrel {

class PaletteListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    PaletteListModel(const ListBox& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Takes the list's rows anew when they changed since the last call; true when it did.
    bool Refresh();

  private:
    const ListBox& list_;
    std::uint64_t revision_ = 0;
    int count_ = 0; // the rows the views know of, until the next refresh
};

} // namespace zandrel
