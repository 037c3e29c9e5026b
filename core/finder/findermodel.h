#pragma once

#include "core/finder/finderlist.h"

#include <QAbstractTableModel>

// The data finder's lines as one table model: the five list columns show one model column
// each, so they share rows, selection and order.
class FinderModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setList(FinderList list, bool hints);
    const FinderList& list() const { return list_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    FinderList list_;
    bool hints_ = false;
};
