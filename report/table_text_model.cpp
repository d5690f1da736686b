// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "table_text_model.h"

#include <limits>
#include <utility>

namespace report {

TableTextModel::TableTextModel(QObject* parent) : QAbstractTableModel(parent) {}

void TableTextModel::setTable(TableText table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int TableTextModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int TableTextModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.headers.size());
}

QVariant TableTextModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const auto column = static_cast<std::size_t>(index.column());
    const QString& text = table_.rows[static_cast<std::size_t>(index.row())].value(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return text;
        case Qt::AccessibleTextRole:
            // A screen reader says "なし" for a cell without a figure, rather than nothing.
            return text.isEmpty() ? QStringLiteral("なし") : text;
        case Qt::TextAlignmentRole:
            return column < table_.aligns.size() ? QVariant(int(table_.aligns[column]))
                                                 : QVariant();
        case SortRole:
            // The first column keeps the table's own order, whichever way its arrow points.
            if (column == 0)
                return table_.sortOrder == Qt::DescendingOrder ? -index.row() : index.row();
            if (column < table_.numeric.size() && table_.numeric[column]) {
                bool isNumber = false;
                const double value = text.toDouble(&isNumber);
                // A missing figure (fewer than two drills: no change) sorts below every figure.
                return isNumber ? value : std::numeric_limits<double>::lowest();
            }
            return text;
        default:
            return {};
    }
}

QVariant TableTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount() &&
        (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return table_.headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace report
