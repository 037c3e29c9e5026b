#include "core/finder/findermodel.h"

void FinderModel::setList(FinderList list, bool hints) {
    beginResetModel();
    list_ = std::move(list);
    hints_ = hints;
    endResetModel();
}

int FinderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(list_.lines().size());
}

int FinderModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant FinderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const FinderLine& line = list_.lines()[size_t(index.row())];
    if (role == Qt::DisplayRole)
        return line.cells[size_t(index.column())];
    if (role == Qt::ToolTipRole && hints_)
        return line.hint;
    return QVariant();
}
