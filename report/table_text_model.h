// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A table of the report (the class table, a learner's problems or drills) in a view: the
// same texts as on paper and in CSV, sorted by their figures rather than their texts.

#include <QAbstractTableModel>

#include "tables.h"

namespace report {

class TableTextModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // What a sorting proxy sorts by: the first column keeps the table's own order (IDs in
    // numeric order, problems hardest first), number columns their values, others their texts.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TableTextModel(QObject* parent = nullptr);

    void setTable(TableText table);
    const TableText& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TableText table_;
};

}  // namespace report
